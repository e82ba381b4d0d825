// The window never loses the user's work: unsaved changes are offered for
// saving before the held file is dropped, texts typed and not confirmed are
// entered first, and what cannot be stored is not offered for editing.
#include <QAction>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <functional>

#include "window_fixture.h"

namespace tessvane::testing {
namespace {

bool Holds(const std::string& path, const std::string& text) {
    const Bytes bytes = ReadFileBytes(path);
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

class UnsavedTest : public WindowTest {
  protected:
    // ship.iob: a texture with a description field (TXT4) and a brush without
    // one (BRS1), in two directories.
    std::string MakeShip() {
        return MakeFile("ship.iob",
                        IffBuilder("TDDD")
                            .Chunk("NAME", chunks::Name("HULL"))
                            .Chunk("TXT4", chunks::Txt4("", "Plates", "C:\\TEX\\hull.iff"))
                            .Chunk("BRS1", chunks::Brs1("C:\\BRUSH\\rust.iff"))
                            .Build());
    }

    void StartWith(const std::string& settings = "[VANE]\r\n") {
        WriteFileBytes(dir.File("Tessvane.ini"), Bytes(settings.begin(), settings.end()));
        Start();
    }

    // A new window on a fresh program state, for the next case of a table.
    void Restart() {
        window.reset();
        context.file = ObjectFile();
        dialogs = ScriptedDialogService();
        context.ui = &dialogs;
        std::filesystem::remove(dir.File("ship.bak"));
        StartWith();
    }

    void ClickRow(const char* grid_name, int row) {
        auto* grid = Find<QTableWidget>(grid_name);
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }

    std::vector<std::string> Questions() const {
        std::vector<std::string> texts;
        for (const Message& m : dialogs.core.messages) {
            if (m.buttons == MessageButtons::YesNoCancel) texts.push_back(m.text);
        }
        return texts;
    }

    PathRecord& Record(std::size_t position) { return context.file.Paths.AtDisplay(position); }
};

// Every way of dropping the held file, with what shows that it went ahead.
struct Trigger {
    const char* name;
    std::function<void()> act;
    std::function<bool()> wentAhead;
};

TEST_F(UnsavedTest, EveryWayOfDroppingTheFileAsksAndEachAnswerDoesWhatItSays) {
    const auto closed = [this] { return !window->isVisible(); };
    const std::vector<Trigger> triggers = {
        {"Escape",
         [this] {
             window->activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
             QTest::keyClick(window.get(), Qt::Key_Escape);
         },
         closed},
        {"Exit button", [this] { Click("CloseButton"); }, closed},
        {"File Exit", [this] { Find<QAction>("Exit1")->trigger(); }, closed},
        {"close box", [this] { window->close(); }, closed},
        {"Load",
         [this] {
             dialogs.PlanOpenFile(std::nullopt);
             Click("Loadbutton");
         },
         [this] { return dialogs.openRequests.size() == 2; }},
        {"batch run",
         [this] {
             ShowPage(Page::Batch);
             dialogs.PlanOpenFiles({dir.File("other.iob")});
             Click("SelectFilesButton");
             Click("ProcessButton");
         },
         [this] { return !context.file.Loaded; }},
    };
    for (const Trigger& trigger : triggers) {
        for (const MessageAnswer answer :
             {MessageAnswer::Cancel, MessageAnswer::No, MessageAnswer::Yes}) {
            SCOPED_TRACE(std::string(trigger.name) + " answered " +
                         (answer == MessageAnswer::Yes  ? "Yes"
                          : answer == MessageAnswer::No ? "No"
                                                        : "Cancel"));
            const std::string ship = MakeShip();
            Restart();
            Load(ship);
            ShowPage(Page::Details);
            TypeEnter("Details_NewPath", "D:\\NEW");
            dialogs.core.PlanAnswer(answer);
            trigger.act();

            EXPECT_EQ(Questions(), std::vector<std::string>{"Save changes to ship.iob?"});
            EXPECT_EQ(trigger.wentAhead(), answer != MessageAnswer::Cancel);
            EXPECT_EQ(Holds(ship, "D:\\NEW"), answer == MessageAnswer::Yes);
            EXPECT_EQ(std::filesystem::exists(dir.File("ship.bak")), answer == MessageAnswer::Yes);
            if (answer == MessageAnswer::Cancel) {
                // Everything as it was: the file held, the edit in it.
                EXPECT_TRUE(window->isVisible());
                EXPECT_TRUE(context.file.Loaded);
                EXPECT_EQ(Record(1).NewDirectory.str(), "D:\\NEW");
                EXPECT_TRUE(Enabled("SaveButton"));
            }
        }
    }
}

TEST_F(UnsavedTest, NothingAsksWhileTheFileIsAsReadOrLastWritten) {
    const std::string ship = MakeShip();
    StartWith();
    Load(ship);
    ShowPage(Page::Details);
    // An edit taken back is no change.
    TypeEnter("Details_NewPath", "D:\\NEW");
    Click("ResetButton2");
    dialogs.PlanOpenFile(ship);
    Click("Loadbutton");
    EXPECT_TRUE(Questions().empty());

    // Saved, with and without reading the file again.
    TypeEnter("Details_NewPath", "D:\\NEW");
    Click("SaveButton");
    dialogs.PlanOpenFile(std::nullopt);
    Click("Loadbutton");
    ShowPage(Page::Options);
    Click("SaveUpdate");
    ASSERT_FALSE(context.editor.shell.WorkingReloadAfterSave);
    ShowPage(Page::Details);
    TypeEnter("NewFileNameEdit", "steel.iff");
    Click("SaveButton");
    window->close();
    EXPECT_TRUE(Questions().empty());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(Holds(ship, "steel.iff"));
}

TEST_F(UnsavedTest, ASaveThatFailsDropsNothing) {
    std::filesystem::create_directories(dir.path() / "gone");
    const std::string ship = dir.File("gone/ship.iob");
    WriteFileBytes(ship, ReadFileBytes(MakeShip()));
    StartWith();
    Load(ship);
    TypeEnter("Details_NewPath", "D:\\NEW");
    std::filesystem::remove_all(dir.path() / "gone");

    dialogs.core.PlanAnswer(MessageAnswer::Yes);
    window->close();
    EXPECT_EQ(Questions(), std::vector<std::string>{"Save changes to ship.iob?"});
    ASSERT_EQ(dialogs.core.messages.size(), 2u) << "the failed write tells why";
    EXPECT_EQ(dialogs.core.messages[1].buttons, MessageButtons::Ok);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(context.file.Loaded);
    EXPECT_EQ(Record(1).NewDirectory.str(), "D:\\NEW");
}

// A text typed into a Details field and not confirmed with Enter reaches the
// file all the same.
TEST_F(UnsavedTest, SaveEntersWhatWasTypedIntoTheDetailsFields) {
    struct Case {
        const char* field;
        std::string typed;
    };
    const std::vector<Case> cases = {
        {"Details_NewPath", "D:\\ART\\HULL"},
        {"NewFileNameEdit", "steel.iff"},
        {"DescEdit", "Steel Hull"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.field);
        const std::string ship = MakeShip();
        Restart();
        Load(ship);
        ShowPage(Page::Details);
        TypeOnly(c.field, c.typed);
        Click("SaveButton");
        EXPECT_TRUE(Holds(ship, c.typed));
        EXPECT_TRUE(dialogs.core.messages.empty()) << dialogs.core.messages[0].text;
    }
}

TEST_F(UnsavedTest, TypedTextsAreEnteredOnRecordSwitchSortAndPageChange) {
    const std::string ship = MakeShip();
    StartWith();
    Load(ship);
    ShowPage(Page::Details);

    // Another row clicked: the record left keeps what was typed for it.
    TypeOnly("NewFileNameEdit", "steel.iff");
    ClickRow("PathDetailList", 1);
    EXPECT_EQ(Record(1).NewFileName.str(), "steel.iff");
    EXPECT_EQ(Text("NewFileNameEdit"), "rust.iff") << "the row clicked is shown";

    // Moved with the cursor keys.
    TypeOnly("Details_NewPath", "D:\\BRUSH");
    auto* grid = Find<QTableWidget>("PathDetailList");
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Up);
    EXPECT_EQ(Record(2).NewDirectory.str(), "D:\\BRUSH");
    EXPECT_EQ(grid->currentRow(), 0);

    // Another page in front and back: the fields show the record afresh, and
    // what was typed is in it.
    TypeOnly("DescEdit", "Steel Hull");
    ShowPage(Page::Options);
    ShowPage(Page::Details);
    EXPECT_EQ(Record(1).NewDescription.str(), "Steel Hull");
    EXPECT_EQ(Text("DescEdit"), "Steel Hull");
    EXPECT_TRUE(Enabled("ResetDescButton"));

    // The grid sorted: another record comes under the cursor.
    TypeOnly("Details_NewPath", "E:\\TEX");
    auto* heading = grid->horizontalHeader();
    const QPoint file_heading(heading->sectionViewportPosition(1) + 5, 5);
    QTest::mouseClick(heading->viewport(), Qt::LeftButton, {}, file_heading);
    ASSERT_EQ(context.editor.shell.SortMode, kSortByOldFileName);
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory.str(), "E:\\TEX");
}

TEST_F(UnsavedTest, ARefusedTypedTextStopsTheCommandAndStaysInItsField) {
    const std::string ship = MakeShip();
    const Bytes original = ReadFileBytes(ship);
    StartWith("[VANE]\r\nValidate Directory=yes\r\n");
    Load(ship);
    ShowPage(Page::Details);
    const std::string nowhere = dir.Dir() + "nowhere";
    TypeOnly("Details_NewPath", nowhere);

    Click("SaveButton");
    EXPECT_EQ(dialogs.MessageTexts().back(), "Directory does not exist");
    EXPECT_EQ(ReadFileBytes(ship), original) << "nothing written";

    ClickRow("PathDetailList", 1);
    EXPECT_EQ(Find<QTableWidget>("PathDetailList")->currentRow(), 0) << "the record stays";

    ShowPage(Page::Options);
    EXPECT_EQ(Find<QTabWidget>("TabbedNotebook1")->currentIndex(), TabIndex(Page::Details));

    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(Text("Details_NewPath").toStdString(), nowhere);
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(Record(1).NewDirectory.str(), "C:\\TEX");
}

TEST_F(UnsavedTest, SummaryChangesAreEnteredAndOfferedBeforeTheyCouldBeLost) {
    const std::string question = "Apply the new directories of the Summary page (Update Details)?";
    struct Case {
        MessageAnswer answer;
        bool written;  // the new directory reaches the file
        bool saved;    // the file was written at all
    };
    const std::vector<Case> cases = {
        {MessageAnswer::Yes, true, true},
        {MessageAnswer::No, false, true},
        {MessageAnswer::Cancel, false, false},
    };
    for (const Case& c : cases) {
        const std::string ship = MakeShip();
        Restart();
        Load(ship);
        // Typed, not entered, then Save from another page.
        TypeOnly("Summary_NewPath", "D:\\MAPS");
        ShowPage(Page::Details);
        dialogs.core.PlanAnswer(c.answer);
        Click("SaveButton");
        EXPECT_EQ(Questions().back(), question);
        EXPECT_EQ(Holds(ship, "D:\\MAPS"), c.written);
        EXPECT_EQ(std::filesystem::exists(dir.File("ship.bak")), c.saved);
    }

    // Another line chosen: the typed directory stays with its line; closing
    // offers it, then the changes it made.
    const std::string ship = MakeShip();
    Restart();
    Load(ship);
    TypeOnly("Summary_NewPath", "D:\\MAPS");
    auto* list = Find<QListWidget>("SummaryList");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(context.file.Summary[0].NewDirectory.str(), "D:\\MAPS");
    EXPECT_EQ(list->currentRow(), 1);
    dialogs.core.PlanAnswer(MessageAnswer::Yes);
    dialogs.core.PlanAnswer(MessageAnswer::Yes);
    window->close();
    EXPECT_EQ(Questions(), (std::vector<std::string>{question, "Save changes to ship.iob?"}));
    EXPECT_TRUE(Holds(ship, "D:\\MAPS"));
}

TEST_F(UnsavedTest, TheDescriptionFieldIsOpenOnlyForChunksWithADescription) {
    const std::string mixed =
        MakeFile("mixed.iob", IffBuilder("TDDD")
                                  .Chunk("NAME", chunks::Name("HULL"))
                                  .Chunk("TXT1", chunks::Txt1("C:\\TEX\\a.iff"))
                                  .Chunk("TXT4", chunks::Txt4("", "Plates", "C:\\TEX\\b.iff"))
                                  .Chunk("BRS1", chunks::Brs1("C:\\BRUSH\\c.iff"))
                                  .Chunk("BRS5", chunks::Brs5("", "Rust", "C:\\BRUSH\\d.iff"))
                                  .Build());
    StartWith();
    Load(mixed);
    ShowPage(Page::Details);
    const std::vector<bool> open = {false, true, false, true};
    for (int row = 0; row < 4; ++row) {
        ClickRow("PathDetailList", row);
        EXPECT_EQ(Enabled("DescEdit"), open[std::size_t(row)]) << "row " << row;
    }
    // A BRS1 brush: nothing to type into, nothing lit, nothing to save.
    ClickRow("PathDetailList", 2);
    EXPECT_FALSE(Enabled("ResetDescButton"));
    window->close();
    EXPECT_TRUE(Questions().empty());
}

TEST_F(UnsavedTest, ResetButtonsShowWhatDiffersAfterASaveOrAnotherLoad) {
    const std::string ship = MakeShip();
    StartWith();
    Load(ship);
    ShowPage(Page::Details);
    TypeEnter("Details_NewPath", "D:\\NEW");
    TypeEnter("NewFileNameEdit", "steel.iff");
    TypeEnter("DescEdit", "Steel Hull");
    ShowPage(Page::Summary);
    TypeEnter("Summary_NewPath", "D:\\MAPS");
    const std::vector<const char*> resets = {"ResetButton1", "ResetButton2", "ResetFileButton",
                                             "ResetDescButton", "Update"};
    for (const char* name : resets) ASSERT_TRUE(Enabled(name)) << name;

    // Saved and read again: the record shown is what the file now says.
    dialogs.core.PlanAnswer(MessageAnswer::No);
    Click("SaveButton");
    for (const char* name : resets) EXPECT_FALSE(Enabled(name)) << name << " after the save";

    TypeEnter("Summary_NewPath", "D:\\OTHER");
    ShowPage(Page::Details);
    TypeEnter("NewFileNameEdit", "iron.iff");
    dialogs.core.PlanAnswer(MessageAnswer::No);
    dialogs.core.PlanAnswer(MessageAnswer::No);
    Load(ship);
    for (const char* name : resets) EXPECT_FALSE(Enabled(name)) << name << " after a load";
}

}  // namespace
}  // namespace tessvane::testing
