#include "framework/plugin_strings.h"

namespace plugins {

const char* LoadPluginString(const PluginStrings& strings, int id) {
    switch (id) {
        case kStringHelpText:
            return strings.helpText;
        case kStringShortName:
            return strings.shortName;
        case kStringConfiguration:
            return "Configuration";
        case kStringHelp:
            return "Help";
        case kStringAction:
            return strings.action;
        case kStringProgress:
            return "Progress";
        case kStringImport:
            return "Import";
        default:
            return nullptr;
    }
}

std::string DialogCaption(const PluginStrings& strings, int id) {
    const char* name = LoadPluginString(strings, kStringShortName);
    const char* word = LoadPluginString(strings, id);
    std::string caption = name != nullptr ? name : "";
    caption += ' ';
    caption += word != nullptr ? word : "";
    return caption;
}

}  // namespace plugins
