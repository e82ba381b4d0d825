// One import: read the Imagine object file, build a mesh per custom object,
// post-process every mesh and hand the meshes over in compact form.
#pragma once

#include "framework/contract.h"

namespace plugins {
struct ProgressCallbacks;
}  // namespace plugins

namespace plugins::iobread {

class ImportSettings;

// Title of the importer in the log's banner line.
inline constexpr const char* kImportTitle = "Imagine Import Plugin 1.0";

// Imports settings.file_name into result: one mesh per custom object with
// faces, in file order, named after the object (a repeated name gets _2,
// _3, ...; an object without a name is "unnamed"). Status lines go to
// callbacks (may be null) and, when verbose_mode is 1, to the log file named
// by the settings, which also lists what was skipped.
//
// Returns false, leaving result empty, when the file cannot be opened or is
// not an intact Imagine object; the reason is logged and reported on
// standard error, naming the file. Returns true when the file was read.
bool ImportRun(ObjectList& result, const ImportSettings& settings,
               const ProgressCallbacks* callbacks);

// The body of ImportRun; log receives what the run logs.
bool ReadIobFile(ObjectList& result, const ImportSettings& settings,
                 const ProgressCallbacks* callbacks, LogFile& log);

}  // namespace plugins::iobread
