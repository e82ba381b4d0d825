// The Details page: the fields of the current record, validation of typed
// directories and file names, sorting by heading, and Delete.
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include "core/scanner.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

std::vector<std::string> Column(QTableWidget* grid, int column) {
    std::vector<std::string> texts;
    for (int r = 0; r < grid->rowCount(); ++r) {
        texts.push_back(grid->item(r, column) ? grid->item(r, column)->text().toStdString() : "");
    }
    return texts;
}

void ClickHeading(QTableWidget* grid, int x) {
    QTest::mouseClick(grid->horizontalHeader()->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
}

void ClickRow(QTableWidget* grid, int row, Qt::KeyboardModifiers modifiers = {}) {
    const QRect cell = grid->visualRect(grid->model()->index(row, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cell.center());
}

void SelectRow(QTableWidget* grid, int row) {
    ClickRow(grid, row);
}

class DetailsTest : public WindowTest {
  protected:
    QTableWidget* grid = nullptr;

    void StartWithSettings(const std::string& settings) {
        const std::string ini = dir.File("Tessvane.ini");
        WriteFileBytes(ini, Bytes(settings.begin(), settings.end()));
        Start();
        grid = Find<QTableWidget>("PathDetailList");
        ShowPage(Page::Details);
    }
};

TEST_F(DetailsTest, TypedDirectoriesAreCheckedWhenValidationIsOn) {
    std::filesystem::create_directories(dir.path() / "maps");
    std::filesystem::create_directories(dir.path() / "Imagine/Textures");
    WriteFileBytes(dir.File("Imagine/Textures/wood.iff"), {1});
    StartWithSettings(
        "[VANE]\r\nValidate Directory=yes\r\nValidate Files=yes\r\nImagine Directory=" + dir.Dir() +
        "Imagine\r\n");
    Load(MakeFile("v.iob", IffBuilder("TDDD")
                               .Chunk("TXT1", chunks::Txt1("C:\\OLD\\wood.iff"))
                               .Chunk("BRS1", chunks::Brs1("C:\\OLD\\brick.iff"))
                               .Build()));

    struct Case {
        int row;
        std::string typed;
        std::string message;  // empty: accepted
    };
    const std::vector<Case> cases = {
        {0, dir.Dir() + "nowhere", "Directory does not exist"},
        {0, dir.Dir() + "maps", "Texture File does not exist in this Directory"},
        {1, dir.Dir() + "maps", "Brush File does not exist in this Directory"},
        // Found under the Imagine directory; the typed text is what is stored.
        {0, "Textures", ""},
        {0, dir.Dir() + "Imagine/Textures", ""},
    };
    for (const Case& c : cases) {
        SelectRow(grid, c.row);
        PathRecord& record = context.file.Paths.AtDisplay(static_cast<std::size_t>(c.row) + 1);
        const std::string before(record.NewDirectory.view());
        const std::size_t messages = dialogs.core.messages.size();
        TypeEnter("Details_NewPath", c.typed);
        if (c.message.empty()) {
            EXPECT_EQ(dialogs.core.messages.size(), messages) << c.typed;
            EXPECT_EQ(record.NewDirectory, c.typed);
            EXPECT_TRUE(Enabled("ResetButton2"));
        } else {
            ASSERT_EQ(dialogs.core.messages.size(), messages + 1) << c.typed;
            EXPECT_EQ(dialogs.core.messages.back().text, c.message);
            EXPECT_EQ(record.NewDirectory, before) << c.typed;
            EXPECT_EQ(Text("Details_NewPath").toStdString(),
                      c.typed);  // the text stays in the field
            // Taken back by the user: a refused text would keep its record
            // on screen when the next case chooses another row.
            Find<QLineEdit>("Details_NewPath")->setText(QString::fromStdString(before));
        }
        EXPECT_TRUE(Find<QWidget>("NewFileNameEdit")->hasFocus() || !window->isActiveWindow());
    }

    // A typed file name is looked for in the record's new directory.
    SelectRow(grid, 0);
    TypeEnter("NewFileNameEdit", "oak.iff");
    EXPECT_EQ(dialogs.MessageTexts().back(), "Texture File does not exist in this Directory");
    EXPECT_EQ(Text("NewFileNameEdit"), "wood.iff");
    WriteFileBytes(dir.File("Imagine/Textures/oak.iff"), {1});
    TypeEnter("NewFileNameEdit", "oak.iff");
    EXPECT_EQ(context.file.Paths.Record(1).NewFileName, "oak.iff");
    EXPECT_TRUE(Enabled("ResetFileButton"));
    Click("ResetFileButton");
    EXPECT_EQ(context.file.Paths.Record(1).NewFileName, "wood.iff");
    EXPECT_FALSE(Enabled("ResetFileButton"));
    EXPECT_TRUE(Enabled("Update"));
}

TEST_F(DetailsTest, WithoutValidationAndInAmigaModeAnyTextIsStoredAsTyped) {
    StartWithSettings("[VANE]\r\nComputer=Amiga\r\n");
    Load(MakeFile("a.iob",
                  IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("DH0:Textures/wood.iff")).Build()));
    TypeEnter("Details_NewPath", "Work:Nowhere");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "Work:Nowhere");
    TypeEnter("NewFileNameEdit", std::string(40, 'n'));
    EXPECT_EQ(context.file.Paths.Record(1).NewFileName, std::string(32, 'n'));
    EXPECT_TRUE(dialogs.core.messages.empty());
}

