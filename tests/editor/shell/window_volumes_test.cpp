// Paths of the other machine in the window: checked through the volume map,
// chosen in the object file's form.
#include <QTabWidget>
#include <QTest>

#include "window_fixture.h"

namespace tessvane::testing {
namespace {

class VolumesWindowTest : public WindowTest {
  protected:
    // C: is the directory "c" of the test, which holds textures/wood.iff.
    void StartWithDriveC(const std::string& options) {
        std::filesystem::create_directories(dir.path() / "c/textures");
        WriteFileBytes(dir.File("c/textures/wood.iff"), {1});
        const std::string ini =
            "[VANE]\r\n" + options + "\r\n[Volumes]\r\nC:," + dir.File("c") + "\r\n";
        WriteFileBytes(dir.File("Tessvane.ini"), Bytes(ini.begin(), ini.end()));
        Start();
    }
};

TEST_F(VolumesWindowTest, ValidationFindsTheOtherMachinesDirectoriesThroughTheMap) {
    StartWithDriveC("Validate Directory=yes\r\nValidate Files=yes\r\nImagine Directory=\r\n");
    Load(MakeFile("v.iob", IffBuilder("TDDD")
                               .Chunk("TXT1", chunks::Txt1("D:\\OLD\\WOOD.IFF"))
                               .Chunk("BRS1", chunks::Brs1("D:\\OLD\\brick.iff"))
                               .Build()));
    struct Case {
        Page page;
        const char* field;
        std::string typed;
        std::string message;  // empty: accepted
    };
    const std::vector<Case> cases = {
        {Page::Summary, "Summary_NewPath", "C:\\TEXTURES", ""},
        {Page::Summary, "Summary_NewPath", "c:\\Textures\\Gone", "Directory does not exist"},
        {Page::Summary, "Summary_NewPath", "DH1:Textures",
         "Directory does not exist\nDH1:Textures is on a volume that is not mapped: DH1:"},
        // WOOD.IFF is found as wood.iff, whatever the letter case.
        {Page::Details, "Details_NewPath", "C:\\TEXTURES", ""},
        {Page::Details, "Details_NewPath", "Textures",
         "Directory does not exist\nTextures is relative and there is no Imagine Directory to "
         "resolve it against"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        ShowPage(c.page);
        const std::size_t messages = dialogs.MessageTexts().size();
        TypeEnter(c.field, c.typed);
        if (c.message.empty()) {
            EXPECT_EQ(dialogs.MessageTexts().size(), messages);
        } else {
            ASSERT_EQ(dialogs.MessageTexts().size(), messages + 1);
            EXPECT_EQ(dialogs.MessageTexts().back(), c.message);
        }
    }
    EXPECT_EQ(context.file.Summary.front().NewDirectory, "C:\\TEXTURES");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "C:\\TEXTURES");
}

TEST_F(VolumesWindowTest, ChoosersStartAtTheFieldAndStoreWhatTheyReturn) {
    StartWithDriveC(
        "Validate Directory=yes\r\nValidate Files=yes\r\nImagine Directory=C:\\IMAGINE\r\n");
    Load(MakeFile("s.iob",
                  IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("C:\\OLD\\wood.iff")).Build()));

    ShowPage(Page::Summary);
    dialogs.PlanDirectory("C:\\TEXTURES");
    Click("SelectPath1");
    // C:\OLD is not there: the chooser starts at the Imagine Directory.
    EXPECT_EQ(dialogs.directoryRequests.back().start, "C:\\IMAGINE");
    EXPECT_EQ(dialogs.directoryRequests.back().form, DirectoryForm::ObjectFile);
    EXPECT_EQ(context.file.Summary.front().NewDirectory, "C:\\TEXTURES");

    // With Validate Files the record's file must be in the directory chosen.
    ShowPage(Page::Details);
    dialogs.PlanDirectory("C:\\");
    Click("SelectPath2");
    EXPECT_EQ(dialogs.MessageTexts().back(), "Texture File does not exist in this directory");
    dialogs.PlanDirectory("C:\\TEXTURES");
    Click("SelectPath2");
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "C:\\TEXTURES");

    // A file picked on the mapped drive gives the directory in the file's form.
    std::filesystem::create_directories(dir.path() / "c/maps");
    WriteFileBytes(dir.File("c/maps/oak.iff"), {1});
    dialogs.PlanOpenFile(dir.File("c/maps/oak.iff"));
    Click("NewFileNameButton");
    EXPECT_EQ(dialogs.openRequests.back().directory, dir.File("c/textures"));
    EXPECT_EQ(context.file.Paths.Record(1).NewDirectory, "C:\\MAPS");
    EXPECT_EQ(context.file.Paths.Record(1).NewFileName, "oak.iff");

    // Where Load starts stays a directory of this machine.
    ShowPage(Page::Options);
    dialogs.PlanDirectory(dir.File("c"));
    Click("ObjectDirButton");
    EXPECT_EQ(dialogs.directoryRequests.back().form, DirectoryForm::Local);
    EXPECT_EQ(context.editor.settings.LoadDirectory, dir.File("c"));
}

}  // namespace
}  // namespace tessvane::testing
