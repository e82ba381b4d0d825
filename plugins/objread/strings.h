// The importer's string table: its help text, short name "WAV" and action
// word "Import"; the words shared by all plug-ins come with the framework.
#pragma once

#include "framework/plugin_strings.h"

namespace plugins::objread {

const PluginStrings& ObjReadStrings();

}  // namespace plugins::objread
