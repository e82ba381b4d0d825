// The Options page: computer type and validation boxes, the suffix lists and
// "Update Now", and the directories.
#include <QCheckBox>
#include <QComboBox>
#include <QTabWidget>

#include "window_fixture.h"

namespace tessvane::testing {
namespace {

class OptionsTest : public WindowTest {
  protected:
    void SetUp() override {
        Start();
        ShowPage(Page::Options);
    }

    // Chooses an item of a pick list as the user does.
    void Choose(const char* name, int item) {
        auto* combo = Find<QComboBox>(name);
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }

    bool Checked(const char* name) { return Find<QAbstractButton>(name)->isChecked(); }
};

TEST_F(OptionsTest, AmigaTurnsValidationOffAndPcGivesItBackBoxByBox) {
    Click("DirValidationBox");
    EXPECT_TRUE(Enabled("FileValidationBox"));
    Click("FileValidationBox");
    EXPECT_TRUE(context.editor.settings.ValidateFiles);

    Click("AmigaRadio");
    EXPECT_EQ(context.editor.settings.Computer, ComputerType::Amiga);
    for (const char* box : {"FileValidationBox", "DirValidationBox"}) {
        EXPECT_FALSE(Checked(box)) << box;
        EXPECT_FALSE(Enabled(box)) << box;
    }
    EXPECT_FALSE(context.editor.settings.ValidateFiles ||
                 context.editor.settings.ValidateDirectory);

    Click("PCRadio");
    EXPECT_TRUE(Enabled("DirValidationBox"));
    EXPECT_FALSE(Checked("DirValidationBox"));
    EXPECT_FALSE(Enabled("FileValidationBox"));
    Click("DirValidationBox");
    EXPECT_TRUE(Enabled("FileValidationBox"));
    Click("FileValidationBox");

    // Clearing "Directories" clears "Files" too.
    Click("DirValidationBox");
    EXPECT_FALSE(Checked("FileValidationBox"));
    EXPECT_FALSE(Enabled("FileValidationBox"));
    EXPECT_FALSE(context.editor.settings.ValidateFiles);
}

TEST_F(OptionsTest, SuffixFieldsOpenOnlyForAsSpecified) {
    Choose("TexCombo", 1);
    EXPECT_EQ(context.editor.settings.TextureSuffixSelection, 1);
    EXPECT_TRUE(Enabled("TexExtEdit"));
    EXPECT_EQ(Text("TexExtEdit"), "itx");
    EXPECT_TRUE(Find<QWidget>("TexExtEdit")->hasFocus() || !window->isActiveWindow());

    TypeEnter("TexExtEdit", "tex");
    EXPECT_EQ(context.editor.settings.TextureSuffix, "tex");
    EXPECT_EQ(context.editor.suffixes.Texture, "tex");
    // Without a file, the button opens but pressing it does nothing.
    EXPECT_TRUE(Enabled("UpdateSuffixButton"));
    Click("UpdateSuffixButton");
    EXPECT_TRUE(Enabled("UpdateSuffixButton"));

    Choose("TexCombo", 2);
    EXPECT_FALSE(Enabled("TexExtEdit"));
    EXPECT_TRUE(Text("TexExtEdit").isEmpty());
    EXPECT_EQ(context.editor.suffixes.Texture, "dll");
    EXPECT_EQ(context.editor.settings.TextureSuffix, "tex");

    Choose("BrushCombo", 1);
    EXPECT_TRUE(Enabled("BrushExtEdit"));
    EXPECT_TRUE(Text("BrushExtEdit").isEmpty());
}

TEST_F(OptionsTest, UpdateNowFollowsTheSuffixListsWhileAFileIsHeld) {
    Load(MakeFile("b.iob", IffBuilder("TDDD")
                               .Chunk("TXT1", chunks::Txt1("/t/wood.iff"))
                               .Chunk("BRS1", chunks::Brs1("/b/brick.iff"))
                               .Build()));
    EXPECT_FALSE(Enabled("UpdateSuffixButton"));
    Choose("BrushCombo", 7);  // jpg
    EXPECT_TRUE(Enabled("UpdateSuffixButton"));
    Click("UpdateSuffixButton");
    EXPECT_FALSE(Enabled("UpdateSuffixButton"));
    EXPECT_EQ(context.file.Paths.Record(2).NewFileName, "brick.jpg");
    EXPECT_EQ(context.file.Paths.Record(1).NewFileName, "wood.iff");

    // A load with a selection other than "as is" opens the button at once.
    Load(context.editor.shell.CurrentFilePath.str());
    EXPECT_TRUE(Enabled("UpdateSuffixButton"));
}

TEST_F(OptionsTest, OnlyTheDefaultObjectDirectoryButtonMovesTheLoadDialog) {
    TypeEnter("LoadDirEdit", "/typed/objects");
    EXPECT_EQ(context.editor.settings.LoadDirectory, "/typed/objects");
    Load("");  // cancelled below: only the start directory matters
    EXPECT_EQ(dialogs.openRequests.back().directory, dir.Dir());

    dialogs.PlanDirectory("/chosen/objects");
    Click("ObjectDirButton");
    EXPECT_EQ(dialogs.directoryRequests.back().title, "Select Default Object Directory");
    EXPECT_EQ(dialogs.directoryRequests.back().start, "/typed/objects");
    EXPECT_EQ(Text("LoadDirEdit"), "/chosen/objects");
    dialogs.PlanOpenFile(std::nullopt);
    Click("Loadbutton");
    EXPECT_EQ(dialogs.openRequests.back().directory, "/chosen/objects");

    dialogs.PlanDirectory("/opt/Imagine");
    Click("ImagineDirButton");
    EXPECT_EQ(dialogs.directoryRequests.back().title, "Select Imagine Program Directory");
    EXPECT_EQ(context.editor.settings.ImagineDirectory, "/opt/Imagine");
    TypeEnter("ImagineDirEdit", "/usr/local/Imagine");
    EXPECT_EQ(context.editor.settings.ImagineDirectory, "/usr/local/Imagine");
    // The texture dialogs keep the directory of the last settings read.
    EXPECT_EQ(context.editor.shell.TextureDialogDirectory, dir.Dir() + "\\Textures");
}

TEST_F(OptionsTest, CheckBoxesStoreTheirSettingsAtOnce) {
    struct Box {
        const char* name;
        bool Settings::*setting;
    };
    const Box boxes[] = {
        {"truncatedir", &Settings::UseShortDirectory},
        {"SaveSetting", &Settings::SaveSettings},
        {"DefaultDir", &Settings::UseDefaultDirectories},
        {"TextureLoad", &Settings::UseDefaultTextures},
        {"UpdateDescButton", &Settings::UpdateTextureDescriptions},
    };
    for (const Box& box : boxes) {
        const bool before = context.editor.settings.*box.setting;
        EXPECT_EQ(Checked(box.name), before) << box.name;
        Click(box.name);
        EXPECT_EQ(context.editor.settings.*box.setting, !before) << box.name;
    }
    ShowPage(Page::Batch);
    Choose("PromptList", 0);
    EXPECT_TRUE(context.editor.settings.PromptIfDirectoryExists);
    Choose("PromptList", 1);
    EXPECT_FALSE(context.editor.settings.PromptIfDirectoryExists);
}

}  // namespace
}  // namespace tessvane::testing
