#include "export/export_operations.h"

#include <string>

#include "entry/current_directory.h"
#include "entry/operations.h"
#include "export/export_run.h"
#include "framework/config_dialog.h"
#include "framework/file_dialog.h"
#include "framework/terminal_ui.h"

namespace plugins {

void RunExportOperation(ObjectList* objects, const ExporterIdentity& identity,
                        const PluginStrings& strings, ExportWriter& writer) {
    ExportSettings settings(identity);
    RunExportOperation(objects, settings, strings, writer);
}

void RunExportOperation(ObjectList* objects, ExportSettings& settings, const PluginStrings& strings,
                        ExportWriter& writer) {
    entry::CurrentDirectoryGuard directory;
    FileDialog dialog(false, settings.defaultExtension.c_str(), settings.file_name.c_str(),
                      kOfnHideReadOnly | kOfnOverwritePrompt, settings.filter);
    dialog.initialDir = settings.path;
    if (dialog.DoModal() != kIdOk) {
        return;
    }
    settings.SetFileName(dialog.GetPathName().c_str());
    settings.SetPath(entry::CurrentDirectory().c_str());

    ObjectList none;
    int written = 0;
    {
        entry::ProgressSession progress(strings, false);
        written = ExportRun(objects != nullptr ? objects : &none, &settings, progress.Callbacks(),
                            writer);
    }
    // The run itself stays silent about a file it could not write (the
    // host is not told either), so the person is told here, once the
    // progress display is gone.
    if (written == 0) {
        const std::string text = "Unable to write " + settings.file_name;
        ShowMessageBox(CurrentTerminal(), text.c_str(),
                       DialogCaption(strings, PluginStringId::Action).c_str());
    }
}

void RunExportConfigure(const ExporterIdentity& identity, const PluginStrings& strings) {
    ExportSettings settings(identity);
    ConfigMembers members;
    settings.GetOptions(members.verbose, members.swap, members.unify, members.ld_mode,
                        members.size_value, members.logfilename, members.smooth_angle);
    // The form ends before the settings object, whose end saves them.
    ConfigDialog form(DialogCaption(strings, PluginStringId::Configuration));
    AddExportFields(form, members);
    if (form.DoModal() == kIdOk) {
        settings.SetOptions(members.verbose, members.swap, members.unify, members.ld_mode,
                            members.size_value, members.logfilename.c_str(), members.smooth_angle);
    }
}

}  // namespace plugins
