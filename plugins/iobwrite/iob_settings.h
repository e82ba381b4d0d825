// iobwrite's settings: the exporters' settings plus which Imagine versions
// must be able to read the file.
#pragma once

#include "export/export_settings.h"

namespace plugins::iobwrite {

inline constexpr ExporterIdentity kIobWriteIdentity = {
    "iobwrite", "iobwrite.log", "Imagine Object     (*.iob)|*.iob|All Files (*.*)|*.*||", "iob"};

// Which Imagine versions a written file is for. The "iob_format" setting
// holds the number of each.
enum class IobFormat : int {
    // Only the chunks every Imagine reads: a mesh with more than 65,535
    // points, edges or faces becomes several objects.
    EveryImagine = 0,
    // Such a mesh stays one object, in the 32-bit chunks PNT2, EDG2 and FAC2
    // that only Imagine for Windows reads.
    ImagineForWindows = 1,
};

// The format a stored iob_format number names; any number but 1 is
// EveryImagine.
constexpr IobFormat IobFormatFromSetting(int iob_format) {
    return iob_format == 1 ? IobFormat::ImagineForWindows : IobFormat::EveryImagine;
}

// Loads the common settings, the exporters' "Specific Settings" and
// "iob_format" (a missing value keeps EveryImagine's 0) when constructed;
// saves them when destroyed. The line delimiter and the smoothing angle are
// kept but mean nothing to a binary file without normals.
class IobExportSettings : public ExportSettings {
  public:
    IobExportSettings();
    ~IobExportSettings() override;

    int Load() override;
    int Save() override;

    int iob_format = 0;  // the number of an IobFormat: every Imagine
};

}  // namespace plugins::iobwrite
