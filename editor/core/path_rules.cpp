#include "core/path_rules.h"

#include <string>

#include "core/volume_map.h"

namespace tessvane {
namespace {

bool IsSeparator(char c) {
    return c == '/' || c == ':' || c == '\\';
}

bool HasTexture(const ObjectFile& file) {
    for (const PathRecord& r : file.Paths.Records) {
        if (r.Kind == PathKind::Texture) return true;
    }
    return false;
}

bool ValidRecord(const CoreContext& context, std::size_t number) {
    return number >= 1 && number <= context.file.Paths.Count();
}

// Whether the record's texture file exists, looked for in its new directory
// (or that directory under the Imagine Directory).
bool TextureFileExists(const CoreContext& context, const PathRecord& r) {
    return FileExistsHere(context.editor, r.NewDirectory, r.OldFileName);
}

}  // namespace

std::string ResolveImagineDirectory(const EditorContext& editor, std::string_view directory,
                                    bool fallback) {
    const std::string imagine = editor.settings.ImagineDirectory.str();
    std::string base = imagine;
    if (base.empty() || !IsSeparator(base.back())) base += '\\';
    // Only a relative directory lies under the Imagine Directory; it is
    // found there through the volume map like any other path of the file.
    if (SplitObjectPath(directory).root == ObjectPathParts::Root::Relative &&
        ObjectPathExists(editor.settings, directory, EntryKind::Directory))
        return base + std::string(directory);
    return fallback ? imagine : std::string(directory);
}

bool DirectoryExistsHere(const EditorContext& editor, std::string_view directory) {
    return ObjectPathExists(editor.settings, directory, EntryKind::Directory);
}

bool FileExistsHere(const EditorContext& editor, std::string_view directory,
                    std::string_view fileName) {
    std::string path(directory);
    if (!path.empty() && !IsSeparator(path.back())) path += '\\';
    path += fileName;
    return ObjectPathExists(editor.settings, path, EntryKind::File);
}

std::string TruncateImagineDirectory(const EditorContext& editor, std::string_view directory) {
    const std::string_view imagine = editor.settings.ImagineDirectory;
    if (directory == imagine) return {};
    // Without an Imagine Directory there is nothing to be relative to.
    if (imagine.empty()) return std::string(directory);
    if (imagine.size() < directory.size() &&
        EqualUpper(directory.substr(0, imagine.size()), imagine)) {
        std::string_view rest = directory.substr(imagine.size());
        if (IsSeparator(rest.front())) {
            rest.remove_prefix(1);
        } else if (!IsSeparator(imagine.back())) {
            // C:\IMAGINE2 is not inside C:\IMAGINE: only whole directory names count.
            return std::string(directory);
        }
        return std::string(rest);
    }
    return std::string(directory);
}

ComposedPath ComposeRecordPath(CoreContext& context, const PathRecord& record) {
    const Settings& settings = context.editor.settings;
    std::string dir = record.NewDirectory.str();
    if (settings.UseShortDirectory) {
        std::string shortened = TruncateImagineDirectory(context.editor, dir);
        if (shortened != dir) {
            LogChange(context, record.PartName, "Directory ", "Truncated to", dir, shortened);
            dir = std::move(shortened);
        }
    }
    ComposedPath out;
    const bool amiga = settings.Computer == ComputerType::Amiga;
    out.wrongForm = dir.find(amiga ? '\\' : '/') != std::string::npos;
    if (!dir.empty() && !IsSeparator(dir.back())) dir += amiga ? '/' : '\\';
    const std::string_view name =
        record.NewFileName == record.OldFileName && !record.StoredFileName.empty()
            ? std::string_view(record.StoredFileName)
            : record.NewFileName.view();
    out.path = dir + std::string(name);
    if (out.path.size() > kMaxPathText) out.path.resize(kMaxPathText);
    return out;
}

void ApplyDirectoryDefault(CoreContext& context, std::size_t recordNumber, bool prompt) {
    if (!ValidRecord(context, recordNumber)) return;
    EditorContext& editor = context.editor;
    PathRecord& r = context.file.Paths.Record(recordNumber);

    std::optional<DirectoryDefault> match;
    if (std::size_t found = editor.directoryDefaults.FindFirst(r.OldDirectory)) {
        match = editor.directoryDefaults.At(found);
    } else if (prompt && (editor.settings.PromptIfDirectoryExists ||
                          !DirectoryExistsHere(editor, r.OldDirectory))) {
        DirectoryPrompt ask;
        ask.caption = "Select New Directory for " + editor.shell.CurrentFileName.str();
        ask.oldDirectory = r.OldDirectory;
        if (context.ui != nullptr) match = context.ui->PromptDirectoryDefault(ask);
        // A full list keeps its 1000 entries; the answer still serves this record.
        if (match) editor.directoryDefaults.Append(*match);
    }
    if (!match) return;
    r.NewDirectory = match->NewDirectory;
    LogChange(context, r.PartName, "Path", "Changed To", r.OldDirectory, r.NewDirectory);
}

void ApplyDirectoryDefaults(CoreContext& context, bool prompt) {
    for (std::size_t n = 1; n <= context.file.Paths.Count(); ++n)
        ApplyDirectoryDefault(context, n, prompt);
}

void ApplyTextureDefault(CoreContext& context, std::size_t recordNumber, bool prompt) {
    if (!ValidRecord(context, recordNumber)) return;
    EditorContext& editor = context.editor;
    PathRecord& r = context.file.Paths.Record(recordNumber);
    if (r.Kind != PathKind::Texture) return;

    std::optional<TextureDefault> match;
    if (std::size_t found = editor.textureDefaults.FindFirst(r.OldFileName)) {
        match = editor.textureDefaults.At(found);
    } else if (prompt &&
               (editor.settings.PromptIfDirectoryExists || !TextureFileExists(context, r))) {
        TexturePrompt ask;
        ask.caption = "Select New Texture Name for " + editor.shell.CurrentFileName.str();
        ask.textureDirectory = editor.shell.TextureDialogDirectory;
        ask.oldTexture = r.OldFileName;
        ask.newTexture = r.NewFileName;
        ask.description = r.NewDescription;
        if (context.ui != nullptr) match = context.ui->PromptTextureDefault(ask);
        if (match) editor.textureDefaults.Append(*match);
    }
    if (!match) return;
    r.NewFileName = match->NewTexture;
    LogChange(context, r.PartName, "Texture", "Changed To", r.OldFileName, r.NewFileName);
    if (editor.settings.UpdateTextureDescriptions && !(match->Description == r.NewDescription)) {
        LogChange(context, r.PartName, "Texture Description", "Changed To", r.NewDescription,
                  match->Description);
        r.NewDescription = match->Description;
    }
}

void ApplyTextureDefaults(CoreContext& context, bool prompt) {
    if (!HasTexture(context.file) || context.editor.textureDefaults.Empty()) return;
    for (std::size_t n = 1; n <= context.file.Paths.Count(); ++n) {
        if (context.file.Paths.Record(n).Kind == PathKind::Texture)
            ApplyTextureDefault(context, n, prompt);
    }
}

void ComputeEffectiveSuffixes(CoreContext& context) {
    RefreshEffectiveSuffixes(context.editor);
}

void ApplySuffixes(CoreContext& context) {
    const Settings& settings = context.editor.settings;
    const EffectiveSuffixes& suffixes = context.editor.suffixes;
    for (PathRecord& r : context.file.Paths.Records) {
        const bool texture =
            r.Kind == PathKind::Texture && settings.TextureSuffixSelection != kTextureSuffixAsIs;
        const bool brush =
            r.Kind == PathKind::Brush && settings.BrushSuffixSelection != kBrushSuffixAsIs;
        if (!texture && !brush) continue;
        // The extension goes from the name that will be written, so a name the texture
        // list gave the record survives; a name read without any extension is only
        // ever extended, as before.
        if (std::string_view(r.OldFileName).find('.') != std::string_view::npos) {
            const std::string current = r.NewFileName.str();
            const std::size_t dot = current.find('.');
            if (dot != std::string::npos) r.NewFileName = current.substr(0, dot);
        }
        const SuffixText& suffix = texture ? suffixes.Texture : suffixes.Brush;
        if (!suffix.empty()) {
            r.NewFileName = r.NewFileName.str() + "." + suffix.str();
            LogChange(context, r.PartName, texture ? "Texture Suffix" : "Brush Suffix",
                      "Changed To", r.OldFileName, r.NewFileName);
        }
    }
}

void ApplySummary(ObjectFile& file) {
    for (PathRecord& r : file.Paths.Records) {
        for (const SummaryEntry& entry : file.Summary) {
            if (EqualUpper(entry.OldDirectory, r.OldDirectory)) {
                r.NewDirectory = entry.NewDirectory;
                break;
            }
        }
    }
}

void LogChange(CoreContext& context, std::string_view part, std::string_view what,
               std::string_view verb, std::string_view before, std::string_view after) {
    if (context.log == nullptr) return;
    std::string line = "Object: ";
    line.append(part).append(" >>  ").append(what).append(": ").append(before);
    line.append("  ").append(verb).append("  ").append(after);
    context.log->WriteLine(line);
}

}  // namespace tessvane
