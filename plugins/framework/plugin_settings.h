// The settings every plug-in shares, kept in the "Common Settings" section
// of its key in the settings store.
#pragma once

#include <cstddef>
#include <string>

namespace plugins {

// A settings object lives for one plug-in operation: it loads its sections
// from the store when it is constructed and saves them when it is destroyed
// (also when the user cancelled), so nothing is cached between operations.
//
// Derived settings (the importer's and the exporters') override Load and Save
// for their "Specific Settings" section, load it in their constructor and
// save it in their destructor; the base then saves "Common Settings". A
// derived object therefore writes "Specific Settings" first, then "Common
// Settings".
class PluginSettings {
  public:
    // Longest log file name that is read back from the store.
    static constexpr std::size_t kMaxLogFileName = 259;

    // subkey names the plug-in's key ("objread"); defaultLogFile is the log
    // file name used until one is stored ("objread.log"). Loads "Common
    // Settings".
    PluginSettings(const char* subkey, const char* defaultLogFile);
    // Saves "Common Settings".
    virtual ~PluginSettings();

    PluginSettings(const PluginSettings&) = delete;
    PluginSettings& operator=(const PluginSettings&) = delete;

    // Reads "Common Settings"; missing values keep the current ones (the
    // defaults after construction). Returns 1.
    virtual int Load();
    // Writes "Common Settings". Returns 1 when every value was stored, 0
    // when the store could not be written.
    virtual int Save();

    void SetCommon(int verbose, int swap, int unify, int ld, double size, const char* logfile);
    void GetCommon(int& verbose, int& swap, int& unify, int& ld, double& size,
                   std::string& logfile) const;

    std::string subkey;
    int verbose_mode = 0;  // 1 = write a log file
    int swap_mode = 0;     // 0 none, 1 x<->y, 2 x<->z, 3 y<->z
    int unify_mode = 0;    // 1 = make face orientation consistent
    int ld_mode = 0;       // line end of written text: 0 CR LF, 1 LF, 2 CR
    double size_value = 1.0;
    std::string logfilename;
};

}  // namespace plugins
