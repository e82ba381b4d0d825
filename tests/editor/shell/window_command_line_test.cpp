// Tessvane's command line: what it asks for, and FILE loaded at start.
#include <QAbstractButton>

#include "window_command_line.h"
#include "window_fixture.h"

namespace tessvane::testing {
namespace {

TEST(WindowCommandLineTest, AsksForHelpVersionAFileOrReportsBadUsage) {
    struct Case {
        std::vector<std::string> args;
        WindowCommand command;
        std::string file;
        std::string message;
    };
    const Case cases[] = {
        {{}, WindowCommand::Run, "", ""},
        {{"ship.iob"}, WindowCommand::Run, "ship.iob", ""},
        {{"--", "-odd.iob"}, WindowCommand::Run, "-odd.iob", ""},
        {{"-"}, WindowCommand::Run, "-", ""},
        {{"--help"}, WindowCommand::Help, "", ""},
        {{"ship.iob", "-h"}, WindowCommand::Help, "", ""},
        // Before QApplication has taken its options out, help still wins.
        {{"-platform", "offscreen", "--help"}, WindowCommand::Help, "", ""},
        {{"--version", "a.iob", "b.iob"}, WindowCommand::Version, "", ""},
        {{"--", "--help"}, WindowCommand::Run, "--help", ""},
        {{"--load", "ship.iob"}, WindowCommand::Usage, "", "unknown option '--load'"},
        {{"a.iob", "b.iob"},
         WindowCommand::Usage,
         "",
         "one file at a time: 'b.iob' follows 'a.iob'"},
    };
    for (const Case& c : cases) {
        const WindowCommandLine line = ParseWindowCommandLine(c.args);
        EXPECT_EQ(line.command, c.command) << ::testing::PrintToString(c.args);
        EXPECT_EQ(line.file, c.file) << ::testing::PrintToString(c.args);
        EXPECT_EQ(line.message, c.message) << ::testing::PrintToString(c.args);
    }
    EXPECT_EQ(WindowVersionText(), "Tessvane 2.2.1\n");
    EXPECT_NE(WindowHelpText("/usr/share/tessvane/help/Tessvane.html")
                  .find("Help (F1): /usr/share/tessvane/help/Tessvane.html\n"),
              std::string::npos);
}

using OpenFileTest = WindowTest;

TEST_F(OpenFileTest, TheFileOfTheCommandLineIsLoadedAsLoadWouldLoadIt) {
    const std::string good =
        MakeFile("good.iob", IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("/t/a.iff")).Build());
    const std::string missing = dir.File("missing.iob");
    Start();

    window->OpenFile(good);
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1  -  good.iob");
    EXPECT_TRUE(Enabled("SaveButton"));
    EXPECT_TRUE(dialogs.openRequests.empty());

    window->OpenFile(missing);
    EXPECT_EQ(window->windowTitle(), "Tessvane v2.2.1");
    EXPECT_FALSE(Enabled("SaveButton"));
    ASSERT_FALSE(dialogs.MessageTexts().empty());
    EXPECT_NE(dialogs.MessageTexts().back().find("missing.iob"), std::string::npos)
        << dialogs.MessageTexts().back();

    // The Load dialog then offers the name last loaded, as after a Load.
    Click("Loadbutton");
    ASSERT_EQ(dialogs.openRequests.size(), 1u);
    EXPECT_EQ(dialogs.openRequests[0].fileName, "missing.iob");
}

}  // namespace
}  // namespace tessvane::testing
