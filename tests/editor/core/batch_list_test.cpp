// The batch list: what a selection adds, what a finished run clears, and the
// paths it refuses rather than cut.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/batch_list.h"

namespace tessvane {
namespace {

std::vector<std::string> Paths(const BatchList& list) {
    std::vector<std::string> paths;
    for (const BatchFileEntry& entry : list.Entries()) paths.push_back(entry.Path());
    return paths;
}

TEST(BatchListTest, SelectionSplitsPathsAndMovesTheLoadDirectory) {
    BatchList list;
    ShellState shell;
    EXPECT_EQ(BatchSelectButtonCaption(list), "Select Object Files");

    const std::vector<std::string> chosen = {"/objects/cube.iob", "C:\\IMAGINE\\ball.iob",
                                             "loose.iob", "/objects/cube.iob"};
    const BatchSelectionResult result = list.AddSelection(chosen, shell);

    EXPECT_EQ(result.added, 4u);
    ASSERT_EQ(list.Count(), 4u);
    EXPECT_EQ(list.Entries()[0].Directory.str(), "/objects/");
    EXPECT_EQ(list.Entries()[0].FileName.str(), "cube.iob");
    EXPECT_EQ(list.Entries()[1].Directory.str(), "C:\\IMAGINE\\");
    EXPECT_EQ(list.Entries()[2].Directory.str(), "");
    // The same file twice stays twice.
    EXPECT_EQ(Paths(list), chosen);
    EXPECT_EQ(shell.CurrentFileDirectory.str(), "/objects/");
    EXPECT_EQ(BatchSelectButtonCaption(list), "Add More Object Files");
}

TEST(BatchListTest, AfterAFinishedRunOnlyAChosenSelectionEmptiesTheList) {
    BatchList list;
    ShellState shell;
    const std::vector<std::string> first = {"/a/one.iob", "/a/two.iob"};
    list.AddSelection(first, shell);
    list.MarkRunFinished();

    // A cancelled dialog chooses nothing: the old list stays, ready to run again.
    list.AddSelection({}, shell);
    EXPECT_EQ(Paths(list), first);
    EXPECT_TRUE(list.RunFinished());
    EXPECT_EQ(BatchSelectButtonCaption(list), "Select Object Files");

    const std::vector<std::string> second = {"/b/three.iob"};
    list.AddSelection(second, shell);
    EXPECT_EQ(Paths(list), second);
    EXPECT_FALSE(list.RunFinished());
    EXPECT_EQ(BatchSelectButtonCaption(list), "Add More Object Files");

    // Before a run, a further selection adds to the list.
    list.AddSelection(first, shell);
    EXPECT_EQ(list.Count(), 3u);
}

TEST(BatchListTest, LongNamesAreKeptWholeAndOverlongPathsRefused) {
    BatchList list;
    ShellState shell;
    const std::string longName = std::string(40, 'n') + ".iob";  // more than 32 characters
    const std::string tooLong = "/d/" + std::string(260, 'x');   // more than 255 characters
    const std::vector<std::string> chosen = {"/d/" + longName, tooLong, "/d/", ""};

    const BatchSelectionResult result = list.AddSelection(chosen, shell);

    EXPECT_EQ(result.added, 1u);
    EXPECT_EQ(result.refused, (std::vector<std::string>{tooLong, "/d/", ""}));
    ASSERT_EQ(list.Count(), 1u);
    // A cut name would name another file; the whole name is kept.
    EXPECT_EQ(list.Entries()[0].FileName.str(), longName);
}

TEST(BatchListTest, MoreThanFiveHundredFilesAreAccepted) {
    BatchList list;
    ShellState shell;
    std::vector<std::string> chosen;
    for (int i = 0; i < 1200; ++i) chosen.push_back("/many/f" + std::to_string(i) + ".iob");

    EXPECT_EQ(list.AddSelection(chosen, shell).added, 1200u);
    EXPECT_EQ(list.Count(), 1200u);
    EXPECT_EQ(list.Entries()[1199].FileName.str(), "f1199.iob");
}

}  // namespace
}  // namespace tessvane
