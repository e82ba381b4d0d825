// The Directory Defaults and Texture Filenames pages of the real window:
// buttons, keys and heading presses, with the real list dialogs answered by
// typing into them.
#include <QApplication>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <filesystem>

#include "DirUnit2.h"
#include "TexForm.h"
#include "lists_test_dialogs.h"
#include "qt_dialog_service.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

class ListsPageTest : public WindowTest {
  protected:
    void TearDown() override { ExpectEveryAnswerTaken(); }

    // Starts the window (which finds no settings file and says so) with the
    // page in front; messages counts what was shown from then on.
    void StartOnPage(Page page) {
        Start();
        ShowPage(page);
        startMessages_ = dialogs.MessageTexts().size();
    }

    std::size_t NewMessages() const { return dialogs.MessageTexts().size() - startMessages_; }

    void DoubleClickRow(const char* grid_name, int row) {
        auto* grid = Find<QTableWidget>(grid_name);
        const QPoint at = grid->visualRect(grid->model()->index(row, 0)).center();
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
    }

    std::size_t startMessages_ = 0;

    void SetDirectories(const std::vector<std::pair<std::string, std::string>>& entries) {
        context.editor.directoryDefaults.Clear();
        for (const auto& [old_dir, new_dir] : entries)
            context.editor.directoryDefaults.Append({old_dir, new_dir});
        window->SetDefDirectoryList();
    }

    std::vector<std::string> NewDirectories() const {
        std::vector<std::string> texts;
        for (const auto& e : context.editor.directoryDefaults.Entries())
            texts.push_back(e.NewDirectory.str());
        return texts;
    }

    // Texts of the grid's rows below the heading, columns joined by '|'.
    QStringList GridRows(const char* name) {
        auto* grid = Find<QTableWidget>(name);
        QStringList rows;
        for (int r = 0; r < grid->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < grid->columnCount(); ++c)
                cells << (grid->item(r, c) ? grid->item(r, c)->text() : QString());
            rows << cells.join('|');
        }
        return rows;
    }

    void PressHeading(const char* grid_name, int column) {
        QHeaderView* heading = Find<QTableWidget>(grid_name)->horizontalHeader();
        const int x = column < heading->count() ? heading->sectionViewportPosition(column) + 5
                                                : heading->length() + 5;  // beside the last column
        QTest::mousePress(heading->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
        QTest::mouseRelease(heading->viewport(), Qt::LeftButton, {}, QPoint(x, 5));
    }
};

TEST_F(ListsPageTest, EntryWithOnlyANewDirectoryRetargetsPathsWithoutDirectory) {
    const std::string iob =
        MakeFile("chair.iob", IffBuilder("TDDD")
                                  .Chunk("NAME", chunks::Name("CHAIR"))
                                  .Chunk("TXT1", chunks::Txt1("wood.iff"))
                                  .Chunk("TXT1", chunks::Txt1("/maps/brick.iff"))
                                  .Build());
    StartOnPage(Page::DirectoryDefaults);
    Load(iob);

    // Cancel, and Accept with both fields empty, add nothing.
    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        Retype(d, "NewDirEdit", "/ignored");
        Press(d, "CancelButton");
    });
    Click("AddDirButton");
    WhenShown<TDefDirSelect>([](TDefDirSelect& d) { Press(d, "AcceptButton"); });
    Click("AddDirButton");
    EXPECT_TRUE(context.editor.directoryDefaults.Empty());
    EXPECT_FALSE(Enabled("DefaultDirList"));

    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        EXPECT_EQ(d.windowTitle(), "Select Directories");
        EXPECT_TRUE(d.OldDirectory().isEmpty());
        Retype(d, "NewDirEdit", "/new/maps");
        Press(d, "AcceptButton");
    });
    Click("AddDirButton");
    ASSERT_EQ(context.editor.directoryDefaults.Count(), 1u);
    EXPECT_EQ(context.editor.directoryDefaults.At(1).OldDirectory, "");
    EXPECT_EQ(GridRows("DefaultDirList"), QStringList{"|/new/maps"});
    for (const char* name : {"DefaultDirList", "EditDirButton", "DeleteDirButton", "DirClearButton",
                             "UpdateDefPathsButton"})
        EXPECT_TRUE(Enabled(name)) << name;

    Click("UpdateDefPathsButton");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "/new/maps");
    EXPECT_EQ(context.file.Paths.Record(2).NewDirectory, "/maps");
    EXPECT_TRUE(Enabled("UpdateDefPathsButton"));
    EXPECT_EQ(NewMessages(), 0u);
}

