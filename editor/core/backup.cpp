#include "core/backup.h"

#include <cstdio>

#include "core/file_system.h"

namespace tessvane {
namespace {

constexpr int kLastNumberedBackup = 998;

void LogLine(CoreContext& context, const std::string& line) {
    if (context.log != nullptr) context.log->WriteLine(line);
}

}  // namespace

std::string BackupBaseName(std::string_view path) {
    // '/' counts as a separator too: a dot in a directory name of a host path
    // is not an extension.
    const std::size_t nameStart = [&] {
        const std::size_t sep = path.find_last_of("\\:/");
        return sep == std::string_view::npos ? 0 : sep + 1;
    }();
    const std::size_t dot = path.rfind('.');
    const std::string_view stem =
        dot != std::string_view::npos && dot >= nameStart ? path.substr(0, dot) : path;
    return std::string(stem) + ".bak";
}

BackupOutcome BackupObjectFile(CoreContext& context, std::string_view path, bool interactive) {
    BackupOutcome outcome;
    if (!FileExists(path)) return outcome;

    const std::string base = BackupBaseName(path);
    auto tryName = [&](const std::string& name) {
        if (EqualUpper(name, path) || !RenameIfAbsent(path, name)) return false;
        outcome.result = BackupResult::BackedUp;
        outcome.backupName = name;
        LogLine(context, "Existing Object File renamed as..." + name);
        return true;
    };
    if (tryName(base)) return outcome;
    const std::string stem = base.substr(0, base.size() - 3);  // keeps the '.'
    for (int i = 0; i <= kLastNumberedBackup; ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%03d", i);
        if (tryName(stem + digits)) return outcome;
    }

    if (interactive) {
        const bool overwrite = AskYesNo(context.ui, context.editor.shell.CurrentFileName.str() +
                                                        " cannot be backed up. Overwrite anyway ?");
        outcome.result = overwrite ? BackupResult::ProceedWithoutBackup : BackupResult::Declined;
    } else {
        LogLine(context, "No backup made for " + std::string(path));
        outcome.result = BackupResult::ProceedWithoutBackup;
    }
    return outcome;
}

}  // namespace tessvane
