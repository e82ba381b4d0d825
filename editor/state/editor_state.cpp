#include "editor_state.h"

namespace tessvane {

EditorContext MakeEditorContext(std::string_view programDirectory) {
    EditorContext context;
    context.settings = DefaultSettings(programDirectory);
    context.shell.ProgramDirectory = programDirectory;
    context.shell.SettingsDirectory = programDirectory;
    context.shell.SettingsFileName = kSettingsFileName;
    context.shell.CurrentFileDirectory = context.settings.LoadDirectory;
    RefreshEffectiveSuffixes(context);
    return context;
}

void RefreshEffectiveSuffixes(EditorContext& context) {
    context.suffixes = ComputeEffectiveSuffixes(context.settings);
}

}  // namespace tessvane