TEST_F(ListsPageTest, EditCancelLeavesTheEntryAndAcceptStoresEvenEmptyTexts) {
    StartOnPage(Page::DirectoryDefaults);
    SetDirectories({{"C:\\ONE", "D:\\ONE"}, {"C:\\TWO", "D:\\TWO"}});
    auto* grid = Find<QTableWidget>("DefaultDirList");
    grid->setCurrentCell(1, 0);

    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        EXPECT_EQ(d.OldDirectory(), "C:\\TWO");
        EXPECT_EQ(d.NewDirectory(), "D:\\TWO");
        Retype(d, "OldDirEdit", "changed");
        Press(d, "CancelButton");
    });
    Click("EditDirButton");
    EXPECT_EQ(GridRows("DefaultDirList"), (QStringList{"C:\\ONE|D:\\ONE", "C:\\TWO|D:\\TWO"}));

    // A double click on the row edits it too.
    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        Retype(d, "OldDirEdit", "");
        Retype(d, "NewDirEdit", "");
        Press(d, "AcceptButton");
    });
    DoubleClickRow("DefaultDirList", 1);
    ASSERT_EQ(context.editor.directoryDefaults.Count(), 2u);
    EXPECT_EQ(context.editor.directoryDefaults.At(2).OldDirectory, "");
    EXPECT_EQ(context.editor.directoryDefaults.At(2).NewDirectory, "");
    EXPECT_EQ(GridRows("DefaultDirList"), (QStringList{"C:\\ONE|D:\\ONE", "|"}));
    EXPECT_EQ(grid->currentRow(), 1);
}

TEST_F(ListsPageTest, DeleteSelectsTheRowAboveAndTheGridKeysWork) {
    StartOnPage(Page::DirectoryDefaults);
    SetDirectories({{"1", "a"}, {"2", "b"}, {"3", "c"}, {"4", "d"}, {"5", "e"}});
    auto* grid = Find<QTableWidget>("DefaultDirList");

    grid->setCurrentCell(2, 0);
    Click("DeleteDirButton");
    EXPECT_EQ(NewDirectories(), (std::vector<std::string>{"a", "b", "d", "e"}));
    EXPECT_EQ(grid->currentRow(), 1) << "the third of five deleted: row 2 is selected";

    // The Delete key removes the current entry without asking; deleting the
    // first leaves the first selected.
    grid->setCurrentCell(0, 0);
    QTest::keyClick(grid, Qt::Key_Delete);
    EXPECT_EQ(NewDirectories(), (std::vector<std::string>{"b", "d", "e"}));
    EXPECT_EQ(grid->currentRow(), 0);
    EXPECT_EQ(NewMessages(), 0u);

    // Enter edits the current entry, Insert adds one.
    grid->setCurrentCell(2, 0);
    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        EXPECT_EQ(d.NewDirectory(), "e");
        Retype(d, "NewDirEdit", "E");
        Press(d, "AcceptButton");
    });
    QTest::keyClick(grid, Qt::Key_Return);
    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        EXPECT_TRUE(d.NewDirectory().isEmpty());
        Retype(d, "OldDirEdit", "6");
        Retype(d, "NewDirEdit", "f");
        Press(d, "AcceptButton");
    });
    QTest::keyClick(grid, Qt::Key_Insert);
    EXPECT_EQ(NewDirectories(), (std::vector<std::string>{"b", "d", "E", "f"}));
}

