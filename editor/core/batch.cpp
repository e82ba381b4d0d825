#include "core/batch.h"

#include "core/backup.h"
#include "core/batch_log.h"
#include "core/file_system.h"
#include "core/path_rules.h"
#include "core/scanner.h"
#include "core/writer.h"

namespace tessvane {
namespace {

// Installs a log in the context for the length of the run and puts back what
// was there, also when a step throws.
class ScopedLog {
  public:
    ScopedLog(CoreContext& context, LogSink* log) : context_(context), previous_(context.log) {
        context_.log = log;
    }
    ~ScopedLog() { context_.log = previous_; }
    ScopedLog(const ScopedLog&) = delete;
    ScopedLog& operator=(const ScopedLog&) = delete;

  private:
    CoreContext& context_;
    LogSink* previous_;
};

bool EndsInSeparator(std::string_view text) {
    const char last = text.back();
    return last == ':' || last == '\\' || last == '/';
}

// One file that was read: lists, suffixes, backup or question, write.
BatchStatus SaveFile(CoreContext& context, const BatchFileEntry& entry,
                     const BatchRunOptions& options) {
    const Settings& settings = context.editor.settings;
    const bool prompt = settings.PromptForNewTexturesDirectory;
    // With "Set on Load" on, the read applied the list already, without asking.
    if (settings.BatchUseDefaultDirectories && !settings.UseDefaultDirectories) {
        ApplyDirectoryDefaults(context, prompt);
    }
    if (settings.BatchUseDefaultTextures && !settings.UseDefaultTextures) {
        ApplyTextureDefaults(context, prompt);
    }
    // The "Update File Extensions" box decides whether the suffix rules run at
    // all; the selections decide what they do.
    if (settings.BatchUpdateFileSuffix && (settings.TextureSuffixSelection != kTextureSuffixAsIs ||
                                           settings.BrushSuffixSelection != kBrushSuffixAsIs)) {
        ApplySuffixes(context);
    }
    if (options.beforeSave) options.beforeSave(context, entry.Path());

    const std::string target =
        BatchTargetPath(entry, context.editor.shell.SaveInOriginalDirectory, options.saveDirectory);
    // Through a link, the file it names is saved and backed up beside itself.
    const std::string file = LinkedFile(target);
    BackupOutcome backup;
    if (FileExists(file)) {
        if (settings.CreateBackups) {
            if (!options.dryRun) {
                // Nothing is asked here: when no backup name is free the file
                // is replaced and the log says "No backup made for " + path.
                backup = BackupObjectFile(context, file, false);
            }
        } else {
            std::string question(context.editor.shell.CurrentFileName.view());
            question += " already exists. Overwrite ?";
            if (!AskYesNo(context.ui, std::move(question))) return BatchStatus::Aborted;
        }
    }

    if (options.dryRun) {
        // Composes every path as a write would, for its "Truncated to" lines.
        ApplyRecordPaths(context, false);
        return BatchStatus::Ok;
    }
    if (WriteAfterBackup(context, file, backup, false) != WriteStatus::Written)
        return BatchStatus::ErrorSaving;
    if (context.log != nullptr) context.log->WriteLine(BatchSavedLine(target));
    return BatchStatus::Ok;
}

BatchStatus HandleFile(CoreContext& context, const BatchFileEntry& entry,
                       const BatchRunOptions& options) {
    const std::string path = entry.Path();
    const ReadStatus read = ReadObjectFile(context, path, false);
    BatchStatus status = BatchStatusFromRead(read);
    if (status == BatchStatus::Ok) status = SaveFile(context, entry, options);
    FreeObjectFile(context.file);
    return status;
}

}  // namespace

std::string BatchTargetPath(const BatchFileEntry& entry, bool saveInOriginalDirectory,
                            std::string_view saveDirectory) {
    std::string target(saveInOriginalDirectory ? entry.Directory.view() : saveDirectory);
    if (!target.empty() && !EndsInSeparator(target)) {
        // A PC directory gets a '\'; a directory of this host or an Amiga
        // volume path gets a '/'.
        target += target.find('\\') != std::string::npos ? '\\' : '/';
    }
    target += entry.FileName.view();
    return target;
}

std::string BatchResultLine(std::string_view path, BatchStatus status) {
    std::string line(path);
    line += BatchStatusSuffix(status);
    return line;
}

std::vector<BatchFileResult> RunBatch(CoreContext& context, BatchList& list,
                                      const BatchRunOptions& options, const BatchClock& clock,
                                      BatchObserver* observer) {
    const Settings& settings = context.editor.settings;
    ShellState& shell = context.editor.shell;
    ComputeEffectiveSuffixes(context);

    BatchLogFile logFile;
    LogSink* log = options.logSink;
    if (log == nullptr && settings.GenerateLog && !options.dryRun) {
        std::string logPath = options.logPath;
        if (logPath.empty()) {
            logPath = shell.ProgramDirectory.str();
            logPath += kBatchLogFileName;
        }
        if (logFile.Open(logPath)) {
            log = &logFile;
        } else {
            ShowWarning(context.ui, "Unable to create Log File (Batch.Log)");
        }
    }
    const ScopedLog scopedLog(context, log);
    if (log != nullptr) {
        log->WriteLine(BatchStartedLine(clock.LongTime(), clock.ShortDate()));
        log->EndLine();
    }

    // The list is copied: a prompt answered during the run may lead the shell
    // to touch its list, and the run must still see the entries it started with.
    const std::vector<BatchFileEntry> entries = list.Entries();
    if (observer != nullptr) observer->RunStarted(entries.size());
    std::vector<BatchFileResult> results;
    results.reserve(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const BatchFileEntry& entry = entries[i];
        const std::string path = entry.Path();
        shell.CurrentFilePath = path;
        shell.CurrentFileName = entry.FileName;
        if (log != nullptr) {
            log->EndLine();
            log->Write(BatchProcessingText(path));
            if (log == &logFile) logFile.Flush();
        }
        const BatchStatus status = HandleFile(context, entry, options);
        if (log != nullptr && status != BatchStatus::Ok) log->WriteLine(BatchStatusSuffix(status));
        results.push_back({path, status});
        if (observer != nullptr) observer->FileFinished(i + 1, path, status);
    }

    list.MarkRunFinished();
    if (observer != nullptr) observer->RunFinished();
    if (log != nullptr) {
        log->EndLine();
        log->WriteLine(BatchCompletedLine(clock.LongTime(), clock.ShortDate()));
    }
    if (log == &logFile && !logFile.Close()) {
        ShowWarning(context.ui, "Error writing Log File (Batch.Log)");
    }
    return results;
}

}  // namespace tessvane
