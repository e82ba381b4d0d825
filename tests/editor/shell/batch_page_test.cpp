// The Batch page of the real window: its options and their enabling rules,
// the file selection, and "Process" with its list lines, progress bar and
// what the window holds afterwards.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTableWidget>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "window_fixture.h"

namespace tessvane::testing {
namespace {

class FixedClock final : public BatchClock {
  public:
    std::string LongTime() const override { return "10:15:30"; }
    std::string ShortDate() const override { return "12/09/26"; }
};

class BatchPageTest : public WindowTest {
  protected:
    void StartOnBatchPage() {
        Start();
        window->SetBatchClock(std::make_unique<FixedClock>());
        ShowPage(Page::Batch);
        startMessages_ = dialogs.MessageTexts().size();
    }

    std::size_t NewMessages() const { return dialogs.MessageTexts().size() - startMessages_; }

    void Select(std::vector<std::string> paths) {
        dialogs.PlanOpenFiles(std::move(paths));
        Click("SelectFilesButton");
    }

    // Clicks a check box on its box: a click right of a short caption misses.
    void Tick(const char* name) {
        auto* box = Find<QCheckBox>(name);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }

    QStringList ListLines() {
        QStringList lines;
        auto* list = Find<QListWidget>("TDDDList");
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

    std::string ObjectWithTexture(const std::string& name, const std::string& texture_path) {
        return MakeFile(name, IffBuilder("TDDD")
                                  .Chunk("NAME", chunks::Name("CUBE"))
                                  .Chunk("TXT1", chunks::Txt1(texture_path))
                                  .Build());
    }

    std::size_t startMessages_ = 0;
};

TEST_F(BatchPageTest, OptionBoxesStoreTheirSettingsAndGateThePromptControls) {
    StartOnBatchPage();
    const Settings& s = context.editor.settings;
    EXPECT_FALSE(Enabled("DirTexPrompt"));
    EXPECT_FALSE(Enabled("PromptList"));

    Tick("DefDirectoryCheck");
    EXPECT_TRUE(s.BatchUseDefaultDirectories);
    EXPECT_TRUE(Enabled("DirTexPrompt"));
    EXPECT_FALSE(Enabled("PromptList"));
    Tick("DirTexPrompt");
    EXPECT_TRUE(s.PromptForNewTexturesDirectory);
    EXPECT_TRUE(Enabled("PromptList"));
    Tick("DefDirectoryCheck");
    EXPECT_FALSE(Enabled("DirTexPrompt"));
    EXPECT_FALSE(Enabled("PromptList"));
    Tick("DefTexCheck");
    EXPECT_TRUE(s.BatchUseDefaultTextures);
    EXPECT_TRUE(Enabled("PromptList"));

    struct Box {
        const char* name;
        const bool* setting;
    };
    for (const Box& box : {Box{"BackupCheck", &s.CreateBackups}, Box{"LogCheck", &s.GenerateLog},
                           Box{"BatchExtCheck", &s.BatchUpdateFileSuffix}}) {
        const bool before = *box.setting;
        Tick(box.name);
        EXPECT_EQ(*box.setting, !before) << box.name;
        EXPECT_EQ(Find<QCheckBox>(box.name)->isChecked(), *box.setting) << box.name;
    }
}

TEST_F(BatchPageTest, SaveDirectoryFieldButtonAndOriginalDirectoryBox) {
    StartOnBatchPage();
    std::filesystem::create_directory(dir.path() / "out");
    const std::string out = dir.File("out");
    const std::string setting = context.editor.settings.SaveDirectory.str();

    TypeEnter("SaveDir", "/no/such/place");
    EXPECT_EQ(Text("SaveDir").toStdString(), setting) << "a missing directory is not taken";
    TypeEnter("SaveDir", out);
    EXPECT_EQ(context.editor.settings.SaveDirectory, out);

    Tick("OriginalDirCheck");
    EXPECT_TRUE(context.editor.shell.SaveInOriginalDirectory);
    EXPECT_TRUE(Text("SaveDir").isEmpty());
    EXPECT_FALSE(Enabled("SaveDir"));
    EXPECT_FALSE(Enabled("SaveDirButton"));
    Tick("OriginalDirCheck");
    EXPECT_EQ(Text("SaveDir").toStdString(), out);
    EXPECT_TRUE(Enabled("SaveDirButton"));

    // The chooser starts in the typed directory when it exists, else where the
    // Load dialog starts; OK fills field and setting.
    Find<QLineEdit>("SaveDir")->setText("/no/such/place");
    dialogs.PlanDirectory(dir.File("chosen"));
    Click("SaveDirButton");
    ASSERT_EQ(dialogs.directoryRequests.size(), 1u);
    EXPECT_EQ(dialogs.directoryRequests[0].title, "Select Object Save Directory");
    EXPECT_EQ(dialogs.directoryRequests[0].start, context.editor.shell.CurrentFileDirectory.str());
    EXPECT_EQ(Text("SaveDir").toStdString(), dir.File("chosen"));
    EXPECT_EQ(context.editor.settings.SaveDirectory, dir.File("chosen"));
}

TEST_F(BatchPageTest, ProcessShowsEachResultMovesTheBarAndLeavesNoFileHeld) {
    const std::string a = ObjectWithTexture("a.iob", "/maps/wood.iff");
    const std::string b =
        MakeFile("b.txt", Bytes{'n', 'o', 't', ' ', 'a', 'n', ' ', 'I', 'F', 'F', '!', '!'});
    const std::string c = dir.File("c.iob");
    StartOnBatchPage();
    context.editor.settings.GenerateLog = true;
    Tick("OriginalDirCheck");

    // A file held in the editor before the run.
    Load(a);
    EXPECT_TRUE(Enabled("SaveButton"));

    Select({a, b, c});
    ASSERT_EQ(dialogs.openRequests.size(), 2u);
    EXPECT_EQ(dialogs.openRequests[1].title, "Select Imagine Object Files");
    EXPECT_EQ(ListLines(), (QStringList{QString::fromStdString(a), QString::fromStdString(b),
                                        QString::fromStdString(c)}));
    EXPECT_EQ(Text("SelectFilesButton"), "Add More Object Files");
    EXPECT_TRUE(Enabled("ProcessButton"));

    QSignalSpy progress(Find<QProgressBar>("ProgressBar1"), &QProgressBar::valueChanged);
    Click("ProcessButton");
    EXPECT_EQ(ListLines(), (QStringList{QString::fromStdString(a + "......ok"),
                                        QString::fromStdString(b + "......Not TDDD"),
                                        QString::fromStdString(c + "......Unable to read")}));
    QList<int> values;
    for (const QList<QVariant>& change : progress) values << change.at(0).toInt();
    EXPECT_EQ(values, (QList<int>{1, 2, 3, 0}));
    EXPECT_FALSE(Enabled("ProgressBar1"));
    EXPECT_EQ(Text("SelectFilesButton"), "Select Object Files");
    EXPECT_TRUE(Enabled("ProcessButton")) << "the same list can be run again";
    EXPECT_TRUE(std::filesystem::exists(dir.File("a.bak")));

    // Nothing is held: nothing may be saved over the last batch file, and the
    // pages no longer show the file loaded before.
    EXPECT_FALSE(context.file.Loaded);
    for (const char* name : {"SaveButton", "PrintButton", "SummaryList", "PathDetailList",
                             "UpdateDefPathsButton", "TexFNameUpdateButton"})
        EXPECT_FALSE(Enabled(name)) << name;
    for (const char* name : {"Save1", "SaveAs1", "Print1"})
        EXPECT_FALSE(Find<QAction>(name)->isEnabled()) << name;
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1");
    EXPECT_EQ(Find<QListWidget>("SummaryList")->count(), 0);
    EXPECT_EQ(NewMessages(), 0u);

    // The log took its time from the window's clock.
    std::ifstream log(dir.File("Batch.Log"));
    std::stringstream text;
    text << log.rdbuf();
    EXPECT_EQ(text.str().rfind("*************** Started.... 10:15:30 12/09/26", 0), 0u)
        << text.str();
    EXPECT_NE(text.str().find("Processing...." + b + "......Not TDDD"), std::string::npos);
}

TEST_F(BatchPageTest, LongLinesAreShownWholeAndScrollSideways) {
    std::filesystem::path deep = dir.path();
    for (int i = 0; i < 6; ++i) deep /= "a-long-directory-name-" + std::to_string(i);
    std::filesystem::create_directories(deep);
    const std::string path = (deep / "spaceship.iob").string();
    WriteFileBytes(path, ReadFileBytes(ObjectWithTexture("s.iob", "/maps/wood.iff")));
    StartOnBatchPage();
    Tick("OriginalDirCheck");
    Select({path});
    auto* list = Find<QListWidget>("TDDDList");
    const auto shownWhole = [list](int row) {
        const QListWidgetItem* item = list->item(row);
        return list->visualItemRect(item).width() >=
               list->fontMetrics().horizontalAdvance(item->text());
    };
    EXPECT_EQ(list->item(0)->text().toStdString(), path);
    EXPECT_TRUE(shownWhole(0));
    EXPECT_GT(list->horizontalScrollBar()->maximum(), 0) << "the list scrolls sideways";

    Click("ProcessButton");
    EXPECT_EQ(list->item(0)->text().toStdString(), path + "......ok");
    EXPECT_TRUE(shownWhole(0));
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->maximum());
    EXPECT_LE(list->visualItemRect(list->item(0)).right(), list->viewport()->width())
        << "scrolled to its end, the line's result is in sight";
}

TEST_F(BatchPageTest, TheLogGoesWhereTheSettingsFileIsWhenTheProgramDirectoryIsNotWritable) {
    const std::string a = ObjectWithTexture("a.iob", "/maps/wood.iff");
    // The program directory of an installed program cannot be written to;
    // one that is not there at all cannot be either, also for root.
    context.editor = MakeEditorContext(dir.Dir() + "program/");
    std::filesystem::create_directories(dir.path() / "config");
    const std::string ini = dir.File("config/Tessvane.ini");
    const std::string settings = "[VANE]\r\nGenerate Log=yes\r\n";
    WriteFileBytes(ini, Bytes(settings.begin(), settings.end()));
    StartOnBatchPage();
    dialogs.PlanOpenFile(ini);
    ShowPage(Page::Options);
    Click("LoadSetButton");
    ASSERT_TRUE(context.editor.settings.GenerateLog);
    ShowPage(Page::Batch);
    Tick("OriginalDirCheck");
    Select({a});
    Click("ProcessButton");
    EXPECT_EQ(NewMessages(), 0u) << dialogs.MessageTexts().back();
    EXPECT_TRUE(std::filesystem::exists(dir.File("config/Batch.Log")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("program/Batch.Log")));
}

TEST_F(BatchPageTest, SelectionAfterARunStartsANewListButACancelKeepsTheOld) {
    const std::string a = ObjectWithTexture("a.iob", "/maps/wood.iff");
    const std::string d = ObjectWithTexture("d.iob", "/maps/wood.iff");
    StartOnBatchPage();
    Tick("OriginalDirCheck");
    Select({a});
    Click("ProcessButton");
    const QStringList results = ListLines();

    Select({});
    EXPECT_EQ(ListLines(), results);
    EXPECT_EQ(window->Batch().Count(), 1u);
    EXPECT_TRUE(Enabled("ProcessButton"));
    EXPECT_EQ(Text("SelectFilesButton"), "Select Object Files") << "the next choice starts anew";

    Select({d});
    EXPECT_EQ(Text("SelectFilesButton"), "Add More Object Files");
    EXPECT_EQ(ListLines(), QStringList{QString::fromStdString(d)});
    Select({a});
    EXPECT_EQ(window->Batch().Count(), 2u) << "before a run, selections add up";

    // Far more than 500 files are listed whole.
    Click("ProcessButton");
    std::vector<std::string> many;
    for (int i = 0; i < 600; ++i) many.push_back(dir.File("f" + std::to_string(i) + ".iob"));
    Select(many);
    EXPECT_EQ(Find<QListWidget>("TDDDList")->count(), 600);
    EXPECT_EQ(NewMessages(), 0u);

    // A path too long to be held is not cut into another file's name: it is
    // left out, and the user is told which.
    const std::string too_long = "/" + std::string(300, 'x') + ".iob";
    Select({a, too_long});
    EXPECT_EQ(Find<QListWidget>("TDDDList")->count(), 601);
    ASSERT_EQ(NewMessages(), 1u);
    EXPECT_NE(dialogs.MessageTexts().back().find(too_long), std::string::npos);
}

TEST_F(BatchPageTest, PromptAnswersExtendTheListShownOnItsPage) {
    const std::string x = MakeFile("x.iob", IffBuilder("TDDD")
                                                .Chunk("NAME", chunks::Name("BOX"))
                                                .Chunk("TXT1", chunks::Txt1("/unlisted/a.iff"))
                                                .Chunk("TXT1", chunks::Txt1("/unlisted/b.iff"))
                                                .Chunk("BRS1", chunks::Brs1("/unlisted/c.iff"))
                                                .Build());
    StartOnBatchPage();
    Tick("OriginalDirCheck");
    Tick("DefDirectoryCheck");
    Tick("DirTexPrompt");
    Find<QComboBox>("PromptList")->setCurrentIndex(0);
    context.editor.settings.PromptIfDirectoryExists = true;
    dialogs.core.PlanDirectory({"/unlisted", "/found"});
    Select({x});
    Click("ProcessButton");

    ASSERT_EQ(dialogs.core.directoryPrompts.size(), 1u);
    EXPECT_EQ(dialogs.core.directoryPrompts[0].caption, "Select New Directory for x.iob");
    ASSERT_EQ(context.editor.directoryDefaults.Count(), 1u);
    auto* grid = Find<QTableWidget>("DefaultDirList");
    EXPECT_TRUE(grid->isEnabled());
    EXPECT_EQ(grid->item(0, 1)->text(), "/found");
    EXPECT_EQ(ListLines(), QStringList{QString::fromStdString(x + "......ok")});
}

TEST_F(BatchPageTest, UpdateFileExtensionsBoxDecidesWhetherSuffixesChange) {
    StartOnBatchPage();
    Tick("OriginalDirCheck");
    context.editor.settings.TextureSuffixSelection = kTextureSuffixItx;
    const std::string x = ObjectWithTexture("x.iob", "/maps/wood.iff");
    Select({x});
    for (const bool on : {false, true}) {
        if (Find<QCheckBox>("BatchExtCheck")->isChecked() != on) Tick("BatchExtCheck");
        Click("ProcessButton");
        const Bytes written = ReadFileBytes(x);
        const std::string text(written.begin(), written.end());
        EXPECT_EQ(text.find("wood.itx") != std::string::npos, on) << "box " << on;
        EXPECT_EQ(text.find("wood.iff") != std::string::npos, !on) << "box " << on;
    }
}

}  // namespace
}  // namespace tessvane::testing
