#include "batch_command.h"

#include <string>
#include <vector>

#include "cli_settings.h"
#include "cli_ui.h"
#include "core/batch.h"
#include "core/path_rules.h"
#include "state/program_directory.h"
#include "text_output.h"

namespace tessvane::cli {
namespace {

// Entries from the command line first, then those already in the list: the
// first match wins, so the command line overrides the settings file.
template <typename List, typename Entry>
bool PutInFront(List& list, const std::vector<Entry>& front, std::string& error, const char* what) {
    if (front.empty()) return true;
    List combined;
    for (const Entry& entry : front) {
        if (!combined.Append(entry)) {
            error = std::string("too many ") + what + " entries (at most 1000)";
            return false;
        }
    }
    for (const Entry& entry : list.Entries()) {
        if (!combined.Append(entry)) {
            error = std::string("too many ") + what + " entries (at most 1000)";
            return false;
        }
    }
    list = std::move(combined);
    return true;
}

// Shows how far the run is on a terminal; the per-file lines on standard
// output are written between updates, never through them.
class TerminalProgress {
  public:
    TerminalProgress(std::ostream& err, bool enabled) : err_(err), enabled_(enabled) {}
    void Show(std::size_t done, std::size_t count) {
        if (!enabled_) return;
        err_ << "\r\033[K[" << done << '/' << count << "]" << std::flush;
    }
    void Clear() {
        if (enabled_) err_ << "\r\033[K" << std::flush;
    }

  private:
    std::ostream& err_;
    bool enabled_;
};

class PrintingObserver final : public BatchObserver {
  public:
    PrintingObserver(std::ostream& out, TerminalProgress& progress)
        : out_(out), progress_(progress) {}

    void RunStarted(std::size_t count) override {
        count_ = count;
        progress_.Show(0, count);
    }
    void FileFinished(std::size_t index, std::string_view path, BatchStatus status) override {
        progress_.Clear();
        out_ << BatchResultLine(path, status) << '\n' << std::flush;
        progress_.Show(index, count_);
    }
    void RunFinished() override { progress_.Clear(); }

  private:
    std::ostream& out_;
    TerminalProgress& progress_;
    std::size_t count_ = 0;
};

// In a dry run: prints the change lines the rules write, nothing else of the
// log. A change line is a whole line that starts with "Object: ".
class ChangeLinePrinter final : public LogSink {
  public:
    ChangeLinePrinter(std::ostream& out, TerminalProgress& progress)
        : out_(out), progress_(progress) {}
    void Write(std::string_view text) override { line_ += text; }
    void EndLine() override {
        if (line_.rfind("Object: ", 0) == 0) {
            progress_.Clear();
            out_ << TerminalText(line_) << '\n';
        }
        line_.clear();
    }

