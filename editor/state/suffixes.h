// The effective texture and brush suffixes: what the suffix selections of the
// settings currently mean. Kept beside the settings because reading a settings
// file recomputes them.
#pragma once

#include "counted_text.h"
#include "settings.h"

namespace tessvane {

// Written without the dot; empty means "leave the extension alone".
struct EffectiveSuffixes {
    SuffixText Texture;
    SuffixText Brush;
};

// Texture: 0 empty, 1 Texture Suffix, 2 "dll", 3 "itx". Brush: 0 empty,
// 1 Brush Suffix, 2..12 the words of kBrushSuffixWords. A selection outside its
// range (from a hand-edited file or a caller's mistake) gives the empty suffix.
EffectiveSuffixes ComputeEffectiveSuffixes(const Settings& settings);

}  // namespace tessvane
