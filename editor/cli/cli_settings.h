// Reading the settings file named by --settings.
#pragma once

#include <string>

#include "state/editor_state.h"

namespace tessvane::cli {

// Reads the settings file at `path` into `editor` (settings and both lists).
// Returns false with `error` set when the file cannot be read or holds no
// "[VANE]" section; `editor` then keeps its defaults.
bool LoadSettingsFile(EditorContext& editor, const std::string& path, std::string& error);

}  // namespace tessvane::cli
