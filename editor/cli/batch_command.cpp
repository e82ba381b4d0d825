#include "batch_command.h"

#include <string>
#include <vector>

#include "check_command.h"
#include "cli_context.h"
#include "cli_ui.h"
#include "core/batch.h"
#include "core/missing_files.h"
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
    ChangeLinePrinter(std::ostream& out, TerminalProgress& progress, CharacterSet set)
        : out_(out), progress_(progress), set_(set) {}
    void Write(std::string_view text) override { line_ += text; }
    void EndLine() override {
        if (line_.rfind("Object: ", 0) == 0) {
            progress_.Clear();
            out_ << TerminalText(DecodeToUtf8(line_, set_)) << '\n';
        }
        line_.clear();
    }

  private:
    std::ostream& out_;
    TerminalProgress& progress_;
    CharacterSet set_;
    std::string line_;
};

// --relink: every path of the file not found here that has exactly one
// candidate gets its place; the others are reported, one line each:
//   FILE: PATH relinked: NEW PATH
//   FILE: PATH has N candidates: LOCAL, LOCAL
//   FILE: PATH is missing / is not mappable (WHY)
//   FILE: PATH not relinked: WHY
void Relink(CoreContext& context, std::string_view file, const FileIndex& index, std::ostream& out,
            TerminalProgress& progress) {
    const Settings& settings = context.editor.settings;
    const CharacterSet set = settings.CharacterSet;
    for (const RecordLink& link : CheckRecordLinks(settings, context.file, &index)) {
        if (link.status == LinkStatus::Found) continue;
        std::string line = std::string(file) + ": " + DecodeToUtf8(link.path, set);
        if (link.candidates.size() == 1) {
            const RelinkOutcome outcome =
                RelinkRecord(context, link.record, link.candidates[0].local);
            if (outcome.status == RelinkStatus::Relinked) {
                line +=
                    " relinked: " +
                    DecodeToUtf8(RecordPath(settings, context.file.Paths.Record(link.record)), set);
            } else {
                line += " not relinked: " + outcome.message;
            }
        } else if (!link.candidates.empty()) {
            line += " has " + std::to_string(link.candidates.size()) + " candidates: ";
            for (std::size_t i = 0; i < link.candidates.size(); ++i)
                line += (i ? ", " : "") + link.candidates[i].local;
        } else if (link.status == LinkStatus::Missing) {
            line += " is missing";
        } else {
            line += " is not mappable (" + UnmappableReason(link.resolved) + ")";
        }
        progress.Clear();
        out << TerminalText(line) << '\n';
    }
}

// The texts of the command line's list entries, typed in UTF-8, in the
// object files' character set.
bool EncodeEntries(const BatchOptions& options, CharacterSet set,
                   std::vector<DirectoryDefault>& directories,
                   std::vector<TextureDefault>& textures, std::string& error) {
    for (const DirectoryMapping& map : options.directoryMaps) {
        std::string oldDirectory, newDirectory;
        if (!EncodeArgument(map.oldDirectory, set, "--map-dir", oldDirectory, error) ||
            !EncodeArgument(map.newDirectory, set, "--map-dir", newDirectory, error))
            return false;
        directories.push_back({oldDirectory, newDirectory});
    }
    for (const TextureMapping& map : options.textureMaps) {
        std::string oldTexture, newTexture, description;
        if (!EncodeArgument(map.oldTexture, set, "--map-texture", oldTexture, error) ||
            !EncodeArgument(map.newTexture, set, "--map-texture", newTexture, error) ||
            !EncodeArgument(map.description, set, "--map-texture", description, error))
            return false;
        textures.push_back({oldTexture, newTexture, description});
    }
    return true;
}

}  // namespace

bool ApplyBatchOptions(const BatchOptions& options, CoreContext& context, std::string& error) {
    Settings& settings = context.editor.settings;
    std::vector<DirectoryDefault> directories;
    std::vector<TextureDefault> textures;
    if (!EncodeEntries(options, settings.CharacterSet, directories, textures, error)) return false;
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
    std::string error;
    const ContextOptions prepare{&options.settingsFile, &options.charset, &options.volumes,
                                 &options.imagineDir, &options.searchDirs};
    if (!PrepareEditor(context.editor, prepare, error)) {
        err << "tessvane-cli: " << error << '\n';
        return 2;
    }
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
    ChangeLinePrinter changes(out, terminal, context.editor.settings.CharacterSet);
    if (options.dryRun) run.logSink = &changes;
    // The searched trees are read once for the whole run.
    std::optional<FileIndex> index;
    if (options.relink) {
        index = BuildSearchIndex(context.editor.settings, options.searchDirs, err, progress);
        run.beforeSave = [&](CoreContext& file, std::string_view path) {
            Relink(file, path, *index, out, terminal);
        };
    }

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
