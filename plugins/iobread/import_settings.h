// iobread's settings: the common ones of every plug-in plus the directory
// and file of the last import.
#pragma once

#include <cstddef>
#include <string>

#include "framework/plugin_settings.h"

namespace iobread {

// Settings key name and default log file of the importer.
inline constexpr const char* kPluginName = "iobread";
inline constexpr const char* kDefaultLogFile = "iobread.log";

// Filter text of the open-file dialog.
inline constexpr const char* kImportFilter =
    "Imagine Object            (*.iob)|*.iob|All Files (*.*)|*.*||";

// Longest path and file name read back from the store.
inline constexpr std::size_t kMaxPathText = 259;

// Loads "Common Settings" and "Specific Settings" when constructed and saves
// both (Specific first) when destroyed, also after a cancelled dialog.
//
// Unify is on until the user turns it off: Imagine's faces are triples of
// edges, which carry no winding, so the faces of an imported object point
// every which way unless they are oriented.
class ImportSettings : public PluginSettings {
  public:
    ImportSettings();
    ~ImportSettings() override;

    // Reads "Specific Settings": path and file_name (missing values give
    // empty texts).
    int Load() override;
    // Writes "Specific Settings".
    int Save() override;

    void SetFileName(const char* text) { file_name = text != nullptr ? text : ""; }
    void SetPath(const char* text) { path = text != nullptr ? text : ""; }

    std::string path;       // directory of the last import
    std::string file_name;  // the file to import (full path after the dialog)
    const char* filter = kImportFilter;
};

}  // namespace iobread
