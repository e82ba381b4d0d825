#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/path_rules.h"
#include "core/scanner.h"
#include "core_fixture.h"

namespace tessvane {
namespace {

using testing::Bytes;
using testing::IffBuilder;
namespace chunks = testing::chunks;

class PathRulesTest : public CoreTest {
  protected:
    void SetUp() override {
        imagine = temp.path() / "IMAGINE";
        std::filesystem::create_directories(imagine / "Textures");
        context.editor.settings.ImagineDirectory = imagine.string();
        context.log = &log;
    }

    // Loads a file whose records have the given paths, as Texture (TXT1) or
    // Brush (BRS1) chunks, all in the object CUBE.
    void LoadPaths(const std::vector<std::string>& textures,
                   const std::vector<std::string>& brushes = {}) {
        IffBuilder b;
        b.Chunk("NAME", chunks::Name("CUBE"));
        for (const auto& t : textures) b.Chunk("TXT1", chunks::Txt1(t));
        for (const auto& p : brushes) b.Chunk("BRS1", chunks::Brs1(p));
        context.log = nullptr;
        ASSERT_EQ(Load(b.Build()), ReadStatus::Ok);
        context.log = &log;
    }

    std::filesystem::path imagine;
};

TEST_F(PathRulesTest, ResolveAndExistenceLookUnderTheImagineDirectory) {
    const std::string I = imagine.string();
    const EditorContext& e = context.editor;
    EXPECT_EQ(ResolveImagineDirectory(e, "Textures", false), I + "\\Textures");
    EXPECT_EQ(ResolveImagineDirectory(e, "Brushes", false), "Brushes");
    EXPECT_EQ(ResolveImagineDirectory(e, "Brushes", true), I);
    EXPECT_TRUE(DirectoryExistsHere(e, "Textures"));
    EXPECT_TRUE(DirectoryExistsHere(e, temp.path().string()));
    EXPECT_TRUE(DirectoryExistsHere(e, I + "\\Textures"));  // '\' read as '/' here
    EXPECT_FALSE(DirectoryExistsHere(e, "Brushes"));
    // Other machines' volumes never exist here.
    for (const char* foreign : {"C:\\IMAGINE", "DH0:Textures", "C:", "Textures:"}) {
        EXPECT_FALSE(DirectoryExistsHere(e, foreign)) << foreign;
    }
    context.editor.settings.ImagineDirectory = I + "/";
    EXPECT_EQ(ResolveImagineDirectory(e, "Textures", false), I + "/Textures");
}

TEST_F(PathRulesTest, ExistenceTestsFindTheOtherMachinesPathsThroughTheVolumeMap) {
    // C: is a directory holding textures/wood.iff; the Imagine Directory is on it.
    const std::filesystem::path c = temp.path() / "dos" / "c";
    std::filesystem::create_directories(c / "textures");
    std::filesystem::create_directories(c / "imagine" / "brushes");
    testing::WriteFileBytes(c / "textures" / "wood.iff", {1});
    Settings& s = context.editor.settings;
    s.Volumes = {{"C:", c.string()}};
    s.ImagineDirectory = "C:\\IMAGINE";
    const EditorContext& e = context.editor;

    EXPECT_TRUE(DirectoryExistsHere(e, "C:\\TEXTURES"));
    EXPECT_TRUE(DirectoryExistsHere(e, "c:\\Textures\\"));
    EXPECT_TRUE(DirectoryExistsHere(e, "Brushes"));  // under the Imagine Directory
    EXPECT_TRUE(DirectoryExistsHere(e, ""));         // the Imagine Directory itself
    EXPECT_TRUE(FileExistsHere(e, "C:\\TEXTURES", "Wood.IFF"));
    EXPECT_TRUE(FileExistsHere(e, "C:\\TEXTURES\\", "wood.iff"));
    EXPECT_FALSE(FileExistsHere(e, "C:\\TEXTURES", "oak.iff"));
    EXPECT_FALSE(FileExistsHere(e, "C:", "TEXTURES"));  // a directory is no file
    EXPECT_FALSE(DirectoryExistsHere(e, "DH1:Textures"));
    EXPECT_FALSE(DirectoryExistsHere(e, "D:\\TEXTURES"));
    EXPECT_EQ(ResolveImagineDirectory(e, "Brushes", false), "C:\\IMAGINE\\Brushes");
    EXPECT_EQ(ResolveImagineDirectory(e, "C:\\TEXTURES", true), "C:\\IMAGINE");

    // A batch asks for neither an existing directory nor an existing texture.
    LoadPaths({"C:\\TEXTURES\\wood.iff", "D:\\TEXTURES\\oak.iff"});
    context.editor.textureDefaults.Append({"stone.iff", "granite.iff", ""});
    ApplyDirectoryDefaults(context, true);
    ApplyTextureDefaults(context, true);
    ASSERT_EQ(ui.directoryPrompts.size(), 1u);
    EXPECT_EQ(ui.directoryPrompts[0].oldDirectory, "D:\\TEXTURES");
    ASSERT_EQ(ui.texturePrompts.size(), 1u);
    EXPECT_EQ(ui.texturePrompts[0].oldTexture, "oak.iff");
}

TEST_F(PathRulesTest, TruncateImagineDirectory) {
    struct Case {
        const char* imagine;
        const char* directory;
        const char* want;
    };
    const Case cases[] = {
        {"C:\\IMAGINE", "C:\\Imagine\\Textures\\Wood", "Textures\\Wood"},
        {"C:\\IMAGINE\\", "C:\\Imagine\\Textures\\Wood", "Textures\\Wood"},
        {"C:\\IMAGINE", "D:\\Maps", "D:\\Maps"},
        {"C:\\IMAGINE", "C:\\IMAGINE", ""},
        {"C:\\IMAGINE", "c:\\imagine", "c:\\imagine"},
        {"DH0:", "DH0:Textures", "Textures"},
        {"C:\\IMAGINE", "C:\\IMAGINE2\\Textures", "C:\\IMAGINE2\\Textures"},  // not inside it
        {"", "\\Textures", "\\Textures"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        context.editor.settings.ImagineDirectory = c.imagine;
        EXPECT_EQ(TruncateImagineDirectory(context.editor, c.directory), c.want)
            << c.imagine << " " << c.directory;
    }
}

TEST_F(PathRulesTest, ComposeRecordPathChoosesTheSeparatorOfTheComputer) {
    struct Case {
        ComputerType computer;
        const char* directory;
        const char* file;
        const char* want;
        bool wrongForm;
    };
    const Case cases[] = {
        {ComputerType::PC, "DH0:Textures", "wood.iff", "DH0:Textures\\wood.iff", false},
        {ComputerType::PC, "", "wood.iff", "wood.iff", false},
        {ComputerType::PC, "DH0:", "wood.iff", "DH0:wood.iff", false},
        {ComputerType::PC, "C:\\", "WOOD.IFF", "C:\\WOOD.IFF", false},
        {ComputerType::PC, "Textures/Wood", "a.iff", "Textures/Wood\\a.iff", true},
        {ComputerType::Amiga, "C:\\TEXTURES", "a.iff", "C:\\TEXTURES/a.iff", true},
        {ComputerType::Amiga, "DH0:Textures", "a.iff", "DH0:Textures/a.iff", false},
        {ComputerType::Amiga, "Work:", "a.iff", "Work:a.iff", false},
    };
    for (const Case& c : cases) {
        context.editor.settings.Computer = c.computer;
        PathRecord r;
        r.NewDirectory = c.directory;
        r.NewFileName = c.file;
        const ComposedPath p = ComposeRecordPath(context, r);
        EXPECT_EQ(p.path, c.want);
        EXPECT_EQ(p.wrongForm, c.wrongForm) << c.want;
    }
    PathRecord longOne;
    longOne.NewDirectory = std::string(250, 'd');
    longOne.NewFileName = "twelve.chars";
    EXPECT_EQ(ComposeRecordPath(context, longOne).path.size(), 255u);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(PathRulesTest, ComposeWithShortDirectoriesLogsTheCutButKeepsTheRecord) {
    context.editor.settings.UseShortDirectory = true;
    context.editor.settings.ImagineDirectory = "C:\\IMAGINE";
    PathRecord r;
    r.PartName = "CUBE";
    r.NewDirectory = "C:\\Imagine\\Textures";
    r.NewFileName = "wood.itx";
    EXPECT_EQ(ComposeRecordPath(context, r).path, "Textures\\wood.itx");
    EXPECT_EQ(r.NewDirectory, "C:\\Imagine\\Textures");
    r.NewDirectory = "C:\\IMAGINE";
    EXPECT_EQ(ComposeRecordPath(context, r).path, "wood.itx");
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{
                  "Object: CUBE >>  Directory : C:\\Imagine\\Textures  Truncated to  Textures",
                  "Object: CUBE >>  Directory : C:\\IMAGINE  Truncated to  ",
              }));
}

TEST_F(PathRulesTest, DirectoryListMatchesWholeDirectoriesInUpperCase) {
    LoadPaths({"c:\\tex\\a.iff", "C:\\TEX\\WOOD\\b.iff"});
    context.editor.directoryDefaults.Append({"C:\\TEX", "D:\\TEX"});
    ApplyDirectoryDefaults(context, false);
    EXPECT_EQ(Record(1).NewDirectory, "D:\\TEX");
    EXPECT_EQ(Record(2).NewDirectory, "C:\\TEX\\WOOD");
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"Object: CUBE >>  Path: c:\\tex  Changed To  D:\\TEX"});
}

