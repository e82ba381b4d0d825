#include "core/batch_status.h"

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

BatchStatus BatchStatusFromRead(int readStatus) {
    switch (readStatus) {
        case 0:
            return BatchStatus::Ok;
        case 1:
            return BatchStatus::UnableToRead;
        case 2:
            return BatchStatus::NoPaths;
        case 3:
            return BatchStatus::NotTddd;
        default:
            return BatchStatus::FileError;
    }
}

}  // namespace tessvane
