#include "export/export_settings.h"

#include "framework/settings_store.h"

namespace plugins {

ExportSettings::ExportSettings(const ExporterIdentity& identity)
    : PluginSettings(identity.subkey, identity.defaultLogFile),
      filter(identity.filter),
      defaultExtension(identity.defaultExtension) {
    ExportSettings::Load();
}

ExportSettings::~ExportSettings() {
    ExportSettings::Save();
}

int ExportSettings::Load() {
    const char* key = subkey.c_str();
    ReadSettingText(key, kSpecificSettings, "path", nullptr, path, kMaxPathText);
    ReadSettingText(key, kSpecificSettings, "file_name", nullptr, file_name, kMaxPathText);
    ReadSettingDouble(key, kSpecificSettings, "smooth_angle", smooth_angle, smooth_angle);
    return 1;
}

int ExportSettings::Save() {
    const char* key = subkey.c_str();
    int ok = 1;
    ok &= WriteSettingText(key, kSpecificSettings, "path", path.c_str());
    ok &= WriteSettingText(key, kSpecificSettings, "file_name", file_name.c_str());
    ok &= WriteSettingDouble(key, kSpecificSettings, "smooth_angle", smooth_angle);
    return ok;
}

void ExportSettings::SetOptions(std::int16_t verbose, std::int16_t swap, std::int16_t unify,
                                std::int16_t ld, double size, const char* logfile, double smooth) {
    SetCommon(verbose, swap, unify, ld, size, logfile);
    smooth_angle = smooth;
}

void ExportSettings::GetOptions(std::int16_t& verbose, std::int16_t& swap, std::int16_t& unify,
                                std::int16_t& ld, double& size, std::string& logfile,
                                double& smooth) const {
    int v = 0;
    int s = 0;
    int u = 0;
    int l = 0;
    GetCommon(v, s, u, l, size, logfile);
    verbose = static_cast<std::int16_t>(v);
    swap = static_cast<std::int16_t>(s);
    unify = static_cast<std::int16_t>(u);
    ld = static_cast<std::int16_t>(l);
    smooth = smooth_angle;
}

}  // namespace plugins
