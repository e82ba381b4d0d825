#include "iobread/import_settings.h"

#include "framework/settings_store.h"

namespace iobread {

ImportSettings::ImportSettings() : PluginSettings(kPluginName, kDefaultLogFile) {
    // The base read unify_mode with its default of off; a stored value wins
    // again here, and only a missing one turns into on.
    ReadSettingInt(kPluginName, kCommonSettings, "unify_mode", 1, unify_mode);
    ImportSettings::Load();
}

ImportSettings::~ImportSettings() {
    ImportSettings::Save();
}

int ImportSettings::Load() {
    ReadSettingText(kPluginName, kSpecificSettings, "path", "", path, kMaxPathText);
    ReadSettingText(kPluginName, kSpecificSettings, "file_name", "", file_name, kMaxPathText);
    return 1;
}

int ImportSettings::Save() {
    int ok = WriteSettingText(kPluginName, kSpecificSettings, "path", path.c_str());
    ok &= WriteSettingText(kPluginName, kSpecificSettings, "file_name", file_name.c_str());
    return ok;
}

}  // namespace iobread