TEST_F(DetailsTest, NewPathChoosesAndChecksTheDirectoryByKind) {
    std::filesystem::create_directories(dir.path() / "maps");
    WriteFileBytes(dir.File("maps/wood.iff"), {1});
    StartWithSettings("[VANE]\r\nValidate Directory=yes\r\nValidate Files=yes\r\n");
    Load(MakeFile("k.iob", IffBuilder("TDDD")
                               .Chunk("TXT1", chunks::Txt1("C:\\OLD\\wood.iff"))
                               .Chunk("BRS1", chunks::Brs1("C:\\OLD\\brick.iff"))
                               .Chunk("FIL3", chunks::Fil3("SUB", "C:\\OLD\\sub.iob"))
                               .Build()));

    dialogs.PlanDirectory(dir.Dir() + "maps");
    Click("SelectPath2");
    EXPECT_EQ(dialogs.directoryRequests.back().title, "Select Texture Directory");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, dir.Dir() + "maps");
    EXPECT_TRUE(Enabled("ResetButton2"));

    SelectRow(grid, 1);
    dialogs.PlanDirectory(dir.Dir() + "maps");
    Click("SelectPath2");
    EXPECT_EQ(dialogs.directoryRequests.back().title, "Select Brush Directory");
    EXPECT_EQ(dialogs.MessageTexts().back(), "Brush File does not exist in this directory");
    EXPECT_EQ(context.file.Paths.Record(2).NewDirectory, "C:\\OLD");

    SelectRow(grid, 2);
    dialogs.PlanDirectory(std::nullopt);
    Click("SelectPath2");
    EXPECT_EQ(dialogs.directoryRequests.back().title, "Select Brush/Texture Directory");

    SelectRow(grid, 0);
    EXPECT_EQ(Text("Details_NewPath").toStdString(), dir.Dir() + "maps");
    Click("ResetButton2");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "C:\\OLD");
    EXPECT_EQ(Text("Details_NewPath"), "C:\\OLD");
}

TEST_F(DetailsTest, NewFileNameTakesTheChosenFileAndWithFileValidationItsDirectory) {
    std::filesystem::create_directories(dir.path() / "maps");
    WriteFileBytes(dir.File("maps/oak.iff"), {1});
    StartWithSettings("[VANE]\r\nValidate Directory=yes\r\nValidate Files=yes\r\n");
    Load(MakeFile("f.iob",
                  IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("C:\\OLD\\wood.iff")).Build()));

    dialogs.PlanOpenFile(dir.File("maps/oak.iff"));
    Click("NewFileNameButton");
    const FileDialogRequest& request = dialogs.openRequests.back();
    EXPECT_EQ(request.title, "Select Brush/Texture File");
    EXPECT_EQ(request.fileName, "wood.iff");
    const PathRecord& record = context.file.Paths.Record(1);
    EXPECT_EQ(record.NewFileName, "oak.iff");
    EXPECT_EQ(record.NewDirectory, dir.Dir() + "maps");
    EXPECT_EQ(Text("Details_NewPath").toStdString(), dir.Dir() + "maps");
    EXPECT_TRUE(Enabled("ResetFileButton"));
    EXPECT_TRUE(Enabled("ResetButton2"));
    EXPECT_TRUE(Enabled("Update"));

    // Without file validation only the name is taken.
    Click("DirValidationBox");
    Click("ResetButton2");
    dialogs.PlanOpenFile(dir.File("maps/oak.iff"));
    Click("NewFileNameButton");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "C:\\OLD");
}

