#include "cli_settings.h"

#include "state/settings_file.h"

namespace tessvane::cli {

bool LoadSettingsFile(EditorContext& editor, const std::string& path, std::string& error) {
    switch (ReadSettings(editor, path)) {
        case SettingsReadStatus::Read:
            return true;
        case SettingsReadStatus::NoVaneLine:
            error = path + ": not a settings file (no [VANE] section)";
            break;
        case SettingsReadStatus::OpenFailed:
            error = path + ": " + std::string(kUnableToLoadSettings);
            break;
    }
    // Whatever was read before the failure is dropped: the run starts from the
    // defaults, like a program without a settings file.
    editor = MakeEditorContext(editor.shell.ProgramDirectory);
    return false;
}

}  // namespace tessvane::cli
