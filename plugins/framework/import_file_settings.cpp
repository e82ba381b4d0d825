#include "framework/import_file_settings.h"

#include "framework/settings_store.h"

namespace plugins {

ImportFileSettings::ImportFileSettings(const char* subkey_text, const char* defaultLogFile,
                                       const char* filter_text)
    : PluginSettings(subkey_text, defaultLogFile), filter(filter_text) {
    ImportFileSettings::Load();
}

ImportFileSettings::~ImportFileSettings() {
    ImportFileSettings::Save();
}

int ImportFileSettings::Load() {
    ReadSettingText(subkey.c_str(), kSpecificSettings, "path", "", path, kMaxPathText);
    ReadSettingText(subkey.c_str(), kSpecificSettings, "file_name", "", file_name, kMaxPathText);
    return 1;
}

int ImportFileSettings::Save() {
    int ok = WriteSettingText(subkey.c_str(), kSpecificSettings, "path", path.c_str());
    ok &= WriteSettingText(subkey.c_str(), kSpecificSettings, "file_name", file_name.c_str());
    return ok;
}

}  // namespace plugins
