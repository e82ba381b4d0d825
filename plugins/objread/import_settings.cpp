#include "objread/import_settings.h"

#include <cstdint>

#include "framework/settings_store.h"

namespace plugins::objread {

ImportSettings::ImportSettings() : ImportFileSettings(kPluginName, kDefaultLogFile, kImportFilter) {
    // The bases loaded "Common Settings", path and file_name; this object's
    // own value follows here, where the object is complete.
    ImportSettings::Load();
}

ImportSettings::~ImportSettings() {
    ImportSettings::Save();
}

int ImportSettings::Load() {
    ReadSettingInt(kPluginName, kSpecificSettings, "obj_mode", obj_mode, obj_mode);
    return 1;
}

int ImportSettings::Save() {
    return WriteSettingInt(kPluginName, kSpecificSettings, "obj_mode", obj_mode);
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

}  // namespace plugins::objread
