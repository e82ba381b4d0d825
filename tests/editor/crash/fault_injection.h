// Fault injection at the file-system calls that change files: write, fsync,
// rename, link and unlink. Linked into a helper program, these definitions
// stand in for the C library's (which they call), so every save path of the
// program goes through them unchanged.
//
// Once armed, the calls are counted from 1. At the chosen step
//  - Kill: the process is killed with SIGKILL before the call; a write of
//    more than one byte first writes half of its bytes, as a kernel may have
//    done when the power went;
//  - NoSpace: that call and every later write and fsync fail with ENOSPC, as
//    on a disk that has just filled up (a write that starts before the disk
//    is full is not affected).
// Calls on standard input, output and error are never counted.
#pragma once

namespace crashtest {

enum class Fault { None, Kill, NoSpace };

// Starts counting; `step` 0 counts without a fault.
void Arm(Fault fault, long step);
// Stops counting and injecting; returns the number of calls counted.
long Disarm();

}  // namespace crashtest
