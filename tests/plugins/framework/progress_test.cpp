#include "framework/progress.h"

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/scripted_terminal.h"

namespace plugins {

using pluginsupport::ScriptedTerminal;

namespace {

int Count(const std::string& text, const std::string& what) {
    int n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

// An importer's progress dialog, current while the fixture lives.
class ProgressTest : public ::testing::Test {
  protected:
    explicit ProgressTest(bool interactive = true)
        : term_("", interactive), dialog_("WAV Import", true) {
        dialog_.OpenModeless();
        SetCurrentProgressDialog(&dialog_);
    }
    ~ProgressTest() override { SetCurrentProgressDialog(nullptr); }

    int BarDraws() const { return Count(term_.Err(), "File Progress: "); }

    ScriptedTerminal term_;
    ProgressDialog dialog_;
};

class PlainProgressTest : public ProgressTest {
  protected:
    PlainProgressTest() : ProgressTest(false) {}
};

}  // namespace

TEST(ProgressPercentTest, StepsAsWholePercent) {
    struct Case {
        std::uint32_t index, count;
        int percent;
    };
    const std::vector<Case> cases = {
        {0, 1, 0},  {5, 0, 0},     {9, 10, 100},          {1, 3, 50},
        {2, 7, 33}, {20, 10, 100}, {0xFFFFFFFFu, 2, 100}, {0xFFFFFFFEu, 0xFFFFFFFFu, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgressPercent(c.index, c.count), c.percent) << c.index << " of " << c.count;
    }
}

TEST_F(ProgressTest, EachBarMovesOncePerWholePercentAndOnEveryZero) {
    EXPECT_EQ(dialog_.FileLabel(), " 0 %");  // until the first report
    EXPECT_EQ(BarDraws(), 1);

    ProgressFile(1, 3);
    ProgressFile(1, 3);
    EXPECT_EQ(BarDraws(), 2);
    EXPECT_EQ(dialog_.FileLabel(), "50%");

    ProgressFile(0, 3);
    ProgressFile(0, 3);
    EXPECT_EQ(BarDraws(), 4);

    // The mesh bar keeps its own last value.
    ProgressMesh(1, 3);
    EXPECT_EQ(BarDraws(), 5);
    EXPECT_EQ(dialog_.MeshLabel(), "50%");
    EXPECT_EQ(dialog_.FileLabel(), "0%");

    ProgressFile(2, 3);
    EXPECT_EQ(dialog_.FileLabel(), "100%");
    EXPECT_NE(term_.Err().find("File Progress: 100% [####################]"), std::string::npos);
}

TEST_F(ProgressTest, PositionsOutsideTheRangeStayAtTheEnds) {
    dialog_.SetFilePos(150);
    EXPECT_EQ(dialog_.FileLabel(), "100%");
    dialog_.SetMeshPos(-5);
    EXPECT_EQ(dialog_.MeshLabel(), "0%");
}

TEST_F(ProgressTest, ANewDialogStartsItsPercentagesAfresh) {
    ProgressFile(1, 2);  // the last run ended at 100%
    ScriptedTerminal next_term("", true);
    ProgressDialog next("WAV Import", true);
    next.OpenModeless();
    SetCurrentProgressDialog(&next);
    ProgressFile(1, 2);  // a one-group file in the next run
    EXPECT_EQ(next.FileLabel(), "100%");
}

TEST_F(ProgressTest, StatusTextsPrintAboveTheBars) {
    ProgressStatus(stderr, "Sizing: %s\n", "cube");
    EXPECT_EQ(dialog_.Status(), "Sizing: cube\n");
    EXPECT_NE(term_.Err().find("\r\x1b[KSizing: cube\n\rFile Progress:"), std::string::npos);
}

TEST_F(PlainProgressTest, WithoutATerminalOnlyStatusLinesAreWritten) {
    const std::string long_name(3000, 'n');
    ProgressStatus(stderr, "Parsing %s started ...      \n", "cube.obj");
    ProgressFile(1, 3);
    ProgressStatus(stderr, "Sizing: %s\n", long_name.c_str());
    ProgressStatus(stderr, "%s", "");
    dialog_.Close();
    EXPECT_EQ(term_.Err(), "Parsing cube.obj started ...\nSizing: " + long_name + "\n");
}

TEST(ProgressCallbacksTest, TablesAndReportsWithoutADialog) {
    SetCurrentProgressDialog(nullptr);
    const ProgressCallbacks import = ImportProgressCallbacks();
    const ProgressCallbacks exporter = ExportProgressCallbacks();
    EXPECT_NE(import.MeshProgress, nullptr);
    EXPECT_EQ(exporter.MeshProgress, nullptr);
    // Nothing to report to: every report is dropped.
    import.Status(stderr, "Reducing: %s\n", "cube");
    import.FileProgress(1, 2);
    import.MeshProgress(1, 2);

    ScriptedTerminal term("", true);
    ProgressDialog dialog("WAV Export", false);
    dialog.RequestCancel();
    EXPECT_EQ(dialog.CancelRequested(), 1);
    EXPECT_EQ(dialog.CancelRequested(), 0);
}

TEST(ProgressStatusTest, ControlCharactersFromNamesNeverReachTheTerminal) {
    // A group name in an OBJ file may hold anything but a line end.
    const std::string name =
        "evil\x1b]2;owned\x07\x1b[2J\x7f\bname\xc2\x9b"
        "0m caf\xc3\xa9";
    const std::string shown = "Working on: evil?]2;owned??[2J??name?0m caf\xc3\xa9";
    for (const bool interactive : {true, false}) {
        ScriptedTerminal term("", interactive);
        ProgressDialog dialog("WAV Import", true);
        dialog.OpenModeless();
        SetCurrentProgressDialog(&dialog);
        ProgressStatus(stderr, "Working on: %s\n", name.c_str());
        SetCurrentProgressDialog(nullptr);
        EXPECT_NE(term.Err().find(shown + "\n"), std::string::npos) << interactive;
        EXPECT_EQ(term.Err().find("\x1b]"), std::string::npos) << interactive;
        EXPECT_EQ(term.Err().find('\a'), std::string::npos) << interactive;
        EXPECT_EQ(term.Err().find("\xc2\x9b"), std::string::npos) << interactive;
        // The dialog itself keeps the text as it came.
        EXPECT_EQ(dialog.Status(), "Working on: " + name + "\n");
    }

    ScriptedTerminal term("", false);
    ShowMessageBox(term.terminal(), "Unable to write out\x1b[8m.obj", "WAV\rExport");
    EXPECT_EQ(term.Err(), "WAV?Export: Unable to write out?[8m.obj\n");
}

}  // namespace plugins
