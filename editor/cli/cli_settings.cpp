#include "cli_settings.h"

namespace tessvane::cli {

bool LoadSettingsFile(EditorContext&, const std::string& path, std::string& error) {
    error = "unable to load settings from " + path + ": settings files are not supported yet";
    return false;
}

}  // namespace tessvane::cli
