// The importer's settings: the common ones of every plug-in plus the
// directory and file of the last import and how a file is split into meshes.
#pragma once

#include <string>

#include "framework/import_file_settings.h"

namespace plugins::objread {

// Settings key name and default log file of the importer.
inline constexpr const char* kPluginName = "objread";
inline constexpr const char* kDefaultLogFile = "objread.log";

// Filter text of the open-file dialog (the blanks line the columns up in
// the dialog's list).
inline constexpr const char* kImportFilter =
    "WaveFront File            (*.obj)|*.obj|All Files (*.*)|*.*||";

// Loads "Common Settings" and "Specific Settings" when constructed and saves
// both (Specific first) when destroyed, also after a cancelled dialog.
class ImportSettings : public ImportFileSettings {
  public:
    ImportSettings();
    ~ImportSettings() override;

    // Reads obj_mode of "Specific Settings" (a missing value keeps the
    // current one); the base reads path and file_name.
    int Load() override;
    // Writes obj_mode; the base writes path and file_name.
    int Save() override;

    // Takes the values of a confirmed configuration form. ld_mode becomes 0:
    // the importer writes no text files.
    void SetOptions(int verbose, int swap, int unify, double size, const char* logfile,
                    int objMode);
    void GetOptions(int& verbose, int& swap, int& unify, double& size, std::string& logfile,
                    int& objMode) const;

    int obj_mode = 1;  // the number of a SplitMode (obj_reader.h); split by object
};

}  // namespace plugins::objread
