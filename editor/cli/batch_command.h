// tessvane-cli batch: the Batch page's run without the window.
#pragma once

#include <ostream>

#include "cli_options.h"
#include "core/core_context.h"

namespace tessvane::cli {

// Puts the command line's options on top of the settings in `context` (those
// of the settings file, or the defaults): lists given with --map-dir and
// --map-texture are matched before the file's entries, and each option turns
// on the Batch page box it stands for. Nothing is ever prompted for; without a
// settings file and without --backup or --overwrite an existing target is
// left alone ("Aborted"). The entries' texts are encoded with the settings'
// character set. Returns false with `error` set when a text cannot be
// encoded or the lists cannot take the entries.
bool ApplyBatchOptions(const BatchOptions& options, CoreContext& context, std::string& error);

// Runs the batch over options.files. One line FILE......status per file on
// `out` (in a dry run preceded by the file's change lines, with --relink by
// its relink lines); messages on `err`, and progress there too when
// `progress` is set. Returns the exit code: 0 when every file is ok, 1
// otherwise, 2 when the settings file cannot be read or an argument cannot
// be encoded.
int RunBatchCommand(const BatchOptions& options, std::ostream& out, std::ostream& err,
                    bool progress);

}  // namespace tessvane::cli
