// The string table of a plug-in: its help text, short name and action word,
// with the words all plug-ins share. Window captions are built from it as
// the short name, one blank and a word ("WAV Configuration").
#pragma once

#include <string>

namespace plugins {

enum PluginStringId : int {
    kStringHelpText = 1,
    kStringShortName = 2,      // "WAV", "OGL"
    kStringConfiguration = 3,  // "Configuration"
    kStringHelp = 4,           // "Help"
    kStringAction = 5,         // "Import", "Export"
    kStringProgress = 103,     // "Progress"
    kStringImport = 105,       // "Import"
};

// What each plug-in supplies; the shared words are fixed.
struct PluginStrings {
    const char* helpText;
    const char* shortName;
    const char* action;
};

// The string with the given id, or null for an id the table lacks.
const char* LoadPluginString(const PluginStrings& strings, int id);

// short name + " " + string id, e.g. DialogCaption(s, kStringHelp) is
// "WAV Help".
std::string DialogCaption(const PluginStrings& strings, int id);

}  // namespace plugins
