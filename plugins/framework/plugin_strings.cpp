#include "framework/plugin_strings.h"

namespace plugins {

const char* LoadPluginString(const PluginStrings& strings, PluginStringId id) {
    switch (id) {
        case PluginStringId::HelpText:
            return strings.helpText;
        case PluginStringId::ShortName:
            return strings.shortName;
        case PluginStringId::Configuration:
            return "Configuration";
        case PluginStringId::Help:
            return "Help";
        case PluginStringId::Action:
            return strings.action;
        case PluginStringId::Progress:
            return "Progress";
        case PluginStringId::Import:
            return "Import";
    }
    return nullptr;
}

std::string DialogCaption(const PluginStrings& strings, PluginStringId id) {
    const char* name = LoadPluginString(strings, PluginStringId::ShortName);
    const char* word = LoadPluginString(strings, id);
    std::string caption = name != nullptr ? name : "";
    caption += ' ';
    caption += word != nullptr ? word : "";
    return caption;
}

}  // namespace plugins
