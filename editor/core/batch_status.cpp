#include "core/batch_status.h"

#include "core/scanner.h"

namespace tessvane {

std::string_view BatchStatusText(BatchStatus status) {
    switch (status) {
        case BatchStatus::Ok:
            return "ok";
        case BatchStatus::UnableToRead:
            return "Unable to read";
        case BatchStatus::NoPaths:
            return "No Tex/Brushes";
        case BatchStatus::NotTddd:
            return "Not TDDD";
        case BatchStatus::ErrorSaving:
            return "Error Saving file";
        case BatchStatus::Aborted:
            return "Aborted";
        case BatchStatus::FileError:
            break;
    }
    return "File Error";
}

BatchStatus BatchStatusFromRead(ReadStatus read) {
    switch (read) {
        case ReadStatus::Ok:
            return BatchStatus::Ok;
        case ReadStatus::OpenFailed:
            return BatchStatus::UnableToRead;
        case ReadStatus::NoPaths:
            return BatchStatus::NoPaths;
        case ReadStatus::NotTddd:
            return BatchStatus::NotTddd;
    }
    return BatchStatus::FileError;
}

}  // namespace tessvane
