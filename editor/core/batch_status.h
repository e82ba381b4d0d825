// The result of one batch file: shown in the Batch page's list, printed by the
// command line and written to Batch.Log.
#pragma once

#include <cstdint>
#include <ostream>
#include <string_view>

namespace tessvane {

enum class BatchStatus : std::uint8_t {
    Ok = 0,            // read and written
    UnableToRead = 1,  // the file failed to open
    NoPaths = 2,       // read, but no path chunk in it
    NotTddd = 3,       // not a FORM of type TDDD or ISTG
    ErrorSaving = 4,   // the target could not be written; the old target is intact
    Aborted = 5,       // the user declined to overwrite the target
    FileError = 6,     // any other failure
};

// "ok", "Unable to read", "No Tex/Brushes", "Not TDDD", "Error Saving file",
// "Aborted" or "File Error".
std::string_view BatchStatusText(BatchStatus status);

inline std::ostream& operator<<(std::ostream& os, BatchStatus status) {
    return os << BatchStatusText(status);
}

enum class ReadStatus : int;  // core/scanner.h

// The batch status of how ReadObjectFile ended: Ok, UnableToRead, NoPaths or
// NotTddd.
BatchStatus BatchStatusFromRead(ReadStatus read);

}  // namespace tessvane
