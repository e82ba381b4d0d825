// The settings every exporter shares (objwrite, glwrite, and iobwrite under
// its own).
#pragma once

#include <cstdint>
#include <string>

#include "framework/plugin_settings.h"

namespace plugins {

// What tells the exporters' settings apart.
struct ExporterIdentity {
    const char* subkey;            // the plug-in's key in the settings store
    const char* defaultLogFile;    // log file name until one is stored
    const char* filter;            // filter text of the save-file dialog
    const char* defaultExtension;  // appended by the save-file dialog
};

inline constexpr ExporterIdentity kObjWriteIdentity = {
    "objwrite", "objwrite.log", "WaveFront File     (*.obj)|*.obj|All Files (*.*)|*.*||", "obj"};
inline constexpr ExporterIdentity kGlWriteIdentity = {
    "glwrite", "glwrite.log", "OpenGL Source File     (*.c)|*.c|All Files (*.*)|*.*||", "c"};

// The common settings plus the exporters' "Specific Settings": the directory
// and file of the last export and the smoothing angle. Like every settings
// object it loads when constructed and saves when destroyed (also after a
// cancelled dialog). unify_mode is kept and saved but never applied.
class ExportSettings : public PluginSettings {
  public:
    // Longest path and file name read back from the store.
    static constexpr std::size_t kMaxPathText = 259;

    // Loads "Common Settings", then "Specific Settings".
    explicit ExportSettings(const ExporterIdentity& identity);
    // Saves "Specific Settings", then (in the base) "Common Settings".
    ~ExportSettings() override;

    int Load() override;
    int Save() override;

    void SetFileName(const char* text) { file_name = text != nullptr ? text : ""; }
    void SetPath(const char* text) { path = text != nullptr ? text : ""; }

    // The values the configuration dialog edits. The modes travel as 16-bit
    // values, as the dialog holds them.
    void SetOptions(std::int16_t verbose, std::int16_t swap, std::int16_t unify, std::int16_t ld,
                    double size, const char* logfile, double smooth);
    void GetOptions(std::int16_t& verbose, std::int16_t& swap, std::int16_t& unify,
                    std::int16_t& ld, double& size, std::string& logfile, double& smooth) const;

    std::string path;              // directory of the last export; the dialog starts there
    std::string file_name;         // output file; after the dialog its full path
    const char* filter;            // not stored
    std::string defaultExtension;  // not stored
    double smooth_angle = 70.0;    // degrees
};

}  // namespace plugins
