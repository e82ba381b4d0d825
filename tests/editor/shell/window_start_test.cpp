// Start and end of the program, page switching, and the settings file as the
// window reads and writes it.
#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>

#include "state/settings_file.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

std::string ReadText(const std::string& path) {
    const Bytes bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const std::string& path, const std::string& text) {
    WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

using StartTest = WindowTest;

TEST_F(StartTest, FirstStartWarnsThenShowsTheAboutBoxThenAnEmptySummaryPage) {
    Start();
    EXPECT_EQ(dialogs.events,
              (std::vector<std::string>{"message: Unable to load settings.", "about"}));
    ASSERT_EQ(dialogs.core.messages.size(), 1u);
    EXPECT_EQ(dialogs.core.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.core.messages[0].buttons, MessageButtons::Ok);

    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1");
    EXPECT_EQ(window->size().width(), 535);
    EXPECT_EQ(window->centralWidget()->size(), QSize(535, 434));
    EXPECT_EQ(Find<QTabWidget>("TabbedNotebook1")->currentIndex(), TabIndex(Page::Summary));
    for (const char* name : {"SummaryList", "Summary_NewPath", "SelectPath1", "ResetButton1",
                             "Update", "SaveButton", "PrintButton"}) {
        EXPECT_FALSE(Enabled(name)) << name;
    }
    for (const char* name : {"Loadbutton", "HelpButton", "AboutButton", "CloseButton"}) {
        EXPECT_TRUE(Enabled(name)) << name;
    }
    for (const char* name : {"Save1", "SaveAs1", "Print1"})
        EXPECT_FALSE(Find<QAction>(name)->isEnabled()) << name;
    EXPECT_TRUE(Find<QAction>("Summary1")->isChecked());
    EXPECT_FALSE(Find<QAction>("Details1")->isChecked());

    // The about box comes once per start; the button shows it again.
    Click("AboutButton");
    EXPECT_EQ(dialogs.aboutShown, 2);
}

TEST_F(StartTest, ViewCheckMarksFollowTheMenuAndTheTabs) {
    Start();
    auto* tabs = Find<QTabWidget>("TabbedNotebook1");
    const char* views[] = {"Summary1",           "Details1",          "Options1",
                           "DirectoryDefaults1", "TextureFilenames1", "BatchProcessing1"};
    auto checked = [&] {
        std::vector<std::string> on;
        for (const char* v : views) {
            if (Find<QAction>(v)->isChecked()) on.emplace_back(v);
        }
        return on;
    };

    Find<QAction>("Options1")->trigger();
    EXPECT_EQ(tabs->currentIndex(), TabIndex(Page::Options));
    EXPECT_EQ(checked(), std::vector<std::string>{"Options1"});
    // Choosing the page in front again keeps its mark.
    Find<QAction>("Options1")->trigger();
    EXPECT_EQ(checked(), std::vector<std::string>{"Options1"});

    QTabBar* bar = tabs->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(TabIndex(Page::Details)).center());
    EXPECT_EQ(tabs->currentIndex(), TabIndex(Page::Details));
    EXPECT_EQ(checked(), std::vector<std::string>{"Details1"});

    Find<QAction>("BatchProcessing1")->trigger();
    EXPECT_EQ(checked(), std::vector<std::string>{"BatchProcessing1"});
}

TEST_F(StartTest, ClosingWritesTheSettingsOnlyWithSaveSettingsOnExit) {
    Start();
    const std::string ini = dir.File("Tessvane.ini");
    window->close();
    EXPECT_FALSE(std::filesystem::exists(ini));

    window.reset();
    dialogs.events.clear();
    Start();
    Click("SaveSetting");
    EXPECT_TRUE(context.editor.settings.SaveSettings);
    Click("CloseButton");
    ASSERT_TRUE(std::filesystem::exists(ini));
    EXPECT_TRUE(Contains(ReadText(ini), "Save Settings=yes\r\n"));
}

