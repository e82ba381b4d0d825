// The importer's string table: its help text, short name "IOB" and action
// word "Import"; the words shared by all plug-ins come with the framework.
#pragma once

#include "framework/plugin_strings.h"

namespace plugins::iobread {

const PluginStrings& IobReadStrings();

}  // namespace plugins::iobread
