#include "settings_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>

#include "atomic_file.h"

namespace tessvane {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

// The lines of a text file, split at LF with a CR before it removed, so files
// with CR LF and with bare LF line ends read the same. A last line without a
// line end is a line too.
class LineReader {
  public:
    explicit LineReader(std::string text) : text_(std::move(text)) {}

    std::optional<std::string> Next() {
        if (pos_ >= text_.size()) return std::nullopt;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string::npos) end = text_.size();
        std::string line = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return line;
    }

  private:
    std::string text_;
    std::size_t pos_ = 0;
};

bool IsControl(unsigned char c) {
    return c < 32 || c == 127;
}

// Everything after the first '=' of the line, control characters dropped.
std::string ValueOf(std::string_view line) {
    std::string value;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) return value;
    for (char c : line.substr(eq + 1)) {
        if (!IsControl(static_cast<unsigned char>(c))) value.push_back(c);
    }
    return value;
}

// Where a key line is recognised: anywhere in the upper-cased line before its
// value, that is ending at the line's first '=' (every key ends in '='). Text
// after that '=' is the value: a directory such as C:\TEXTURE SUFFIX=X must
// not also set the Texture Suffix when the file is read back. The keys that
// another key contains ("USE DEFAULT DIRECTORIES=" inside "(BATCH) USE
// DEFAULT DIRECTORIES=") count only within the line's first four characters.
std::size_t KeyPosition(std::string_view upperLine, std::string_view key) {
    const std::size_t eq = upperLine.find('=');
    if (eq == std::string_view::npos || eq + 1 < key.size()) return std::string_view::npos;
    const std::size_t at = eq + 1 - key.size();
    return upperLine.substr(at, key.size()) == key ? at : std::string_view::npos;
}
bool HasKey(std::string_view upperLine, std::string_view key) {
    return KeyPosition(upperLine, key) != std::string_view::npos;
}
bool HasKeyAtStart(std::string_view upperLine, std::string_view key) {
    const std::size_t at = KeyPosition(upperLine, key);
    return at != std::string_view::npos && at < 4;
}

// The selection whose word the value contains; the later words win, so a
// value holding "bmp jpg" gives jpg. No word leaves `current`.
template <std::size_t N>
std::uint16_t SelectionOf(std::string_view upperValue, const std::array<std::string_view, N>& words,
                          std::uint16_t current) {
    std::uint16_t result = current;
    for (std::size_t i = 0; i < N; ++i) {
        if (upperValue.find(UpperCase(words[i])) != std::string_view::npos) {
            result = static_cast<std::uint16_t>(i);
        }
    }
    return result;
}