TEST_F(StartTest, AmigaSettingsShowValidationOffAndAreWrittenSoOnExit) {
    WriteText(dir.File("Tessvane.ini"),
              "[VANE]\r\nComputer=Amiga\r\nValidate Directory=yes\r\nValidate Files=yes\r\nSave "
              "Settings=yes\r\n");
    Start();
    EXPECT_EQ(dialogs.events, std::vector<std::string>{"about"});
    for (const char* box : {"FileValidationBox", "DirValidationBox"}) {
        EXPECT_FALSE(Find<QCheckBox>(box)->isChecked()) << box;
        EXPECT_FALSE(Enabled(box)) << box;
    }
    EXPECT_TRUE(Find<QAbstractButton>("AmigaRadio")->isChecked());
    window->close();
    const std::string text = ReadText(dir.File("Tessvane.ini"));
    EXPECT_TRUE(Contains(text, "Computer=Amiga\r\n"));
    EXPECT_TRUE(Contains(text, "Validate Files=no\r\n"));
    EXPECT_TRUE(Contains(text, "Validate Directory=no\r\n"));
}

TEST_F(StartTest, ReloadAfterSaveBoxChangesTheWorkingCopyButNotTheStoredValue) {
    WriteText(dir.File("Tessvane.ini"), "[VANE]\r\nSave Settings=yes\r\n");
    Start();
    Click("SaveUpdate");
    EXPECT_FALSE(context.editor.shell.WorkingReloadAfterSave);
    EXPECT_TRUE(context.editor.settings.ReloadAfterSave);

    // "Save Settings" takes the box's state into the stored value.
    const std::string saved = dir.File("saved.ini");
    dialogs.PlanSaveFile(saved);
    Click("SaveSettingsButton");
    ASSERT_EQ(dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(dialogs.saveRequests[0].title, "Save Settings as");
    EXPECT_EQ(dialogs.saveRequests[0].defaultSuffix, "new");
    EXPECT_EQ(dialogs.saveRequests[0].fileName, "Tessvane.ini");
    EXPECT_TRUE(Contains(ReadText(saved), "Reload After Save=no\r\n"));

    // Exit writes to the file saved last, with the value as last saved.
    Click("SaveUpdate");
    EXPECT_TRUE(context.editor.shell.WorkingReloadAfterSave);
    window->close();
    EXPECT_TRUE(Contains(ReadText(saved), "Reload After Save=no\r\n"));
    EXPECT_TRUE(Contains(ReadText(dir.File("Tessvane.ini")), "[VANE]\r\nSave Settings=yes\r\n"));
}

TEST_F(StartTest, ASettingsFileWithALongNameIsWrittenBackUnderThatName) {
    Start();
    const std::string longName = dir.File("settings-for-the-imagine-projects-of-2026.ini");
    WriteText(longName, "[VANE]\r\nSave Settings=yes\r\n");
    dialogs.PlanOpenFile(longName);
    Click("LoadSetButton");
    EXPECT_EQ(context.editor.shell.SettingsFileName.size(), 32u);
    Click("truncatedir");
    window->close();
    EXPECT_TRUE(Contains(ReadText(longName), "Use Short Directory=yes\r\n"));
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().string(), longName);
    }
}

TEST_F(StartTest, LoadSettingsReplacesEverythingButAFileWithoutVaneKeepsTheCurrentFile) {
    Start();
    const std::string other = dir.File("other.ini");
    WriteText(other,
              "[VANE]\r\nUse Short Directory=yes\r\nImagine Directory=/opt/Imagine\r\n"
              "[Default Directory List]\r\nC:\\OLD,/data/new\r\n");
    dialogs.PlanOpenFile(other);
    Click("LoadSetButton");
    EXPECT_EQ(dialogs.openRequests.back().title, "Select Settings File");
    EXPECT_TRUE(Find<QCheckBox>("truncatedir")->isChecked());
    EXPECT_EQ(Text("ImagineDirEdit"), "/opt/Imagine");
    EXPECT_TRUE(Enabled("DefaultDirList"));
    EXPECT_EQ(window->SettingsFile(), other);

    const std::string bare = dir.File("bare.ini");
    WriteText(bare, "nothing here\r\n");
    dialogs.PlanOpenFile(bare);
    Click("LoadSetButton");
    EXPECT_FALSE(Find<QCheckBox>("truncatedir")->isChecked());
    EXPECT_FALSE(Enabled("DefaultDirList"));
    EXPECT_EQ(window->SettingsFile(), other);
    EXPECT_EQ(CurrentSettingsFile(context.editor), other);

    // A missing file warns and leaves the defaults.
    dialogs.PlanOpenFile(dir.File("missing.ini"));
    Click("LoadSetButton");
    EXPECT_EQ(dialogs.MessageTexts().back(), "Unable to load settings.");
}

}  // namespace
}  // namespace tessvane::testing