TEST_F(ListsPageTest, ClearListEmptiesTheTexturePageAndDisablesItsControls) {
    const std::string iob = MakeFile("ball.iob", IffBuilder("TDDD")
                                                     .Chunk("NAME", chunks::Name("BALL"))
                                                     .Chunk("TXT1", chunks::Txt1("/t/WOOD.IFF"))
                                                     .Chunk("BRS1", chunks::Brs1("/t/wood.iff"))
                                                     .Build());
    StartOnPage(Page::TextureFilenames);
    Load(iob);
    context.editor.textureDefaults.Append({"wood.iff", "oak.itx", "Oak"});
    context.editor.textureDefaults.Append({"x.itx", "y.itx", ""});
    window->SetDefTextureList();
    EXPECT_TRUE(Enabled("TexFNameUpdateButton"));

    // Update Now renames textures only, matching the name in any case.
    Click("TexFNameUpdateButton");
    EXPECT_EQ(context.file.Paths.Record(1).NewFileName, "oak.itx");
    EXPECT_EQ(context.file.Paths.Record(1).NewDescription, "Oak");
    EXPECT_EQ(context.file.Paths.Record(2).NewFileName, "wood.iff");

    Click("ClearButton");
    EXPECT_TRUE(context.editor.textureDefaults.Empty());
    EXPECT_EQ(GridRows("TextureList"), QStringList{"||"});
    for (const char* name :
         {"TextureList", "EditTexButton", "DeleteTexButton", "ClearButton", "TexFNameUpdateButton"})
        EXPECT_FALSE(Enabled(name)) << name;
    EXPECT_TRUE(Enabled("AddTexButton"));
    EXPECT_EQ(NewMessages(), 0u);
}

TEST_F(ListsPageTest, AnEmptyListMarksNoRowOfItsGrid) {
    StartOnPage(Page::DirectoryDefaults);
    for (const char* name : {"DefaultDirList", "TextureList"}) {
        auto* grid = Find<QTableWidget>(name);
        EXPECT_FALSE(grid->selectionModel()->hasSelection()) << name;
        EXPECT_FALSE(grid->currentIndex().isValid()) << name;
    }
    SetDirectories({{"C:\\A", "D:\\A"}});
    auto* grid = Find<QTableWidget>("DefaultDirList");
    EXPECT_TRUE(grid->selectionModel()->isRowSelected(0, {}));
    Click("DirClearButton");
    EXPECT_FALSE(grid->selectionModel()->hasSelection());
    EXPECT_FALSE(grid->currentIndex().isValid());
}

