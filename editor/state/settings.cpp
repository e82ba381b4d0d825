#include "settings.h"

namespace tessvane {

Settings DefaultSettings(std::string_view programDirectory) {
    Settings s;
    s.ImagineDirectory = programDirectory;
    s.LoadDirectory = programDirectory;
    s.SaveDirectory = programDirectory;
    return s;
}

}  // namespace tessvane
