// Moving an existing object file aside before it is overwritten.
#pragma once

#include <string>
#include <string_view>

#include "core/core_context.h"

namespace tessvane {

enum class BackupResult {
    BackedUp,              // the file was moved to `backupName`
    NoFile,                // nothing at the path, nothing to do
    ProceedWithoutBackup,  // no backup name was free; overwriting is allowed
    Declined,              // no backup name was free and the user said No: do not write
};

struct BackupOutcome {
    BackupResult result = BackupResult::NoFile;
    std::string backupName;  // for BackedUp
};

// Moves the file at `path` to the first free name of: the name with the
// extension ".bak", then ".000" .. ".998" (never the file's own name, never over
// an existing file). Logs "Existing Object File renamed as..." + name when a log
// is installed.
//
// When no name is free: with `interactive` the user is asked
// CurrentFileName + " cannot be backed up. Overwrite anyway ?" (Yes/No);
// without it the log gets "No backup made for " + path and writing goes ahead.
BackupOutcome BackupObjectFile(CoreContext& context, std::string_view path, bool interactive);

// The name with the extension ".bak": the extension is the part after the last
// '.' that follows the last '\', '/' or ':'; a name without one gets ".bak".
std::string BackupBaseName(std::string_view path);

}  // namespace tessvane
