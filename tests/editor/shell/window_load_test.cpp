// Load, the Summary page, Save and Save As.
#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>

#include "core/scanner.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

using LoadTest = WindowTest;

QStringList Headings(QTableWidget* grid) {
    QStringList headings;
    for (int c = 0; c < grid->columnCount(); ++c) headings << grid->horizontalHeaderItem(c)->text();
    return headings;
}

TEST_F(LoadTest, ObjectAndProjectFilesFillBothPagesWithTheirHeadings) {
    const std::string ist =
        MakeFile("scene.ist", IffBuilder("ISTG")
                                  .Chunk("FIL3", chunks::Fil3("ACTOR1", "/objects/ship.iob"))
                                  .Chunk("FIL3", chunks::Fil3("ACTOR2", "/objects/moon.iob"))
                                  .Build());
    const std::string iob = MakeFile("cube.iob", IffBuilder("TDDD")
                                                     .Begin("OBJ ")
                                                     .Begin("DESC")
                                                     .Chunk("NAME", chunks::Name("CUBE"))
                                                     .Chunk("TXT1", chunks::Txt1("/maps/wood.iff"))
                                                     .Chunk("BRS1", chunks::Brs1("/maps/brick.iff"))
                                                     .End()
                                                     .Chunk("TOBJ", {})
                                                     .End()
                                                     .Build());
    Start();
    auto* grid = Find<QTableWidget>("PathDetailList");

    Load(ist);
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].title, "Select Imagine Object File");
    EXPECT_EQ(dialogs.openRequests[0].filter,
              "All Files|*.*|Object Files|*.iob|Project Files|*.ist");
    EXPECT_EQ(dialogs.openRequests[0].fileName, "*.*");
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1  -  scene.ist");
    EXPECT_EQ(Headings(grid), (QStringList{"Name", "File", "Description"}));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 0)->text(), " (ACTOR1)");
    EXPECT_EQ(grid->item(1, 1)->text(), "moon.iob");
    EXPECT_EQ(grid->item(1, 2)->text(), "Object");
    EXPECT_EQ(Find<QListWidget>("SummaryList")->count(), 1);

    Load(iob);
    EXPECT_EQ(dialogs.openRequests[1].directory, dir.Dir());
    EXPECT_EQ(dialogs.openRequests[1].fileName, "scene.ist");
    EXPECT_EQ(Headings(grid), (QStringList{"Part", "Brush/Texture/Object", "Description"}));
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(0, 0)->text(), "CUBE");
    EXPECT_EQ(grid->item(0, 1)->text(), "wood.iff");
    EXPECT_EQ(Text("Details_OldPath"), "/maps");
    EXPECT_EQ(Text("Summary_NewPath"), "/maps");
    for (const char* name :
         {"SummaryList", "Summary_NewPath", "SelectPath1", "PathDetailList", "Details_NewPath",
          "SelectPath2", "NewFileNameButton", "NewFileNameEdit", "PrintButton", "DeleteButton",
          "SaveButton", "UpdateDefPathsButton", "TexFNameUpdateButton"}) {
        EXPECT_TRUE(Enabled(name)) << name;
    }
    for (const char* name : {"ResetButton1", "Update", "DescEdit", "UpdateSuffixButton"}) {
        EXPECT_FALSE(Enabled(name)) << name;
    }
    for (const char* name : {"Save1", "SaveAs1", "Print1"})
        EXPECT_TRUE(Find<QAction>(name)->isEnabled()) << name;
}

TEST_F(LoadTest, AFileWithoutPathsOrAFailedLoadLeavesNothingToSave) {
    const std::string good =
        MakeFile("good.iob", IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("/t/a.iff")).Build());
    const std::string empty =
        MakeFile("empty.iob", IffBuilder("TDDD").Chunk("NAME", chunks::Name("X")).Build());
    const Bytes notIff = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!'};
    const std::string text = MakeFile("notes.txt", notIff);
    Start();

    Load(empty);
    EXPECT_EQ(dialogs.MessageTexts().back(), "No Textures or Brushes found");
    EXPECT_EQ(dialogs.core.messages.back().kind, MessageKind::Information);
    EXPECT_FALSE(Enabled("SaveButton"));
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1");

    // A failed load after a good one: the old file is gone and Save with it,
    // so nothing can write an empty FORM over notes.txt.
    Load(good);
    EXPECT_TRUE(Enabled("SaveButton"));
    Load(text);
    EXPECT_EQ(dialogs.MessageTexts().back(), "notes.txt is not a TDDD Object file.");
    for (const char* name :
         {"SaveButton", "SummaryList", "PathDetailList", "PrintButton", "UpdateDefPathsButton"}) {
        EXPECT_FALSE(Enabled(name)) << name;
    }
    for (const char* name : {"Save1", "SaveAs1", "Print1"})
        EXPECT_FALSE(Find<QAction>(name)->isEnabled()) << name;
    Find<QAction>("Save1")->trigger();
    Find<QAction>("SaveAs1")->trigger();
    EXPECT_EQ(ReadFileBytes(text), notIff);
    EXPECT_TRUE(dialogs.saveRequests.empty());
}

