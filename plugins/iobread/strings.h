// The importer's string table: its help text, short name "IOB" and action
// word "Import"; the words shared by all plug-ins come with the framework.
#pragma once

#include "framework/plugin_strings.h"

namespace iobread {

const PluginStrings& IobReadStrings();

}  // namespace iobread