TEST_F(ListsPageTest, HeadingPressSortsAscendingWithCaseIgnored) {
    StartOnPage(Page::DirectoryDefaults);
    SetDirectories({{"x", "D:\\a"}, {"y", "c:\\b"}, {"z", "B:\\c"}});
    PressHeading("DefaultDirList", 1);
    EXPECT_EQ(NewDirectories(), (std::vector<std::string>{"B:\\c", "c:\\b", "D:\\a"}));
    EXPECT_EQ(GridRows("DefaultDirList").first(), "z|B:\\c");

    // Beside the columns nothing is sorted; old-directory order is z, y, x.
    PressHeading("DefaultDirList", 2);
    EXPECT_EQ(NewDirectories(), (std::vector<std::string>{"B:\\c", "c:\\b", "D:\\a"}));
    PressHeading("DefaultDirList", 0);
    EXPECT_EQ(NewDirectories(), (std::vector<std::string>{"D:\\a", "c:\\b", "B:\\c"}));

    // A drag on the border between the headings resizes the first column
    // and leaves the order as it is.
    QHeaderView* heading = Find<QTableWidget>("DefaultDirList")->horizontalHeader();
    const int border = heading->sectionViewportPosition(1);
    QTest::mousePress(heading->viewport(), Qt::LeftButton, {}, QPoint(border, 5));
    const QPointF to(border + 40, 5);
    QMouseEvent drag(QEvent::MouseMove, to, heading->viewport()->mapToGlobal(to), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(heading->viewport(), &drag);
    QTest::mouseRelease(heading->viewport(), Qt::LeftButton, {}, to.toPoint());
    EXPECT_EQ(heading->sectionSize(0), 255 + 40);
    EXPECT_EQ(NewDirectories(), (std::vector<std::string>{"D:\\a", "c:\\b", "B:\\c"}));

    // A one-entry texture list stays as it is.
    ShowPage(Page::TextureFilenames);
    context.editor.textureDefaults.Append({"b", "a", "z"});
    window->SetDefTextureList();
    PressHeading("TextureList", 0);
    EXPECT_EQ(GridRows("TextureList"), QStringList{"b|a|z"});
}

TEST_F(ListsPageTest, TextureAddCutsLongNamesAndRemembersThePickedDirectory) {
    StartOnPage(Page::TextureFilenames);
    context.editor.shell.TextureDialogDirectory = "/imagine/Textures";
    dialogs.PlanOpenFile("/pics/tex/marble.itx");
    const QString forty = QString(40, 'n');

    WhenShown<TDefTextureForm>([&](TDefTextureForm& d) {
        EXPECT_EQ(d.windowTitle(), "Select Textures");
        Press(d, "OldTexButton");
        Retype(d, "NewTexEdit", forty);
        Press(d, "AcceptButton");
    });
    Click("AddTexButton");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].title, "Select Old Texture");
    EXPECT_EQ(dialogs.openRequests[0].directory, "/imagine/Textures");
    ASSERT_EQ(context.editor.textureDefaults.Count(), 1u);
    EXPECT_EQ(context.editor.textureDefaults.At(1).OldTexture, "marble.itx");
    EXPECT_EQ(context.editor.textureDefaults.At(1).NewTexture.str(), std::string(32, 'n'));
    EXPECT_EQ(context.editor.shell.TextureDialogDirectory, "/pics/tex");

    // Edit with both names emptied leaves the entry as it was.
    WhenShown<TDefTextureForm>([](TDefTextureForm& d) {
        EXPECT_EQ(d.TextureDirectory(), "/pics/tex");
        Retype(d, "OldTexEdit", "");
        Retype(d, "NewTexEdit", "");
        Press(d, "AcceptButton");
    });
    Click("EditTexButton");
    EXPECT_EQ(context.editor.textureDefaults.At(1).OldTexture, "marble.itx");
}

TEST_F(ListsPageTest, AFullListRefusesAnotherEntryWithAMessage) {
    StartOnPage(Page::TextureFilenames);
    for (std::size_t i = 0; i < kMaxDefaultEntries; ++i)
        context.editor.textureDefaults.Append({"t" + std::to_string(i), "n", ""});
    window->SetDefTextureList();
    WhenShown<TDefTextureForm>([](TDefTextureForm& d) {
        Retype(d, "OldTexEdit", "one.itx");
        Press(d, "AcceptButton");
    });
    Click("AddTexButton");
    EXPECT_EQ(context.editor.textureDefaults.Count(), kMaxDefaultEntries);
    EXPECT_EQ(NewMessages(), 1u);
    EXPECT_EQ(dialogs.MessageTexts().back(),
              "The texture list is full; no further entry can be added.");
}

