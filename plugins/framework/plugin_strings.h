// The string table of a plug-in: its help text, short name and action word,
// with the words all plug-ins share. Window captions are built from it as
// the short name, one blank and a word ("WAV Configuration").
#pragma once

#include <string>

namespace plugins {

// The numbers of the plug-ins' strings.
enum class PluginStringId : int {
    HelpText = 1,
    ShortName = 2,      // "WAV", "OGL"
    Configuration = 3,  // "Configuration"
    Help = 4,           // "Help"
    Action = 5,         // "Import", "Export"
    Progress = 103,     // "Progress"
    Import = 105,       // "Import"
};

// What each plug-in supplies; the shared words are fixed.
struct PluginStrings {
    const char* helpText;
    const char* shortName;
    const char* action;
};

// The string with the given id, or null for an id the table lacks.
const char* LoadPluginString(const PluginStrings& strings, PluginStringId id);

// short name + " " + string id, e.g. DialogCaption(s, PluginStringId::Help) is
// "WAV Help".
std::string DialogCaption(const PluginStrings& strings, PluginStringId id);

}  // namespace plugins