TEST_F(PathRulesTest, OnePromptServesEveryRecordWithThatDirectory) {
    context.editor.shell.CurrentFileName = "scene.iob";
    LoadPaths({"X:\\OLD\\a.iff", "x:\\old\\b.iff"}, {"X:\\OLD\\c.iff"});
    ui.PlanDirectory({"X:\\OLD", "D:\\NEW"});
    ApplyDirectoryDefaults(context, true);
    ASSERT_EQ(ui.directoryPrompts.size(), 1u);
    EXPECT_EQ(ui.directoryPrompts[0].caption, "Select New Directory for test.iob");
    EXPECT_EQ(ui.directoryPrompts[0].oldDirectory, "X:\\OLD");
    EXPECT_TRUE(ui.directoryPrompts[0].newDirectory.empty());
    for (std::size_t n = 1; n <= 3; ++n) EXPECT_EQ(Record(n).NewDirectory, "D:\\NEW") << n;
    EXPECT_EQ(context.editor.directoryDefaults.Count(), 1u);
    EXPECT_EQ(log.lines.size(), 3u);
}

TEST_F(PathRulesTest, CancelledPromptAsksAgainForTheNextRecord) {
    LoadPaths({"X:\\OLD\\a.iff", "X:\\OLD\\b.iff"});
    ui.PlanDirectoryCancel();
    ui.PlanDirectory({"X:\\OLD", "D:\\NEW"});
    ApplyDirectoryDefaults(context, true);
    EXPECT_EQ(ui.directoryPrompts.size(), 2u);
    EXPECT_EQ(Record(1).NewDirectory, "X:\\OLD");
    EXPECT_EQ(Record(2).NewDirectory, "D:\\NEW");
}