  private:
    std::ostream& out_;
    TerminalProgress& progress_;
    std::string line_;
};

}  // namespace

bool ApplyBatchOptions(const BatchOptions& options, CoreContext& context, std::string& error) {
    Settings& settings = context.editor.settings;
    std::vector<DirectoryDefault> directories;
    for (const DirectoryMapping& map : options.directoryMaps) {
        directories.push_back({map.oldDirectory, map.newDirectory});
    }
    std::vector<TextureDefault> textures;
    for (const TextureMapping& map : options.textureMaps) {
        textures.push_back({map.oldTexture, map.newTexture, map.description});
    }
    // A list the settings file does not use (neither "Update ... from list"
    // nor "Set on Load" is on) does not come back into use through an entry
    // given here: only the entries of the command line apply.
    if (!directories.empty() && !settings.BatchUseDefaultDirectories &&
        !settings.UseDefaultDirectories) {
        context.editor.directoryDefaults.Clear();
    }
    if (!textures.empty() && !settings.BatchUseDefaultTextures && !settings.UseDefaultTextures) {
        context.editor.textureDefaults.Clear();
    }
    if (!PutInFront(context.editor.directoryDefaults, directories, error, "directory"))
        return false;
    if (!PutInFront(context.editor.textureDefaults, textures, error, "texture")) return false;
    if (!directories.empty()) settings.BatchUseDefaultDirectories = true;
    if (!textures.empty()) settings.BatchUseDefaultTextures = true;

    // The page has one "Update File Extensions" box for both rules. When the
    // settings file has it off, a rule given here turns it on for that rule
    // alone: the file's other rule stays as off as the file had it.
    if (!settings.BatchUpdateFileSuffix && (options.textureSuffix || options.brushSuffix)) {
        if (!options.textureSuffix) settings.TextureSuffixSelection = kTextureSuffixAsIs;
        if (!options.brushSuffix) settings.BrushSuffixSelection = kBrushSuffixAsIs;
    }
    if (options.textureSuffix) {
        settings.TextureSuffixSelection = options.textureSuffix->selection;
        if (options.textureSuffix->specified)
            settings.TextureSuffix = *options.textureSuffix->specified;
        if (options.textureSuffix->selection != kTextureSuffixAsIs)
            settings.BatchUpdateFileSuffix = true;
    }
    if (options.brushSuffix) {
        settings.BrushSuffixSelection = options.brushSuffix->selection;
        if (options.brushSuffix->specified) settings.BrushSuffix = *options.brushSuffix->specified;
        if (options.brushSuffix->selection != kBrushSuffixAsIs)
            settings.BatchUpdateFileSuffix = true;
    }
    ComputeEffectiveSuffixes(context);

    if (options.computer) settings.Computer = *options.computer;
    if (options.shortDirectory) settings.UseShortDirectory = true;

    switch (options.existing) {
        case ExistingTarget::FromSettings:
            // A script replaces nobody's files unless told to: without a
            // settings file that asks for backups, an existing target is
            // answered No, as the window's overwrite question would be.
            if (!options.settingsFile) settings.CreateBackups = false;
            break;
        case ExistingTarget::Backup:
            settings.CreateBackups = true;
            break;
        case ExistingTarget::NoBackup:
        case ExistingTarget::Overwrite:
            settings.CreateBackups = false;
            break;
    }
    if (options.logFile) settings.GenerateLog = true;
    // Nobody is there to answer a list prompt.
    settings.PromptForNewTexturesDirectory = false;
    return true;
}

int RunBatchCommand(const BatchOptions& options, std::ostream& out, std::ostream& err,
                    bool progress) {
    CoreContext context;
    context.editor = MakeEditorContext(ProgramDirectory());
    if (options.settingsFile) {
        std::string error;
        if (!LoadSettingsFile(context.editor, *options.settingsFile, error)) {
            err << "tessvane-cli: " << error << '\n';
            return 2;
        }
    }
    std::string error;
    if (!ApplyBatchOptions(options, context, error)) {
        err << "tessvane-cli: " << error << '\n';
        return 2;
    }

    BatchRunOptions run;
    if (options.saveDirectory) {
        context.editor.shell.SaveInOriginalDirectory = false;
        run.saveDirectory = *options.saveDirectory;
    } else if (options.inPlace || !options.settingsFile) {
        context.editor.shell.SaveInOriginalDirectory = true;
    } else {
        context.editor.shell.SaveInOriginalDirectory = false;
        run.saveDirectory = context.editor.settings.SaveDirectory.str();
    }
    if (options.logFile) run.logPath = *options.logFile;
    run.dryRun = options.dryRun;

    CliUi ui(err, options.existing == ExistingTarget::Overwrite);
    context.ui = &ui;
    TerminalProgress terminal(err, progress);
    ChangeLinePrinter changes(out, terminal);
    if (options.dryRun) run.logSink = &changes;

    BatchList list;
    const BatchSelectionResult selection = list.AddSelection(options.files, context.editor.shell);
    for (const std::string& refused : selection.refused) {
        err << "tessvane-cli: " << refused << ": not a file path of at most 255 characters\n";
    }

    PrintingObserver observer(out, terminal);
    const SystemBatchClock clock;
    const std::vector<BatchFileResult> results = RunBatch(context, list, run, clock, &observer);
    bool allOk = selection.refused.empty();
    for (const BatchFileResult& result : results) {
        if (result.status != BatchStatus::Ok) allOk = false;
    }
    return allOk ? 0 : 1;
}

}  // namespace tessvane::cli