TEST_F(ListsPageTest, DirectoryDialogValidatesOnEnterOnlyForAPcAndBrowsesFromTheFieldText) {
    std::filesystem::create_directories(dir.path() / "Textures");
    StartOnPage(Page::DirectoryDefaults);
    Settings& s = context.editor.settings;
    s.ImagineDirectory = dir.Dir();
    s.ValidateDirectory = true;

    // With validation on a PC: a directory under the Imagine directory passes,
    // a missing one is refused and emptied. Browsing starts at the field's
    // directory as typed (the chooser finds it under the Imagine directory),
    // then where the last choice was made.
    dialogs.PlanDirectory(dir.File("picked"));
    dialogs.PlanDirectory(std::nullopt);
    WhenShown<TDefDirSelect>([&](TDefDirSelect& d) {
        auto* old_edit = DialogChild<QLineEdit>(d, "OldDirEdit");
        auto* new_edit = DialogChild<QLineEdit>(d, "NewDirEdit");
        Retype(d, "OldDirEdit", "Textures");
        QTest::keyClick(old_edit, Qt::Key_Return);
        EXPECT_EQ(old_edit->text(), "Textures");
        Retype(d, "NewDirEdit", "/no/such/dir");
        QTest::keyClick(new_edit, Qt::Key_Return);
        EXPECT_TRUE(new_edit->text().isEmpty());
        Press(d, "OldDirButton");
        Retype(d, "NewDirEdit", "/no/such/dir");
        Press(d, "NewDirButton");
        Press(d, "AcceptButton");
    });
    Click("AddDirButton");
    EXPECT_EQ(dialogs.MessageTexts().back(), "Directory does not exist");
    EXPECT_EQ(NewMessages(), 1u);
    ASSERT_EQ(dialogs.directoryRequests.size(), 2u);
    EXPECT_EQ(dialogs.directoryRequests[0].title, "Select Old Directory");
    EXPECT_EQ(dialogs.directoryRequests[0].start, "Textures");
    EXPECT_EQ(dialogs.directoryRequests[1].title, "Select New Directory");
    EXPECT_EQ(dialogs.directoryRequests[1].start, dir.File("picked"));
    ASSERT_EQ(context.editor.directoryDefaults.Count(), 1u);
    EXPECT_EQ(context.editor.directoryDefaults.At(1).OldDirectory, dir.File("picked"));
    EXPECT_EQ(context.editor.directoryDefaults.At(1).NewDirectory, "/no/such/dir");

    // For an Amiga nothing is checked.
    s.Computer = ComputerType::Amiga;
    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        Retype(d, "OldDirEdit", "DH0:Textures");
        QTest::keyClick(DialogChild<QLineEdit>(d, "OldDirEdit"), Qt::Key_Return);
        EXPECT_EQ(d.OldDirectory(), "DH0:Textures");
        Press(d, "CancelButton");
    });
    Click("AddDirButton");
    EXPECT_EQ(NewMessages(), 1u);
}

// The core's prompts, answered with the real dialogs by the program's own
// dialog service.
TEST_F(ListsPageTest, CorePromptsShowTheListDialogsWithTheOldFieldLocked) {
    QtDialogService service;
    service.SetEditor(&context.editor);

    WhenShown<TDefDirSelect>([](TDefDirSelect& d) {
        EXPECT_EQ(d.windowTitle(), "Select New Directory for a.iob");
        EXPECT_FALSE(DialogChild<QLineEdit>(d, "OldDirEdit")->isEnabled());
        EXPECT_FALSE(DialogChild<QAbstractButton>(d, "OldDirButton")->isEnabled());
        EXPECT_EQ(d.OldDirectory(), "C:\\OLD");
        Retype(d, "NewDirEdit", "/new");
        Press(d, "AcceptButton");
    });
    const auto directory = service.PromptDirectoryDefault(
        {"Select New Directory for a.iob", PathText("C:\\OLD"), PathText()});
    ASSERT_TRUE(directory.has_value());
    EXPECT_EQ(directory->OldDirectory, "C:\\OLD");
    EXPECT_EQ(directory->NewDirectory, "/new");

    WhenShown<TDefTextureForm>([](TDefTextureForm& d) {
        EXPECT_FALSE(DialogChild<QLineEdit>(d, "OldTexEdit")->isEnabled());
        EXPECT_EQ(d.TextureDirectory(), "/imagine/Textures");
        EXPECT_EQ(d.NewTexture(), "wood.iff");
        Press(d, "AcceptButton");
    });
    const auto texture = service.PromptTextureDefault(
        {"Select New Texture Name for a.iob", PathText("/imagine/Textures"), NameText("WOOD.IFF"),
         NameText("wood.iff"), DescriptionText("eighteen-chars-xyz")});
    ASSERT_TRUE(texture.has_value());
    EXPECT_EQ(texture->OldTexture, "WOOD.IFF");
    EXPECT_EQ(texture->Description, "eighteen-chars-xyz");

    WhenShown<TDefDirSelect>([](TDefDirSelect& d) { Press(d, "CancelButton"); });
    EXPECT_FALSE(
        service.PromptDirectoryDefault({"x", PathText("C:\\OLD"), PathText()}).has_value());
}

}  // namespace
}  // namespace tessvane::testing
