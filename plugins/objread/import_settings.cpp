#include "objread/import_settings.h"

#include <cstdint>

#include "framework/settings_store.h"

namespace objread {

ImportSettings::ImportSettings() : PluginSettings(kPluginName, kDefaultLogFile) {
    // The base loaded "Common Settings"; this object's own section follows
    // here, where the object is complete.
    ImportSettings::Load();
}

ImportSettings::~ImportSettings() {
    ImportSettings::Save();
}

int ImportSettings::Load() {
    ReadSettingText(kPluginName, kSpecificSettings, "path", "", path, kMaxPathText);
    ReadSettingText(kPluginName, kSpecificSettings, "file_name", "", file_name, kMaxPathText);
    ReadSettingInt(kPluginName, kSpecificSettings, "obj_mode", obj_mode, obj_mode);
    return 1;
}

int ImportSettings::Save() {
    int ok = WriteSettingText(kPluginName, kSpecificSettings, "path", path.c_str());
    ok &= WriteSettingText(kPluginName, kSpecificSettings, "file_name", file_name.c_str());
    ok &= WriteSettingInt(kPluginName, kSpecificSettings, "obj_mode", obj_mode);
    return ok;
}

void ImportSettings::SetOptions(int verbose, int swap, int unify, double size, const char* logfile,
                                int objMode) {
    // The form exchanges its values as 16-bit numbers.
    SetCommon(static_cast<std::int16_t>(verbose), static_cast<std::int16_t>(swap),
              static_cast<std::int16_t>(unify), 0, size, logfile);
    obj_mode = static_cast<std::int16_t>(objMode);
}

void ImportSettings::GetOptions(int& verbose, int& swap, int& unify, double& size,
                                std::string& logfile, int& objMode) const {
    int ld = 0;
    GetCommon(verbose, swap, unify, ld, size, logfile);
    objMode = obj_mode;
}

}  // namespace objread
