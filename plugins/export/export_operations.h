// The host-facing operations of the exporter objects: Export, shared by
// objwrite, glwrite and iobwrite, and Configure, shared by objwrite and
// glwrite (iobwrite's form has fields of its own).
#pragma once

#include "export/export_settings.h"
#include "export/export_writer.h"
#include "framework/plugin_strings.h"

namespace plugins {

// Export(objects): loads the settings, asks for the output file with the
// save-file dialog (starting from the stored file name and directory),
// and on OK stores the chosen path and directory and runs ExportRun with
// writer under the progress dialog. A file that could not be written is
// reported to the user ("Unable to write <file>"). The settings are saved
// in every case, also after Cancel; the caller's current directory is given
// back. A null objects list writes a file without meshes.
void RunExportOperation(ObjectList* objects, const ExporterIdentity& identity,
                        const PluginStrings& strings, ExportWriter& writer);

// As above, with a settings object the caller made (an exporter whose
// settings add values of their own): settings saves them when the caller
// ends it.
void RunExportOperation(ObjectList* objects, ExportSettings& settings, const PluginStrings& strings,
                        ExportWriter& writer);

// Configure(): the exporters' configuration form (no Unify box: unify_mode
// is carried through unchanged). OK stores the edited values; the settings
// are saved either way.
void RunExportConfigure(const ExporterIdentity& identity, const PluginStrings& strings);

}  // namespace plugins
