// tessvane-cli check: which files the paths of the object files name are
// found here through the volume map, which are missing, and where the
// missing ones may have gone.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "cli_options.h"
#include "core/core_context.h"
#include "core/file_search.h"
#include "core/missing_files.h"

namespace tessvane::cli {

// Prints one line per path of every readable file to `out` in the chosen
// format, and FILE......status to `err` for each file that cannot be read.
// The searched trees are read once, and only when a path is not found; with
// `progress` (standard error is a terminal) each tree is announced there.
// Returns the exit code: 0 when every path was found, 1 when one is missing
// or not mappable or a file cannot be read, 2 for bad usage (a settings file
// that cannot be read, a --volume name the character set cannot hold, a
// --volume or --search directory that is none).
int RunCheckCommand(const CheckOptions& options, std::ostream& out, std::ostream& err,
                    bool progress);

// The index of the trees a search looks in: the mapped volumes of `settings`
// and `searchDirs`, each announced on `err` first when `progress` is set.
FileIndex BuildSearchIndex(const Settings& settings, const std::vector<std::string>& searchDirs,
                           std::ostream& err, bool progress);

// Why a path is not mappable, to follow the path in a line:
// "volume not mapped: DH1:", "relative, and no Imagine Directory"; empty for
// a path that was found or is missing.
std::string UnmappableReason(const ResolvedPath& resolved);

// The status word of a path: "found", "missing", "not mappable".
std::string_view LinkStatusWord(LinkStatus status);

}  // namespace tessvane::cli