TEST_F(LoadTest, DirectoriesThatDifferOnlyInCaseShareOneSummaryLine) {
    const std::string iob =
        MakeFile("two.iob", IffBuilder("TDDD")
                                .Chunk("NAME", chunks::Name("BOX"))
                                .Chunk("TXT1", chunks::Txt1("C:\\IMAGINE\\TEXTURES\\a.iff"))
                                .Chunk("TXT1", chunks::Txt1("c:\\imagine\\textures\\b.iff"))
                                .Chunk("TXT1", chunks::Txt1("C:\\OTHER\\c.iff"))
                                .Build());
    Start();
    Load(iob);
    auto* list = Find<QListWidget>("SummaryList");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->item(0)->text(), "C:\\IMAGINE\\TEXTURES");

    TypeEnter("Summary_NewPath", "D:\\TEX");
    EXPECT_TRUE(Enabled("Update"));
    EXPECT_TRUE(Enabled("ResetButton1"));
    // Nothing reaches the records before "Update Details".
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "C:\\IMAGINE\\TEXTURES");
    Click("Update");
    EXPECT_FALSE(Enabled("Update"));
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "D:\\TEX");
    EXPECT_EQ(context.file.Paths.Record(2).NewDirectory, "D:\\TEX");
    EXPECT_EQ(context.file.Paths.Record(3).NewDirectory, "C:\\OTHER");
    // The Details page shows the record's new directory when it comes to the front.
    Find<QAction>("Details1")->trigger();
    EXPECT_EQ(Text("Details_NewPath"), "D:\\TEX");
    EXPECT_TRUE(Enabled("ResetButton2"));
    Find<QAction>("Summary1")->trigger();

    // Clicking the line shows its new directory; Reset Path undoes it.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(Text("Summary_NewPath"), "C:\\OTHER");
    EXPECT_FALSE(Enabled("ResetButton1"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(Text("Summary_NewPath"), "D:\\TEX");
    EXPECT_TRUE(Enabled("ResetButton1"));
    Click("ResetButton1");
    EXPECT_EQ(Text("Summary_NewPath"), "C:\\IMAGINE\\TEXTURES");
    EXPECT_FALSE(Enabled("ResetButton1"));
    EXPECT_TRUE(Enabled("Update"));

    // With directory validation on, a directory that is not here is refused.
    context.editor.settings.ValidateDirectory = true;
    TypeEnter("Summary_NewPath", dir.File("nowhere"));
    EXPECT_EQ(dialogs.MessageTexts().back(), "Directory does not exist");
    EXPECT_EQ(context.file.Summary[0].NewDirectory, "C:\\IMAGINE\\TEXTURES");
    EXPECT_EQ(Text("Summary_NewPath").toStdString(), dir.File("nowhere"));
}

TEST_F(LoadTest, SelectPathTruncatesImagineSubDirectoriesWhenAsked) {
    const std::string ini = dir.File("Tessvane.ini");
    const std::string settings =
        "[VANE]\r\nUse Short Directory=yes\r\nImagine Directory=C:\\IMAGINE\r\n";
    WriteFileBytes(ini, Bytes(settings.begin(), settings.end()));
    const std::string iob = MakeFile(
        "t.iob", IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("OLD:maps/wood.iff")).Build());
    Start();
    Load(iob);

    dialogs.PlanDirectory("C:\\Imagine\\Textures");
    Click("SelectPath1");
    ASSERT_EQ(dialogs.directoryRequests.size(), 1u);
    EXPECT_EQ(dialogs.directoryRequests[0].title, "Select Brush/Texture Directory");
    // OLD:maps exists nowhere: the chooser starts at the Imagine directory.
    EXPECT_EQ(dialogs.directoryRequests[0].start, "C:\\IMAGINE");
    EXPECT_EQ(Text("Summary_NewPath"), "Textures");
    EXPECT_EQ(context.file.Summary[0].NewDirectory, "Textures");
    EXPECT_TRUE(Enabled("Update"));
    EXPECT_TRUE(Enabled("ResetButton1"));

    dialogs.PlanDirectory(std::nullopt);
    Click("SelectPath1");
    EXPECT_EQ(Text("Summary_NewPath"), "Textures");
}