TEST_F(DetailsTest, ALongOldDirectoryShowsItsStartAndItsEnd) {
    StartWithSettings("[VANE]\r\n");
    std::string deep = "C:\\IMAGINE";
    for (int i = 0; i < 10; ++i) deep += "\\SUBDIRECTORY" + std::to_string(i);
    Load(MakeFile("l.iob", IffBuilder("TDDD")
                               .Chunk("TXT1", chunks::Txt1(deep + "\\wood.iff"))
                               .Chunk("TXT1", chunks::Txt1("C:\\SHORT\\oak.iff"))
                               .Build()));
    auto* panel = Find<QLabel>("Details_OldPath");
    EXPECT_LE(panel->fontMetrics().horizontalAdvance(panel->text()), panel->contentsRect().width());
    EXPECT_TRUE(panel->text().startsWith("C:\\IMAGINE\\SUB"));
    EXPECT_TRUE(panel->text().endsWith("SUBDIRECTORY9"));
    EXPECT_EQ(panel->toolTip().toStdString(), deep);

    SelectRow(grid, 1);
    EXPECT_EQ(panel->text(), "C:\\SHORT");
    EXPECT_EQ(panel->toolTip(), "C:\\SHORT");
}

TEST_F(DetailsTest, HeadingClicksSortOnceAndRightOfTheColumnsRestoreFileOrder) {
    StartWithSettings("[VANE]\r\n");
    Load(MakeFile("s.iob", IffBuilder("TDDD")
                               .Chunk("NAME", chunks::Name("B"))
                               .Chunk("TXT4", chunks::Txt4("", "zinc", "/t/b.iff"))
                               .Chunk("NAME", chunks::Name("C"))
                               .Chunk("TXT4", chunks::Txt4("", "amber", "/t/A.iff"))
                               .Chunk("NAME", chunks::Name("A"))
                               .Chunk("TXT4", chunks::Txt4("", "moss", "/t/a.iff"))
                               .Build()));
    QHeaderView* header = grid->horizontalHeader();
    const int part = header->sectionViewportPosition(0) + 5;
    const int file = header->sectionViewportPosition(1) + 5;
    const int description = header->sectionViewportPosition(2) + 5;
    const int beyond = header->sectionViewportPosition(2) + header->sectionSize(2) + 10;
    ASSERT_LT(beyond, header->viewport()->width());

    ClickHeading(grid, file);
    EXPECT_EQ(context.editor.shell.SortMode, kSortByOldFileName);
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"A.iff", "a.iff", "b.iff"}));
    ClickHeading(grid, description);
    EXPECT_EQ(Column(grid, 2), (std::vector<std::string>{"amber", "moss", "zinc"}));
    ClickHeading(grid, part);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"A", "B", "C"}));
    // The same heading again changes nothing.
    ClickHeading(grid, part);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"A", "B", "C"}));
    // The fields follow the record under the cursor in the new order.
    EXPECT_EQ(Text("DescEdit"), "moss");
    SelectRow(grid, 2);
    EXPECT_EQ(Text("DescEdit"), "amber");
    SelectRow(grid, 0);
    EXPECT_EQ(Text("DescEdit"), "moss");

    ClickHeading(grid, beyond);
    EXPECT_EQ(context.editor.shell.SortMode, kSortFileOrder);
    EXPECT_EQ(Column(grid, 0), (std::vector<std::string>{"B", "C", "A"}));

    // Descriptions of TXT4 textures are editable and can be reset.
    EXPECT_TRUE(Enabled("DescEdit"));
    SelectRow(grid, 1);
    TypeEnter("DescEdit", "gold leaf");
    EXPECT_EQ(context.file.Paths.Record(2).NewDescription, "gold leaf");
    EXPECT_TRUE(Enabled("ResetDescButton"));
    Click("ResetDescButton");
    EXPECT_EQ(context.file.Paths.Record(2).NewDescription, "amber");
}

