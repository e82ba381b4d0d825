#include "fault_injection.h"

#include <dlfcn.h>
#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace crashtest {
namespace {

bool g_armed = false;
Fault g_fault = Fault::None;
long g_step = 0;
long g_count = 0;

template <typename F>
F Next(const char* name) {
    void* symbol = ::dlsym(RTLD_NEXT, name);
    if (symbol == nullptr) {
        std::fprintf(stderr, "fault injection: no %s\n", name);
        std::abort();
    }
    return reinterpret_cast<F>(symbol);
}

using WriteFn = ssize_t (*)(int, const void*, size_t);
using FsyncFn = int (*)(int);
using PathFn = int (*)(const char*);
using TwoPathFn = int (*)(const char*, const char*);

WriteFn RealWrite() {
    static const WriteFn fn = Next<WriteFn>("write");
    return fn;
}

// What the call numbered now must do.
enum class Action { Pass, Kill, Fail };

Action Count(bool canFail) {
    if (!g_armed) return Action::Pass;
    ++g_count;
    if (g_fault == Fault::Kill && g_count == g_step) return Action::Kill;
    if (g_fault == Fault::NoSpace && g_count >= g_step && canFail) return Action::Fail;
    return Action::Pass;
}

[[noreturn]] void Die() {
    ::kill(::getpid(), SIGKILL);
    std::abort();
}

}  // namespace

void Arm(Fault fault, long step) {
    g_fault = fault;
    g_step = step;
    g_count = 0;
    g_armed = true;
}

long Disarm() {
    g_armed = false;
    return g_count;
}

}  // namespace crashtest

using namespace crashtest;

extern "C" ssize_t write(int fd, const void* buffer, size_t count) {
    if (fd <= 2) return RealWrite()(fd, buffer, count);
    switch (Count(true)) {
        case Action::Kill:
            if (count > 1) RealWrite()(fd, buffer, count / 2);
            Die();
        case Action::Fail:
            errno = ENOSPC;
            return -1;
        case Action::Pass:
            break;
    }
    return RealWrite()(fd, buffer, count);
}

extern "C" int fsync(int fd) {
    static const FsyncFn real = Next<FsyncFn>("fsync");
    switch (Count(true)) {
        case Action::Kill:
            Die();
        case Action::Fail:
            errno = ENOSPC;
            return -1;
        case Action::Pass:
            break;
    }
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) {
    static const TwoPathFn real = Next<TwoPathFn>("rename");
    if (Count(false) == Action::Kill) Die();
    return real(from, to);
}

extern "C" int link(const char* from, const char* to) {
    static const TwoPathFn real = Next<TwoPathFn>("link");
    if (Count(false) == Action::Kill) Die();
    return real(from, to);
}

extern "C" int unlink(const char* path) {
    static const PathFn real = Next<PathFn>("unlink");
    if (Count(false) == Action::Kill) Die();
    return real(path);
}