class SaveTest : public WindowTest {
  protected:
    std::string object;
    Bytes original;

    void SetUp() override {
        original = IffBuilder("TDDD")
                       .Begin("OBJ ")
                       .Begin("DESC")
                       .Chunk("NAME", chunks::Name("CUBE"))
                       .Chunk("TXT1", chunks::Txt1(dir.Dir() + "old/wood.iff"))
                       .End()
                       .Chunk("TOBJ", {})
                       .End()
                       .Build();
        object = MakeFile("cube.iob", original);
        Start();
        Load(object);
    }

    // What a fresh read of `path` finds as the first record's directory.
    std::string DirectoryInFile(const std::string& path) {
        CoreContext fresh;
        fresh.editor = MakeEditorContext(dir.Dir());
        EXPECT_EQ(ReadObjectFile(fresh, path, false), ReadStatus::Ok);
        return fresh.file.Paths.Count() > 0
                   ? std::string(fresh.file.Paths.Record(1).OldDirectory.view())
                   : "";
    }
};

TEST_F(SaveTest, SaveKeepsABackupAndReadsTheWrittenFileAgain) {
    TypeEnter("Details_NewPath", "/new/maps");
    Click("SaveButton");
    EXPECT_EQ(ReadFileBytes(dir.File("cube.bak")), original);
    EXPECT_EQ(DirectoryInFile(object), "/new/maps");
    // Reloaded: the old directory shown is now the one written.
    EXPECT_EQ(Text("Details_OldPath"), "/new/maps");
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1  -  cube.iob");

    Click("SaveButton");
    EXPECT_TRUE(std::filesystem::exists(dir.File("cube.000")));
}

TEST_F(SaveTest, WithoutReloadTheEditorStaysOnTheRecordsAsTheyWere) {
    Click("SaveUpdate");
    TypeEnter("Details_NewPath", "/new/maps");
    Click("SaveButton");
    EXPECT_EQ(DirectoryInFile(object), "/new/maps");
    EXPECT_EQ(Text("Details_OldPath").toStdString(), dir.Dir() + "old");
}

TEST_F(SaveTest, AFailedWriteKeepsTheEditsAndTheFileHeldInsteadOfReloading) {
    ShowPage(Page::Details);
    TypeEnter("Details_NewPath", "/new/maps");

    // Save As into a directory that does not exist: nothing is written, and
    // the editor stays on cube.iob with the typed directory.
    dialogs.PlanSaveFile(dir.File("missing/copy.iob"));
    Find<QAction>("SaveAs1")->trigger();
    EXPECT_EQ(dialogs.MessageTexts().back(), "Unable to Save cube.iob");
    EXPECT_EQ(context.editor.shell.CurrentFilePath, object);
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1  -  cube.iob");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "/new/maps");
    EXPECT_TRUE(Enabled("SaveButton"));

    // The file's directory is gone: Save cannot write, and the edits stay.
    const std::size_t messages = dialogs.core.messages.size();
    std::filesystem::remove_all(dir.path());
    Click("SaveButton");
    std::filesystem::create_directories(dir.path());
    EXPECT_GT(dialogs.core.messages.size(), messages);
    EXPECT_EQ(dialogs.MessageTexts().back(), "Unable to Save cube.iob");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "/new/maps");
    EXPECT_EQ(Text("Details_NewPath"), "/new/maps");
    EXPECT_TRUE(Enabled("SaveButton"));
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1  -  cube.iob");
}

TEST_F(SaveTest, SaveAsAppliesTheSummaryPageWhenItIsInFrontAndMovesToTheNewFile) {
    TypeEnter("Summary_NewPath", "/from/summary");
    const std::string target = dir.File("copy.iob");
    dialogs.PlanSaveFile(target);
    Find<QAction>("SaveAs1")->trigger();
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Save Imagine Object File");
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "cube.iob");
    EXPECT_EQ(dialogs.saveRequests[0].filter, "All Files|*.*");
    EXPECT_EQ(dialogs.saveRequests[0].defaultSuffix, "new");
    EXPECT_EQ(DirectoryInFile(target), "/from/summary");
    EXPECT_EQ(ReadFileBytes(object), original);
    EXPECT_EQ(context.editor.shell.CurrentFilePath, target);
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1  -  copy.iob");

    // Cancelled: nothing written.
    dialogs.PlanSaveFile(std::nullopt);
    Find<QAction>("SaveAs1")->trigger();
    EXPECT_FALSE(std::filesystem::exists(dir.File("copy.bak")));
}

}  // namespace
}  // namespace tessvane::testing