// A field that held one character less than a description would hand back a
// shortened text on Enter, and the file would lose the last character.
TEST_F(DetailsTest, AnEighteenCharacterDescriptionSurvivesEnter) {
    StartWithSettings("[VANE]\r\n");
    const std::string eighteen = "Polished brass 18c";
    ASSERT_EQ(eighteen.size(), 18u);
    Load(MakeFile("d.iob", IffBuilder("TDDD")
                               .Chunk("NAME", chunks::Name("D"))
                               .Chunk("TXT4", chunks::Txt4("", eighteen, "/t/d.iff"))
                               .Build()));
    EXPECT_EQ(Text("DescEdit"), QString::fromStdString(eighteen));
    QTest::keyClick(window->findChild<QLineEdit*>("DescEdit"), Qt::Key_Return);
    EXPECT_EQ(context.file.Paths.Record(1).NewDescription, eighteen);
}

TEST_F(DetailsTest, DeleteRemovesTheSelectedRangeAfterAskingAndSavingDropsTheChunks) {
    StartWithSettings("[VANE]\r\n");
    IffBuilder builder("TDDD");
    builder.Chunk("NAME", chunks::Name("SIX"));
    for (int i = 1; i <= 6; ++i)
        builder.Chunk("TXT1", chunks::Txt1("/t/tex" + std::to_string(i) + ".iff"));
    const std::string path = MakeFile("six.iob", builder.Build());
    Load(path);
    ASSERT_EQ(grid->rowCount(), 6);

    ClickRow(grid, 1);
    ClickRow(grid, 3, Qt::ShiftModifier);
    dialogs.core.PlanAnswer(MessageAnswer::No);
    Click("DeleteButton");
    EXPECT_EQ(dialogs.core.messages.back().text, "Delete these Textures/Brushes ? ");
    EXPECT_EQ(dialogs.core.messages.back().buttons, MessageButtons::YesNo);
    EXPECT_EQ(grid->rowCount(), 6);

    dialogs.core.PlanAnswer(MessageAnswer::Yes);
    Click("DeleteButton");
    EXPECT_EQ(Column(grid, 1), (std::vector<std::string>{"tex1.iff", "tex5.iff", "tex6.iff"}));

    Click("SaveButton");
    CoreContext fresh;
    fresh.editor = MakeEditorContext(dir.Dir());
    ASSERT_EQ(ReadObjectFile(fresh, path, false), ReadStatus::Ok);
    ASSERT_EQ(fresh.file.Paths.Count(), 3u);
    EXPECT_EQ(fresh.file.Paths.Record(2).OldFileName, "tex5.iff");
}

TEST_F(DetailsTest, DeletingEveryRowLeavesSaveButEmptiesTheEditingPages) {
    StartWithSettings("[VANE]\r\n");
    const std::string path =
        MakeFile("p.ist", IffBuilder("ISTG")
                              .Chunk("FIL3", chunks::Fil3("ACTOR1", "/o/a.iob"))
                              .Chunk("FIL3", chunks::Fil3("ACTOR2", "/o/b.iob"))
                              .Build());
    Load(path);
    ClickRow(grid, 0);
    ClickRow(grid, 1, Qt::ShiftModifier);
    dialogs.core.PlanAnswer(MessageAnswer::Yes);
    Click("DeleteButton");
    EXPECT_EQ(dialogs.core.messages.back().text, "Delete these Effects/Objects ? ");
    for (const char* name : {"DeleteButton", "SummaryList", "Summary_NewPath", "SelectPath1",
                             "PathDetailList", "Details_NewPath", "PrintButton"}) {
        EXPECT_FALSE(Enabled(name)) << name;
    }
    EXPECT_TRUE(Enabled("SaveButton"));
    EXPECT_TRUE(Text("Details_NewPath").isEmpty());
    EXPECT_EQ(Find<QListWidget>("SummaryList")->count(), 0);

    // What is left of the file is written; with no records the reload finds
    // no paths and the editor has no file any more.
    Click("SaveButton");
    EXPECT_EQ(ReadFileBytes(path), IffBuilder("ISTG").Build());
    EXPECT_EQ(dialogs.MessageTexts().back(), "No Objects or Effects found");
    EXPECT_FALSE(Enabled("SaveButton"));
}

}  // namespace
}  // namespace tessvane::testing
