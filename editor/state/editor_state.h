// EditorContext: the editor's options, its two default lists and the shared
// shell state, held once for the whole run. The program makes one and hands it
// to the code that needs it; every test makes a fresh one. There are no globals.
#pragma once

#include <string_view>

#include "default_lists.h"
#include "settings.h"
#include "shell_state.h"
#include "suffixes.h"

namespace tessvane {

struct EditorContext {
    Settings settings;
    DirectoryDefaultList directoryDefaults;
    TextureDefaultList textureDefaults;
    ShellState shell;
    // Derived from `settings`; recompute with RefreshEffectiveSuffixes after a
    // suffix selection or a specified suffix changes.
    EffectiveSuffixes suffixes;
};

// A context as the program starts: every setting at its default (the three
// directories are `programDirectory`), both lists empty, SortMode 0, the
// program and settings directories set and the settings file name
// "Tessvane.ini".
EditorContext MakeEditorContext(std::string_view programDirectory);

inline constexpr std::string_view kSettingsFileName = "Tessvane.ini";

// suffixes = ComputeEffectiveSuffixes(settings).
void RefreshEffectiveSuffixes(EditorContext& context);

}  // namespace tessvane