void ApplyKeyLine(Settings& s, std::string_view line) {
    const std::string upper = UpperCase(line);
    const std::string value = ValueOf(line);
    const std::string word = UpperCase(value);
    const bool yes = word == "YES";
    const bool no = word == "NO";

    if (HasKey(upper, "COMPUTER=") && word == "AMIGA") s.Computer = ComputerType::Amiga;
    if (HasKey(upper, "VALIDATE FILES=") && yes) s.ValidateFiles = true;
    if (HasKey(upper, "VALIDATE DIRECTORY=") && yes) s.ValidateDirectory = true;
    if (HasKey(upper, "RELOAD AFTER SAVE=") && no) s.ReloadAfterSave = false;
    if (HasKeyAtStart(upper, "USE DEFAULT DIRECTORIES=") && yes) s.UseDefaultDirectories = true;
    if (HasKey(upper, "USE SHORT DIRECTORY=") && yes) s.UseShortDirectory = true;
    if (HasKeyAtStart(upper, "USE DEFAULT TEXTURES=") && yes) s.UseDefaultTextures = true;
    if (HasKey(upper, "UPDATE TEXTURE DESCRIPTIONS=") && no) s.UpdateTextureDescriptions = false;
    if (HasKey(upper, "SAVE SETTINGS=") && yes) s.SaveSettings = true;
    if (HasKey(upper, "GENERATE LOG=") && yes) s.GenerateLog = true;
    if (HasKey(upper, "CREATE BACKUPS=") && no) s.CreateBackups = false;
    if (HasKey(upper, "(BATCH) USE DEFAULT DIRECTORIES=") && yes)
        s.BatchUseDefaultDirectories = true;
    if (HasKey(upper, "(BATCH) USE DEFAULT TEXTURES=") && yes) s.BatchUseDefaultTextures = true;
    if (HasKey(upper, "(BATCH) UPDATE FILE SUFFIX=") && yes) s.BatchUpdateFileSuffix = true;
    if (HasKey(upper, "PROMPT FOR NEW TEXTURES/DIRECTORY=") && yes)
        s.PromptForNewTexturesDirectory = true;
    if (HasKey(upper, "PROMPT IF DIRECTORY EXISTS=") && yes) s.PromptIfDirectoryExists = true;
    if (HasKey(upper, "TEXTURE SUFFIX SELECTION=")) {
        s.TextureSuffixSelection = SelectionOf(word, kTextureSuffixWords, s.TextureSuffixSelection);
    }
    if (HasKey(upper, "BRUSH SUFFIX SELECTION=")) {
        s.BrushSuffixSelection = SelectionOf(word, kBrushSuffixWords, s.BrushSuffixSelection);
    }
    if (HasKey(upper, "TEXTURE SUFFIX=")) s.TextureSuffix = value;
    if (HasKey(upper, "BRUSH SUFFIX=")) s.BrushSuffix = value;
    if (HasKey(upper, "IMAGINE DIRECTORY=")) s.ImagineDirectory = value;
    if (HasKey(upper, "LOAD DIRECTORY=")) s.LoadDirectory = value;
    if (HasKey(upper, "SAVE DIRECTORY=")) s.SaveDirectory = value;
    // A set this version does not know leaves the default: the texts are then
    // shown as the Amiga would show them, and still written back unchanged.
    if (HasKey(upper, "CHARACTER SET=")) {
        s.CharacterSet = ParseCharacterSet(value).value_or(CharacterSet::Iso8859_1);
    }
}

void AddDirectoryLine(EditorContext& editor, std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return;
    editor.directoryDefaults.Append(
        {PathText(line.substr(0, comma)), PathText(line.substr(comma + 1))});
}

// "NAME,directory"; a line whose name is not usable is skipped, like a list
// line without ','. A name given twice keeps its first directory.
void AddVolumeLine(EditorContext& editor, std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return;
    VolumeList& volumes = editor.settings.Volumes;
    if (FindVolume(volumes, line.substr(0, comma))) return;
    SetVolume(volumes, line.substr(0, comma), line.substr(comma + 1));
}

void AddTextureLine(EditorContext& editor, std::string_view line) {
    const std::size_t comma = line.find(',');
    if (comma == std::string_view::npos) return;
    const std::string_view rest = line.substr(comma + 1);
    const std::size_t second = rest.find(',');
    TextureDefault entry;
    entry.OldTexture = line.substr(0, comma);
    if (second == std::string_view::npos) {
        entry.NewTexture = rest;
    } else {
        entry.NewTexture = rest.substr(0, second);
        entry.Description = rest.substr(second + 1);
    }
    editor.textureDefaults.Append(std::move(entry));
}

// Reads the lines of one list section up to the end of the file or the next
// line that starts with '[' and holds no ','; returns that line, which may open
// another section. A line with a ',' is an entry wherever it starts: the lists
// are written without quoting, and an entry such as "[old],new" must not end
// its section and lose every entry written after it.
template <typename AddLine>
std::optional<std::string> ReadListSection(LineReader& reader, AddLine add) {
    while (auto line = reader.Next()) {
        if (!line->empty() && (*line)[0] == '[' && line->find(',') == std::string::npos)
            return line;
        // A CR inside a line cannot be written back (see OneLine), so it is not
        // kept either: what is read is what a save writes.
        line->erase(std::remove(line->begin(), line->end(), '\r'), line->end());
        add(*line);
    }
    return std::nullopt;
}

