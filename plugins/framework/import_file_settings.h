// The settings every importer keeps: the common ones of every plug-in plus
// the directory and the file of the last import, in "Specific Settings".
#pragma once

#include <cstddef>
#include <string>

#include "framework/plugin_settings.h"

namespace plugins {

// Loads "Common Settings" and "path" and "file_name" of "Specific Settings"
// when constructed (missing values give empty texts); saves them when
// destroyed, after what a derived importer's settings save of their own.
class ImportFileSettings : public PluginSettings {
  public:
    // Longest path and file name read back from the store.
    static constexpr std::size_t kMaxPathText = 259;

    // subkey and defaultLogFile as for PluginSettings; filter is the open
    // dialog's filter text, a static text that is not stored.
    ImportFileSettings(const char* subkey, const char* defaultLogFile, const char* filter);
    ~ImportFileSettings() override;

    int Load() override;
    int Save() override;

    void SetFileName(const char* text) { file_name = text != nullptr ? text : ""; }
    void SetPath(const char* text) { path = text != nullptr ? text : ""; }

    std::string path;       // directory of the last import
    std::string file_name;  // the file to import (full path after the dialog)
    const char* filter;
};

}  // namespace plugins
