// One import: open the OBJ file, let the reader build a mesh per group,
// post-process every mesh and hand the meshes over in compact form.
#pragma once

#include "framework/contract.h"

namespace plugins {
struct ProgressCallbacks;
}  // namespace plugins

namespace plugins::objread {

class ImportSettings;

// Title of the importer in the log's banner line.
inline constexpr const char* kImportTitle = "WaveFront Import Plugin 0.2";

// Imports settings.file_name into result (which keeps the order in which
// the groups first appear in the file). Status lines go to callbacks (may be
// null) and, when verbose_mode is 1, to the log file named by the settings.
// A file that cannot be opened leaves result empty; the failure is logged
// and reported on standard error, and the function returns false. Returns
// true when the file was read.
bool ImportRun(ObjectList& result, const ImportSettings& settings,
               const ProgressCallbacks* callbacks);

// The body of ImportRun; log receives what the run logs.
bool ReadObjFile(ObjectList& result, const ImportSettings& settings,
                 const ProgressCallbacks* callbacks, LogFile& log);

}  // namespace plugins::objread
