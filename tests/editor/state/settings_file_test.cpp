#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "iff_builder.h"
#include "state/editor_state.h"
#include "state/settings_file.h"

namespace tessvane {
namespace {

using testing::TempDir;

std::string ReadText(const std::string& path) {
    const auto bytes = testing::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
    testing::WriteFileBytes(path, testing::Bytes(text.begin(), text.end()));
}

std::vector<std::string> SplitCrLf(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            lines.push_back(text.substr(pos));
            break;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

class SettingsFileTest : public ::testing::Test {
  protected:
    TempDir dir;
    EditorContext editor = MakeEditorContext(dir.Dir());

    // Reads a file made of the given lines, CR LF ended, after a "[VANE]" line.
    SettingsReadStatus ReadVane(const std::string& body) {
        const std::string path = dir.File("t.ini");
        WriteText(path, "[VANE]\r\n" + body);
        return ReadSettings(editor, path);
    }
};

TEST_F(SettingsFileTest, MissingFileGivesTheDefaultsAndTheDerivedDirectories) {
    editor.settings.ValidateFiles = true;
    editor.directoryDefaults.Append({"A", "B"});

    EXPECT_EQ(ReadSettings(editor, dir.File("Tessvane.ini")), SettingsReadStatus::OpenFailed);

    const Settings& s = editor.settings;
    EXPECT_EQ(s.Computer, ComputerType::PC);
    EXPECT_TRUE(s.ReloadAfterSave && s.UpdateTextureDescriptions && s.CreateBackups);
    EXPECT_FALSE(s.ValidateFiles || s.ValidateDirectory || s.SaveSettings ||
                 s.UseDefaultDirectories);
    EXPECT_EQ(s.TextureSuffixSelection, 0);
    EXPECT_EQ(s.BrushSuffixSelection, 0);
    EXPECT_EQ(s.TextureSuffix, "itx");
    EXPECT_TRUE(s.BrushSuffix.empty());
    EXPECT_EQ(s.ImagineDirectory, dir.Dir());
    EXPECT_EQ(s.LoadDirectory, dir.Dir());
    EXPECT_EQ(s.SaveDirectory, dir.Dir());
    EXPECT_TRUE(editor.directoryDefaults.Empty());
    EXPECT_EQ(editor.shell.TextureDialogDirectory, dir.Dir() + "\\Textures");
    EXPECT_EQ(editor.shell.CurrentFileDirectory, dir.Dir());
}

TEST_F(SettingsFileTest, WritesTwentyFiveLinesThenOnlyTheSectionsThatHoldEntries) {
    const std::string path = dir.File("out.ini");
    ASSERT_TRUE(WriteSettings(editor, path));
    std::string text = ReadText(path);
    std::vector<std::string> lines = SplitCrLf(text);
    ASSERT_EQ(lines.size(), 25u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_EQ(lines[0], "[VANE]");
    EXPECT_EQ(lines[1], "Computer=PC");
    EXPECT_EQ(lines[4], "Reload After Save=yes");
    EXPECT_EQ(lines[17], "Texture Suffix Selection=as is");
    EXPECT_EQ(lines[19], "Texture Suffix=itx");
    EXPECT_EQ(lines[20], "Brush Suffix=");
    EXPECT_EQ(lines[23], "Save Directory=" + dir.Dir());
    EXPECT_EQ(lines[24], "Character Set=ISO-8859-1");
    EXPECT_EQ(editor.shell.SettingsDirectory, dir.Dir());
    EXPECT_EQ(editor.shell.SettingsFileName, "out.ini");

    editor.directoryDefaults.Append({"C:\\OLD", "D:\\NEW"});
    ASSERT_TRUE(WriteSettings(editor, path));
    lines = SplitCrLf(ReadText(path));
    ASSERT_EQ(lines.size(), 28u);
    EXPECT_EQ(lines[25], "");
    EXPECT_EQ(lines[26], "[Default Directory List]");
    EXPECT_EQ(lines[27], "C:\\OLD,D:\\NEW");

    editor.textureDefaults.Append({"wood.iff", "oak.itx", "Oak"});
    ASSERT_TRUE(WriteSettings(editor, path));
    lines = SplitCrLf(ReadText(path));
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[29], "[Textures]");
    EXPECT_EQ(lines[30], "wood.iff,oak.itx,Oak");

    // The volume map comes last.
    editor.settings.Volumes = {{"DH0:", "/home/ann/Amiga/DH0"}};
    ASSERT_TRUE(WriteSettings(editor, path));
    lines = SplitCrLf(ReadText(path));
    ASSERT_EQ(lines.size(), 34u);
    EXPECT_EQ(lines[31], "");
    EXPECT_EQ(lines[32], "[Volumes]");
    EXPECT_EQ(lines[33], "DH0:,/home/ann/Amiga/DH0");
}

TEST_F(SettingsFileTest, RoundTripKeepsEverySettingListAndTheLetterCaseOfTexts) {
    Settings& s = editor.settings;
    s.Computer = ComputerType::Amiga;
    s.ValidateDirectory = s.ValidateFiles = s.UseDefaultDirectories = s.UseShortDirectory = true;
    s.UseDefaultTextures = s.SaveSettings = s.GenerateLog = s.BatchUseDefaultDirectories = true;
    s.BatchUseDefaultTextures = s.BatchUpdateFileSuffix = s.PromptForNewTexturesDirectory = true;
    s.PromptIfDirectoryExists = true;
    s.ReloadAfterSave = s.UpdateTextureDescriptions = s.CreateBackups = false;
    s.TextureSuffixSelection = 1;
    s.BrushSuffixSelection = 12;
    s.TextureSuffix = "Itx";
    s.BrushSuffix = "jPg";
    // Case, '~', '{' and bytes above 'z' all survive.
    s.ImagineDirectory = "C:\\PROGRA~1\\Imagine";
    s.LoadDirectory = "/home/ann/Imagine {old}";
    s.SaveDirectory = "/home/ann/Objekte/Gr\xc3\xbcn";
    editor.directoryDefaults.Append({"c:\\tex", " D:\\Tex"});
    editor.textureDefaults.Append({"Wood.iff", "Oak.itx", ""});

    const std::string path = dir.File("round.ini");
    ASSERT_TRUE(WriteSettings(editor, path));
    EditorContext back = MakeEditorContext("/elsewhere/");
    ASSERT_EQ(ReadSettings(back, path), SettingsReadStatus::Read);

    const Settings& r = back.settings;
    EXPECT_EQ(r.Computer, ComputerType::Amiga);
    EXPECT_TRUE(r.ValidateDirectory && r.ValidateFiles && r.UseDefaultDirectories &&
                r.UseShortDirectory && r.UseDefaultTextures && r.SaveSettings && r.GenerateLog &&
                r.BatchUseDefaultDirectories && r.BatchUseDefaultTextures &&
                r.BatchUpdateFileSuffix && r.PromptForNewTexturesDirectory &&
                r.PromptIfDirectoryExists);
    EXPECT_FALSE(r.ReloadAfterSave || r.UpdateTextureDescriptions || r.CreateBackups);
    EXPECT_EQ(r.TextureSuffixSelection, 1);
    EXPECT_EQ(r.BrushSuffixSelection, 12);
    EXPECT_EQ(r.TextureSuffix, "Itx");
    EXPECT_EQ(r.BrushSuffix, "jPg");
    EXPECT_EQ(r.ImagineDirectory, "C:\\PROGRA~1\\Imagine");
    EXPECT_EQ(r.LoadDirectory, "/home/ann/Imagine {old}");
    EXPECT_EQ(r.SaveDirectory, "/home/ann/Objekte/Gr\xc3\xbcn");
    ASSERT_EQ(back.directoryDefaults.Count(), 1u);
    EXPECT_EQ(back.directoryDefaults.At(1).OldDirectory, "c:\\tex");
    EXPECT_EQ(back.directoryDefaults.At(1).NewDirectory, " D:\\Tex");
    ASSERT_EQ(back.textureDefaults.Count(), 1u);
    EXPECT_EQ(back.textureDefaults.At(1).NewTexture, "Oak.itx");
    EXPECT_TRUE(back.textureDefaults.At(1).Description.empty());
    EXPECT_EQ(back.shell.SettingsDirectory, dir.Dir());
    EXPECT_EQ(back.shell.SettingsFileName, "round.ini");
    EXPECT_EQ(back.shell.CurrentFileDirectory, "/home/ann/Imagine {old}");
    EXPECT_EQ(back.shell.TextureDialogDirectory, "C:\\PROGRA~1\\Imagine\\Textures");
    EXPECT_EQ(back.suffixes.Texture, "Itx");
    EXPECT_EQ(back.suffixes.Brush, "wmf");
}

TEST_F(SettingsFileTest, KeyLinesFollowTheRecognitionRules) {
    struct Case {
        const char* lines;
        std::function<bool(const Settings&)> holds;
    };
    const std::vector<Case> cases = {
        {"computer=amiga\r\n", [](const Settings& s) { return s.Computer == ComputerType::Amiga; }},
        {"Computer=Amiga \r\n", [](const Settings& s) { return s.Computer == ComputerType::PC; }},
        {"Computer = Amiga\r\n", [](const Settings& s) { return s.Computer == ComputerType::PC; }},
        {"Create Backups=no\r\n", [](const Settings& s) { return !s.CreateBackups; }},
        {"Reload After Save=NO\r\n", [](const Settings& s) { return !s.ReloadAfterSave; }},
        {"Update Texture Descriptions=no\r\n",
         [](const Settings& s) { return !s.UpdateTextureDescriptions; }},
        {"Reload After Save=never\r\n", [](const Settings& s) { return s.ReloadAfterSave; }},
        {"Validate Files=yes please\r\n", [](const Settings& s) { return !s.ValidateFiles; }},
        {"(Batch) Use Default Directories=yes\r\n",
         [](const Settings& s) {
             return s.BatchUseDefaultDirectories && !s.UseDefaultDirectories;
         }},
        {"(Batch) Use Default Textures=yes\r\n",
         [](const Settings& s) { return s.BatchUseDefaultTextures && !s.UseDefaultTextures; }},
        {" Use Default Directories=yes\r\n",
         [](const Settings& s) { return s.UseDefaultDirectories; }},
        {"   Use Default Textures=yes\r\n", [](const Settings& s) { return s.UseDefaultTextures; }},
        {"    Use Default Directories=yes\r\n",
         [](const Settings& s) { return !s.UseDefaultDirectories; }},
        {"Texture Suffix Selection=as specified\r\n",
         [](const Settings& s) { return s.TextureSuffixSelection == 1; }},
        {"Brush Suffix Selection=TIF\r\n",
         [](const Settings& s) { return s.BrushSuffixSelection == 11; }},
        {"Brush Suffix Selection=bmp jpg\r\n",
         [](const Settings& s) { return s.BrushSuffixSelection == 7; }},
        {"Brush Suffix Selection=nothing known\r\n",
         [](const Settings& s) { return s.BrushSuffixSelection == 0; }},
        // Tabs and other control characters are dropped from values; blanks stay.
        {"Validate Directory=\tyes\r\n", [](const Settings& s) { return s.ValidateDirectory; }},
        {"Load Directory=/data/My Objects\t\r\n",
         [](const Settings& s) { return s.LoadDirectory == "/data/My Objects"; }},
        {"Texture Suffix=abcdefghijklmnopqrstuvwxyz\r\n",
         [](const Settings& s) { return s.TextureSuffix == "abcdefghijklmnopqrst"; }},
        {"save settings=YES\r\n", [](const Settings& s) { return s.SaveSettings; }},
        // Bare LF line ends read line by line as well.
        {"Generate Log=yes\nPrompt if Directory Exists=yes\n",
         [](const Settings& s) { return s.GenerateLog && s.PromptIfDirectoryExists; }},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(ReadVane(c.lines), SettingsReadStatus::Read) << c.lines;
        EXPECT_TRUE(c.holds(editor.settings)) << c.lines;
    }
}

TEST_F(SettingsFileTest, ListSectionsComeInAnyOrderAndSplitAtTheirCommas) {
    ASSERT_EQ(ReadVane("Save Settings=yes\r\n"
                       "[Textures]\r\n"
                       "wood.iff,oak.itx\r\n"
                       "a,b,c,description that is too long\r\n"
                       "no comma here\r\n"
                       "\r\n"
                       "[Other]\r\n"
                       "x,y\r\n"
                       "[Default Directory List]\r\n"
                       "C:\\OLD, D:\\NEW\r\n"
                       "Dir,With,Commas\r\n"
                       "[ends, and counts]\r\n"),
              SettingsReadStatus::Read);
    EXPECT_TRUE(editor.settings.SaveSettings);

    ASSERT_EQ(editor.textureDefaults.Count(), 2u);
    EXPECT_EQ(editor.textureDefaults.At(1).NewTexture, "oak.itx");
    EXPECT_TRUE(editor.textureDefaults.At(1).Description.empty());
    EXPECT_EQ(editor.textureDefaults.At(2).NewTexture, "b");
    EXPECT_EQ(editor.textureDefaults.At(2).Description, "c,description that");

    ASSERT_EQ(editor.directoryDefaults.Count(), 3u);
    EXPECT_EQ(editor.directoryDefaults.At(1).NewDirectory, " D:\\NEW");
    EXPECT_EQ(editor.directoryDefaults.At(2).OldDirectory, "Dir");
    EXPECT_EQ(editor.directoryDefaults.At(2).NewDirectory, "With,Commas");
    EXPECT_EQ(editor.directoryDefaults.At(3).OldDirectory, "[ends");
}

TEST_F(SettingsFileTest, AFileWithoutAVaneLineResetsEverythingButKeepsTheCurrentFile) {
    const std::string good = dir.File("good.ini");
    editor.settings.SaveSettings = true;
    editor.directoryDefaults.Append({"A", "B"});
    ASSERT_TRUE(WriteSettings(editor, good));

    const std::string other = dir.File("other.ini");
    WriteText(other, "[Default Directory List]\r\nC:\\A,C:\\B\r\n[VAN]\r\nSave Settings=yes\r\n");
    EXPECT_EQ(ReadSettings(editor, other), SettingsReadStatus::NoVaneLine);
    EXPECT_FALSE(editor.settings.SaveSettings);
    EXPECT_TRUE(editor.directoryDefaults.Empty());
    EXPECT_EQ(CurrentSettingsFile(editor), good);

    // A list that comes before the "[VANE]" line is not read.
    WriteText(other, "[Default Directory List]\r\nC:\\A,C:\\B\r\n[VANE]\r\nSave Settings=yes\r\n");
    EXPECT_EQ(ReadSettings(editor, other), SettingsReadStatus::Read);
    EXPECT_TRUE(editor.settings.SaveSettings);
    EXPECT_TRUE(editor.directoryDefaults.Empty());
    EXPECT_EQ(CurrentSettingsFile(editor), other);
}

TEST_F(SettingsFileTest, AFailedWriteChangesNothingAndLeavesNoTemporaryFile) {
    const std::string good = dir.File("keep.ini");
    ASSERT_TRUE(WriteSettings(editor, good));
    const std::string before = ReadText(good);

    editor.settings.SaveSettings = true;
    EXPECT_FALSE(WriteSettings(editor, dir.File("missing/sub.ini")));
    // A directory in the way of the target: the rename fails, the temporary goes.
    std::filesystem::create_directory(dir.path() / "busy.ini");
    EXPECT_FALSE(WriteSettings(editor, dir.File("busy.ini")));
    EXPECT_EQ(CurrentSettingsFile(editor), good);
    EXPECT_EQ(ReadText(good), before);

    int entries = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 2);  // keep.ini and the directory busy.ini
}

TEST_F(SettingsFileTest, AReplacedFileKeepsItsModeAndAReadOnlyFileIsNotReplaced) {
    namespace fs = std::filesystem;
    const std::string priv = dir.File("private.ini");
    ASSERT_TRUE(WriteSettings(editor, priv));
    fs::permissions(priv, fs::perms::owner_read | fs::perms::owner_write);
    editor.settings.SaveSettings = true;
    ASSERT_TRUE(WriteSettings(editor, priv));
    EXPECT_EQ(fs::status(priv).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(ReadText(priv).find("Save Settings=yes\r\n"), std::string::npos);

    // Made read-only by its owner: left as it is, also when we could rename over it.
    const std::string locked = dir.File("locked.ini");
    editor.settings.SaveSettings = false;
    ASSERT_TRUE(WriteSettings(editor, locked));
    const std::string before = ReadText(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    editor.settings.SaveSettings = true;
    EXPECT_FALSE(WriteSettings(editor, locked));
    EXPECT_EQ(ReadText(locked), before);
    EXPECT_EQ(CurrentSettingsFile(editor), locked);  // from the first write
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
}

TEST_F(SettingsFileTest, TheCharacterSetAndTheVolumeMapSurviveAWriteAndRead) {
    editor.settings.CharacterSet = CharacterSet::Cp850;
    editor.settings.Volumes = {{"C:", "/home/ann/.wine/drive_c"},
                               {"Work:", "/home/ann/Amiga/Work, old"},
                               {"Imagine:", "/home/ann/Amiga/Gr\xc3\xbcn"}};
    editor.directoryDefaults.Append({"C:\\OLD", "Work:New"});
    const std::string path = dir.File("volumes.ini");
    ASSERT_TRUE(WriteSettings(editor, path));

    EditorContext back = MakeEditorContext("/elsewhere/");
    ASSERT_EQ(ReadSettings(back, path), SettingsReadStatus::Read);
    EXPECT_EQ(back.settings.CharacterSet, CharacterSet::Cp850);
    ASSERT_EQ(back.settings.Volumes.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(back.settings.Volumes[i].Name, editor.settings.Volumes[i].Name);
        EXPECT_EQ(back.settings.Volumes[i].Directory, editor.settings.Volumes[i].Directory);
    }
    ASSERT_EQ(back.directoryDefaults.Count(), 1u);

    // Read by a version that does not know the section, it is one more unknown
    // section: skipped, and nothing of it reaches the lists or the settings.
    std::string text = ReadText(path);
    text.replace(text.find("[Volumes]"), 9, "[Unknown]");
    WriteText(path, text);
    EditorContext older = MakeEditorContext("/elsewhere/");
    ASSERT_EQ(ReadSettings(older, path), SettingsReadStatus::Read);
    EXPECT_TRUE(older.settings.Volumes.empty());
    ASSERT_EQ(older.directoryDefaults.Count(), 1u);
    EXPECT_EQ(older.directoryDefaults.At(1).NewDirectory, "Work:New");
    EXPECT_EQ(older.settings.CharacterSet, CharacterSet::Cp850);
}

TEST_F(SettingsFileTest, VolumeLinesAndCharacterSetValuesAreCheckedAsTheyAreRead) {
    ASSERT_EQ(ReadVane("Character Set=cp437\r\n"
                       "[Volumes]\r\n"
                       "dh0,/amiga/dh0\r\n"     // the ':' is added
                       "DH0:,/amiga/other\r\n"  // a second entry of a name: the first stays
                       "a/b:,/nowhere\r\n"      // not a volume name
                       "C:,\r\n"                // no directory
                       "no comma\r\n"
                       " Work: ,/amiga/work\r\n"),
              SettingsReadStatus::Read);
    EXPECT_EQ(editor.settings.CharacterSet, CharacterSet::Cp437);
    ASSERT_EQ(editor.settings.Volumes.size(), 2u);
    EXPECT_EQ(editor.settings.Volumes[0].Name, "dh0:");
    EXPECT_EQ(editor.settings.Volumes[0].Directory, "/amiga/dh0");
    EXPECT_EQ(editor.settings.Volumes[1].Name, "Work:");

    // A set this version does not know reads as the default.
    editor.settings.CharacterSet = CharacterSet::Cp850;
    ASSERT_EQ(ReadVane("Character Set=KOI8-R\r\n"), SettingsReadStatus::Read);
    EXPECT_EQ(editor.settings.CharacterSet, CharacterSet::Iso8859_1);
    EXPECT_TRUE(editor.settings.Volumes.empty());
}

TEST_F(SettingsFileTest, LineEndsInsideTextsCannotAddLines) {
    editor.directoryDefaults.Append({"C:\\A\r\nSave Settings=yes", "D:\\B"});
    const std::string path = dir.File("inject.ini");
    ASSERT_TRUE(WriteSettings(editor, path));
    ASSERT_EQ(ReadSettings(editor, path), SettingsReadStatus::Read);
    EXPECT_FALSE(editor.settings.SaveSettings);
    ASSERT_EQ(editor.directoryDefaults.Count(), 1u);
    EXPECT_EQ(editor.directoryDefaults.At(1).OldDirectory, "C:\\ASave Settings=yes");
}

}  // namespace
}  // namespace tessvane