TEST_F(PathRulesTest, PromptOnlyForDirectoriesThatDoNotExistUnlessAskedForAll) {
    LoadPaths({"Textures\\a.iff"});
    ApplyDirectoryDefaults(context, true);
    EXPECT_TRUE(ui.directoryPrompts.empty());  // exists under the Imagine Directory

    context.editor.settings.PromptIfDirectoryExists = true;
    ApplyDirectoryDefaults(context, true);
    EXPECT_EQ(ui.directoryPrompts.size(), 1u);

    ApplyDirectoryDefaults(context, false);  // never asks without prompting
    EXPECT_EQ(ui.directoryPrompts.size(), 1u);
}

TEST_F(PathRulesTest, PromptAnswerWithAFullListServesTheRecordOnly) {
    LoadPaths({"X:\\OLD\\a.iff"});
    for (int i = 0; i < 1000; ++i)
        context.editor.directoryDefaults.Append({"D" + std::to_string(i), "N"});
    ui.PlanDirectory({"X:\\OLD", "D:\\NEW"});
    ApplyDirectoryDefault(context, 1, true);
    EXPECT_EQ(Record(1).NewDirectory, "D:\\NEW");
    EXPECT_EQ(context.editor.directoryDefaults.Count(), 1000u);
    ApplyDirectoryDefault(context, 0, true);  // out of range: nothing
    ApplyDirectoryDefault(context, 2, true);
    EXPECT_EQ(ui.directoryPrompts.size(), 1u);
}

