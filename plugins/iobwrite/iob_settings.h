// iobwrite's settings: the exporters' settings plus which Imagine versions
// must be able to read the file.
#pragma once

#include "export/export_settings.h"

namespace plugins::iobwrite {

inline constexpr ExporterIdentity kIobWriteIdentity = {
    "iobwrite", "iobwrite.log", "Imagine Object     (*.iob)|*.iob|All Files (*.*)|*.*||", "iob"};

// Values of "iob_format".
enum IobFormat {
    // Only the chunks every Imagine reads: a mesh with more than 65,535
    // points, edges or faces becomes several objects.
    kEveryImagine = 0,
    // Such a mesh stays one object, in the 32-bit chunks PNT2, EDG2 and FAC2
    // that only Imagine for Windows reads.
    kImagineForWindows = 1,
};

// Loads the common settings, the exporters' "Specific Settings" and
// "iob_format" (a missing value keeps kEveryImagine) when constructed;
// saves them when destroyed. The line delimiter and the smoothing angle are
// kept but mean nothing to a binary file without normals.
class IobExportSettings : public ExportSettings {
  public:
    IobExportSettings();
    ~IobExportSettings() override;

    int Load() override;
    int Save() override;

    int iob_format = kEveryImagine;
};

}  // namespace plugins::iobwrite
