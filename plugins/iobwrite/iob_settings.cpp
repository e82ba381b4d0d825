#include "iobwrite/iob_settings.h"

#include "framework/settings_store.h"

namespace plugins::iobwrite {

IobExportSettings::IobExportSettings() : ExportSettings(kIobWriteIdentity) {
    IobExportSettings::Load();
}

IobExportSettings::~IobExportSettings() {
    IobExportSettings::Save();
}

int IobExportSettings::Load() {
    ReadSettingInt(subkey.c_str(), kSpecificSettings, "iob_format", iob_format, iob_format);
    return 1;
}

int IobExportSettings::Save() {
    return WriteSettingInt(subkey.c_str(), kSpecificSettings, "iob_format", iob_format);
}

}  // namespace plugins::iobwrite
