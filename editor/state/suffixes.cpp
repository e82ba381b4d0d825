#include "suffixes.h"

namespace tessvane {

EffectiveSuffixes ComputeEffectiveSuffixes(const Settings& settings) {
    EffectiveSuffixes out;
    const auto tex = settings.TextureSuffixSelection;
    if (tex == kTextureSuffixAsSpecified) {
        out.Texture = settings.TextureSuffix;
    } else if (tex >= 2 && tex < kTextureSuffixWords.size()) {
        out.Texture = kTextureSuffixWords[tex];
    }
    const auto brush = settings.BrushSuffixSelection;
    if (brush == kBrushSuffixAsSpecified) {
        out.Brush = settings.BrushSuffix;
    } else if (brush >= 2 && brush < kBrushSuffixWords.size()) {
        out.Brush = kBrushSuffixWords[brush];
    }
    return out;
}

}  // namespace tessvane