TEST_F(PathRulesTest, TextureListSetsNameAndDescription) {
    LoadPaths({"C:\\TEX\\wood.iff", "C:\\TEX\\stone.iff"}, {"C:\\TEX\\wood.iff"});
    context.editor.textureDefaults.Append({"WOOD.IFF", "oak.itx", "Oak"});
    ApplyTextureDefaults(context, false);
    EXPECT_EQ(Record(1).NewFileName, "oak.itx");
    EXPECT_EQ(Record(1).NewDescription, "Oak");
    EXPECT_EQ(Record(2).NewFileName, "stone.iff");
    EXPECT_EQ(Record(3).NewFileName, "wood.iff");  // a brush
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Object: CUBE >>  Texture: wood.iff  Changed To  oak.itx",
                             "Object: CUBE >>  Texture Description:   Changed To  Oak",
                         }));
    // Applying again: the description is equal now and is not logged again.
    log.lines.clear();
    ApplyTextureDefaults(context, false);
    EXPECT_EQ(log.lines.size(), 1u);

    // Without Update Texture Descriptions only the name changes.
    context.editor.settings.UpdateTextureDescriptions = false;
    context.editor.textureDefaults.Replace(1, {"WOOD.IFF", "pine.itx", "Pine"});
    ApplyTextureDefaults(context, false);
    EXPECT_EQ(Record(1).NewFileName, "pine.itx");
    EXPECT_EQ(Record(1).NewDescription, "Oak");
}

TEST_F(PathRulesTest, TexturePromptsOnlyForMissingFilesAndNeverWithAnEmptyList) {
    std::filesystem::create_directories(temp.path() / "maps");
    testing::WriteFileBytes(temp.path() / "maps" / "here.iff", {1});
    LoadPaths({temp.path().string() + "/maps/here.iff", temp.path().string() + "/maps/gone.iff"});
    context.editor.shell.TextureDialogDirectory = "/textures/";

    ApplyTextureDefaults(context, true);
    EXPECT_TRUE(ui.texturePrompts.empty());  // empty list: nobody is asked

    context.editor.textureDefaults.Append({"other.iff", "x.iff", ""});
    context.file.Paths.Record(2).NewDescription = "Veined";
    ui.PlanTexture({"gone.iff", "found.iff", "A description longer than 18"});
    ApplyTextureDefaults(context, true);
    ASSERT_EQ(ui.texturePrompts.size(), 1u);
    const TexturePrompt& p = ui.texturePrompts[0];
    EXPECT_EQ(p.caption, "Select New Texture Name for test.iob");
    EXPECT_EQ(p.textureDirectory, "/textures/");
    EXPECT_EQ(p.oldTexture, "gone.iff");
    EXPECT_EQ(p.newTexture, "gone.iff");
    EXPECT_EQ(p.description, "Veined");
    EXPECT_EQ(Record(2).NewFileName, "found.iff");
    EXPECT_EQ(Record(2).NewDescription, "A description long");
    EXPECT_EQ(context.editor.textureDefaults.Count(), 2u);

    // Asked for all: the texture that exists is asked for too; the other is
    // on the list now. A cancelled dialog changes nothing.
    context.editor.settings.PromptIfDirectoryExists = true;
    ui.PlanTextureCancel();
    ApplyTextureDefaults(context, true);
    ASSERT_EQ(ui.texturePrompts.size(), 2u);
    EXPECT_EQ(ui.texturePrompts[1].oldTexture, "here.iff");
    EXPECT_EQ(Record(1).NewFileName, "here.iff");
    EXPECT_EQ(context.editor.textureDefaults.Count(), 2u);
}

