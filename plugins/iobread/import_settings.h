// iobread's settings: the common ones of every plug-in plus the directory
// and file of the last import.
#pragma once

#include <cstddef>
#include <string>

#include "framework/import_file_settings.h"

namespace plugins::iobread {

// Settings key name and default log file of the importer.
inline constexpr const char* kPluginName = "iobread";
inline constexpr const char* kDefaultLogFile = "iobread.log";

// Filter text of the open-file dialog.
inline constexpr const char* kImportFilter =
    "Imagine Object            (*.iob)|*.iob|All Files (*.*)|*.*||";

// Loads "Common Settings" and "Specific Settings" when constructed and saves
// both when destroyed, also after a cancelled dialog.
//
// Unify is on until the user turns it off: Imagine's faces are triples of
// edges, which carry no winding, so the faces of an imported object point
// every which way unless they are oriented.
class ImportSettings : public ImportFileSettings {
  public:
    ImportSettings();
};

}  // namespace plugins::iobread
