#include "framework/plugin_settings.h"

#include "framework/settings_store.h"

namespace plugins {

PluginSettings::PluginSettings(const char* subkey_text, const char* defaultLogFile)
    : subkey(subkey_text != nullptr ? subkey_text : ""),
      logfilename(defaultLogFile != nullptr ? defaultLogFile : "") {
    // Only this class's part exists yet, so this loads "Common Settings" only.
    PluginSettings::Load();
}

PluginSettings::~PluginSettings() {
    PluginSettings::Save();
}

int PluginSettings::Load() {
    const char* key = subkey.c_str();
    ReadSettingInt(key, kCommonSettings, "swap_mode", swap_mode, swap_mode);
    ReadSettingInt(key, kCommonSettings, "verbose_mode", verbose_mode, verbose_mode);
    ReadSettingInt(key, kCommonSettings, "unify_mode", unify_mode, unify_mode);
    ReadSettingInt(key, kCommonSettings, "ld_mode", ld_mode, ld_mode);
    ReadSettingDouble(key, kCommonSettings, "size_value", size_value, size_value);
    std::string logfile;
    ReadSettingText(key, kCommonSettings, "logfilename", logfilename.c_str(), logfile,
                    kMaxLogFileName);
    logfilename = std::move(logfile);
    return 1;
}

int PluginSettings::Save() {
    const char* key = subkey.c_str();
    int ok = 1;
    ok &= WriteSettingInt(key, kCommonSettings, "verbose_mode", verbose_mode);
    ok &= WriteSettingInt(key, kCommonSettings, "swap_mode", swap_mode);
    ok &= WriteSettingInt(key, kCommonSettings, "unify_mode", unify_mode);
    ok &= WriteSettingInt(key, kCommonSettings, "ld_mode", ld_mode);
    ok &= WriteSettingDouble(key, kCommonSettings, "size_value", size_value);
    ok &= WriteSettingText(key, kCommonSettings, "logfilename", logfilename.c_str());
    return ok;
}

void PluginSettings::SetCommon(int verbose, int swap, int unify, int ld, double size,
                               const char* logfile) {
    verbose_mode = verbose;
    swap_mode = swap;
    unify_mode = unify;
    ld_mode = ld;
    size_value = size;
    logfilename = logfile != nullptr ? logfile : "";
}

void PluginSettings::GetCommon(int& verbose, int& swap, int& unify, int& ld, double& size,
                               std::string& logfile) const {
    verbose = verbose_mode;
    swap = swap_mode;
    unify = unify_mode;
    ld = ld_mode;
    size = size_value;
    logfile = logfilename;
}

}  // namespace plugins