TEST_F(PathRulesTest, ApplySuffixes) {
    struct Case {
        PathKind kind;
        std::uint16_t textureSelection, brushSelection;
        const char* specified;
        std::string oldName;
        std::string newName;
        const char* want;
        bool logged;
    };
    const std::string thirty(30, 'm');
    const Case cases[] = {
        {PathKind::Texture, 3, 0, "", "MARBLE", "MARBLE.itx", "MARBLE.itx.itx", true},
        {PathKind::Texture, 3, 0, "", "MARBLE.IFF", "MARBLE.itx", "MARBLE.itx", true},
        {PathKind::Texture, 3, 0, "", "wood.old.iff", "wood.old.iff", "wood.itx", true},
        {PathKind::Texture, 2, 0, "", "WOOD.IFF", "WOOD.IFF", "WOOD.dll", true},
        {PathKind::Texture, 1, 0, "", "WOOD.IFF", "WOOD.IFF", "WOOD", false},
        {PathKind::Brush, 0, 1, "", "brick.iff", "brick.iff", "brick", false},
        {PathKind::Brush, 0, 7, "", "brick.iff", "brick.iff", "brick.jpg", true},
        {PathKind::Brush, 3, 0, "", "brick.iff", "brick.iff", "brick.iff", false},
        {PathKind::Object, 3, 7, "", "ball.iob", "ball.iob", "ball.iob", false},
        // A name the texture list gave the record keeps its new stem.
        {PathKind::Texture, 3, 0, "", "wood.iff", "oak.iff", "oak.itx", true},
        {PathKind::Texture, 3, 0, "", "wood.iff", "oak", "oak.itx", true},
        {PathKind::Texture, 3, 0, "", thirty + ".iff", thirty + ".iff", "", true},
    };
    for (const Case& c : cases) {
        context.editor.settings.TextureSuffixSelection = c.textureSelection;
        context.editor.settings.BrushSuffixSelection = c.brushSelection;
        context.editor.settings.TextureSuffix = c.specified;
        context.editor.settings.BrushSuffix = c.specified;
        ComputeEffectiveSuffixes(context);
        context.file = ObjectFile();
        PathRecord r;
        r.PartName = "P";
        r.Kind = c.kind;
        r.OldFileName = c.oldName;
        r.NewFileName = c.newName;
        context.file.Paths.Records.push_back(r);
        log.lines.clear();
        ApplySuffixes(context);
        const std::string want = *c.want ? c.want : thirty + ".i";  // cut to 32
        EXPECT_EQ(Record(1).NewFileName, want) << c.oldName;
        EXPECT_EQ(log.lines.size(), c.logged ? 1u : 0u) << c.oldName;
    }
    // The old name itself was cut to 32 when it was read.
    EXPECT_EQ(log.lines, std::vector<std::string>{"Object: P >>  Texture Suffix: " + thirty +
                                                  ".i  Changed To  " + thirty + ".i"});
}

TEST_F(PathRulesTest, LogChangeWritesNothingWithoutALog) {
    context.log = nullptr;
    LogChange(context, "CUBE", "Path", "Changed To", "C:\\OLD", "D:\\NEW");
    context.log = &log;
    LogChange(context, "CUBE", "Path", "Changed To", "C:\\OLD", "D:\\NEW");
    EXPECT_EQ(log.lines,
              std::vector<std::string>{"Object: CUBE >>  Path: C:\\OLD  Changed To  D:\\NEW"});
}

}  // namespace
}  // namespace tessvane