struct SplitFilePath {
    std::string_view directory;  // with its trailing separator, or empty
    std::string_view name;
};

SplitFilePath SplitSettingsPath(std::string_view path) {
    const std::size_t sep = path.find_last_of("/\\");
    if (sep == std::string_view::npos) return {{}, path};
    return {path.substr(0, sep + 1), path.substr(sep + 1)};
}

void MakeCurrent(EditorContext& editor, std::string_view path) {
    const SplitFilePath split = SplitSettingsPath(path);
    editor.shell.SettingsDirectory = split.directory;
    editor.shell.SettingsFileName = split.name;
}

void FinishRead(EditorContext& editor) {
    RefreshEffectiveSuffixes(editor);
    editor.shell.CurrentFileDirectory = editor.settings.LoadDirectory;
    editor.shell.TextureDialogDirectory =
        std::string(editor.settings.ImagineDirectory.view()) + "\\Textures";
}

bool ReadText(std::string_view path, std::string& text) {
    struct stat info {};
    const std::string name(path);
    if (::stat(name.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
    std::ifstream in(name, std::ios::binary);
    if (!in) return false;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// Texts are written as they are held, except that a line end inside one would
// split its line in two and change the meaning of the file.
std::string OneLine(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '\r' && c != '\n') out.push_back(c);
    }
    return out;
}

void PutLine(std::string& out, std::string_view text) {
    out.append(text);
    out.append(kLineEnd);
}

void PutFlag(std::string& out, std::string_view key, bool on) {
    out.append(key);
    out.append(on ? "yes" : "no");
    out.append(kLineEnd);
}

template <std::size_t N>
std::string_view WordOf(const std::array<std::string_view, N>& words, std::uint16_t selection) {
    return selection < N ? words[selection] : words[0];
}

}  // namespace

SettingsReadStatus ReadSettings(EditorContext& editor, std::string_view path) {
    editor.settings = DefaultSettings(editor.shell.ProgramDirectory);
    editor.shell.SaveInOriginalDirectory = false;
    editor.directoryDefaults.Clear();
    editor.textureDefaults.Clear();

    std::string text;
    if (!ReadText(path, text)) {
        FinishRead(editor);
        return SettingsReadStatus::OpenFailed;
    }

    LineReader reader(std::move(text));
    bool found = false;
    while (auto line = reader.Next()) {
        if (UpperCase(*line) == "[VANE]") {
            found = true;
            break;
        }
    }
    if (!found) {
        FinishRead(editor);
        return SettingsReadStatus::NoVaneLine;
    }
    MakeCurrent(editor, path);

    std::optional<std::string> current;
    while (auto line = reader.Next()) {
        ApplyKeyLine(editor.settings, *line);
        if (!line->empty() && (*line)[0] == '[') {
            current = std::move(line);
            break;
        }
    }

    // Sections in any order; unknown ones are skipped line by line.
    while (current) {
        const std::string upper = UpperCase(*current);
        if (upper == "[DEFAULT DIRECTORY LIST]") {
            current =
                ReadListSection(reader, [&](std::string_view l) { AddDirectoryLine(editor, l); });
        } else if (upper == "[TEXTURES]") {
            current =
                ReadListSection(reader, [&](std::string_view l) { AddTextureLine(editor, l); });
        } else if (upper == "[VOLUMES]") {
            current =
                ReadListSection(reader, [&](std::string_view l) { AddVolumeLine(editor, l); });
        } else {
            current = reader.Next();
        }
    }

    FinishRead(editor);
    return SettingsReadStatus::Read;
}

