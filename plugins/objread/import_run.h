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
// Returns true when the file was read and gave meshes (or was empty).
// Otherwise result stays empty, the reason is logged and reported on the
// terminal, and the result is false: a file that cannot be opened ("File
// <name> not found"), a read error, a line longer than kMaxObjLine or a
// vertex that is not finite (each naming the line), or a file that is not
// empty but gives no mesh ("no meshes found in <name>").
bool ImportRun(ObjectList& result, const ImportSettings& settings,
               const ProgressCallbacks* callbacks);

// The body of ImportRun; log receives what the run logs.
bool ReadObjFile(ObjectList& result, const ImportSettings& settings,
                 const ProgressCallbacks* callbacks, LogFile& log);

}  // namespace plugins::objread