std::string SettingsFileText(const EditorContext& editor) {
    const Settings& s = editor.settings;
    std::string out;
    PutLine(out, "[VANE]");
    PutLine(out, s.Computer == ComputerType::Amiga ? "Computer=Amiga" : "Computer=PC");
    PutFlag(out, "Validate Directory=", s.ValidateDirectory);
    PutFlag(out, "Validate Files=", s.ValidateFiles);
    PutFlag(out, "Reload After Save=", s.ReloadAfterSave);
    PutFlag(out, "Use Default Directories=", s.UseDefaultDirectories);
    PutFlag(out, "Use Short Directory=", s.UseShortDirectory);
    PutFlag(out, "Use Default Textures=", s.UseDefaultTextures);
    PutFlag(out, "Update Texture Descriptions=", s.UpdateTextureDescriptions);
    PutFlag(out, "Save Settings=", s.SaveSettings);
    PutFlag(out, "Generate Log=", s.GenerateLog);
    PutFlag(out, "Create Backups=", s.CreateBackups);
    PutFlag(out, "(Batch) Use Default Directories=", s.BatchUseDefaultDirectories);
    PutFlag(out, "(Batch) Use Default Textures=", s.BatchUseDefaultTextures);
    PutFlag(out, "(Batch) Update File Suffix=", s.BatchUpdateFileSuffix);
    PutFlag(out, "Prompt for new Textures/Directory=", s.PromptForNewTexturesDirectory);
    PutFlag(out, "Prompt if Directory Exists=", s.PromptIfDirectoryExists);
    PutLine(out, "Texture Suffix Selection=" +
                     std::string(WordOf(kTextureSuffixWords, s.TextureSuffixSelection)));
    PutLine(out, "Brush Suffix Selection=" +
                     std::string(WordOf(kBrushSuffixWords, s.BrushSuffixSelection)));
    PutLine(out, "Texture Suffix=" + OneLine(s.TextureSuffix));
    PutLine(out, "Brush Suffix=" + OneLine(s.BrushSuffix));
    PutLine(out, "Imagine Directory=" + OneLine(s.ImagineDirectory));
    PutLine(out, "Load Directory=" + OneLine(s.LoadDirectory));
    PutLine(out, "Save Directory=" + OneLine(s.SaveDirectory));
    PutLine(out, "Character Set=" + std::string(CharacterSetName(s.CharacterSet)));

    if (!editor.directoryDefaults.Empty()) {
        PutLine(out, "");
        PutLine(out, "[Default Directory List]");
        for (const DirectoryDefault& e : editor.directoryDefaults.Entries()) {
            PutLine(out, OneLine(e.OldDirectory) + "," + OneLine(e.NewDirectory));
        }
    }
    if (!editor.textureDefaults.Empty()) {
        PutLine(out, "");
        PutLine(out, "[Textures]");
        for (const TextureDefault& e : editor.textureDefaults.Entries()) {
            PutLine(out, OneLine(e.OldTexture) + "," + OneLine(e.NewTexture) + "," +
                             OneLine(e.Description));
        }
    }
    // Last, so that a reader that does not know the section has read all it
    // knows before it skips this one.
    if (!s.Volumes.empty()) {
        PutLine(out, "");
        PutLine(out, "[Volumes]");
        for (const VolumeMapping& v : s.Volumes) {
            PutLine(out, OneLine(v.Name) + "," + OneLine(v.Directory));
        }
    }
    return out;
}

bool WriteSettings(EditorContext& editor, std::string_view path) {
    int error = 0;
    if (!ReplaceFile(path, SettingsFileText(editor), error)) return false;
    MakeCurrent(editor, path);
    return true;
}

std::string CurrentSettingsFile(const EditorContext& editor) {
    return std::string(editor.shell.SettingsDirectory.view()) +
           std::string(editor.shell.SettingsFileName.view());
}

}  // namespace tessvane
