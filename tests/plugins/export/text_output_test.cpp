#include "export/text_output.h"

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

using pluginsupport::ReadFileBytes;
using pluginsupport::TempDir;
using pluginsupport::WriteFileBytes;

TEST(TextOutput, TranslatesEveryLineEndByMode)
{
    const struct {
        int ld_mode;
        const char* expected;
    } cases[] = {
        {0, "a 1.500000\r\n\r\nb -3\r\nc 4\r\nd"},
        {1, "a 1.500000\n\nb -3\nc 4\nd"},
        {2, "a 1.500000\r\rb -3\rc 4\rd"},
        {7, "a 1.500000b -3c 4d"},
    };
    for (const auto& c : cases) {
        TempDir dir;
        std::string path = dir.File("out.txt");
        TextOutput out(c.ld_mode);
        ASSERT_TRUE(out.Open(path));
        out.Text("a ");
        out.Fixed6(1.5);
        out.Text("\n\nb ");
        out.Int(-3);
        out.LineEnd();
        // Formatted lines take WriteText's way to the file; both must agree.
        out.Printf("c %d\n", 4);
        out.Text("d");
        ASSERT_TRUE(out.Commit());
        EXPECT_EQ(ReadFileBytes(path), c.expected) << "ld_mode " << c.ld_mode;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(TextOutput, LongOutputSurvivesBufferBoundaries)
{
    TempDir dir;
    std::string path = dir.File("big.txt");
    std::string expected;
    TextOutput out(0);
    ASSERT_TRUE(out.Open(path));
    std::string long_name(100000, 'x');
    out.Text(long_name + "\n");
    expected += long_name + "\r\n";
    for (int i = 0; i < 20000; ++i) {
        out.Int(i);
        out.Text(" ");
        out.Fixed6(i / 8.0);
        out.LineEnd();
        char line[64];
        std::snprintf(line, sizeof line, "%d %lf\r\n", i, i / 8.0);
        expected += line;
    }
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadFileBytes(path), expected);
}

TEST(TextOutput, AnAbandonedOrFailedFileLeavesTheOldOneIntact)
{
    TempDir dir;
    std::string path = dir.File("keep.obj");
    WriteFileBytes(path, "old contents\n");
    {
        TextOutput out(1);
        ASSERT_TRUE(out.Open(path));
        out.Text("half a file");
        // Goes out of scope without Commit, as an interrupted export would.
    }
    EXPECT_EQ(ReadFileBytes(path), "old contents\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // The directory going away under the export makes the final rename fail.
    std::filesystem::create_directory(dir.File("sub"));
    TextOutput out(1);
    ASSERT_TRUE(out.Open(dir.File("sub/out.obj")));
    out.Text("data\n");
    std::filesystem::remove_all(dir.File("sub"));
    EXPECT_FALSE(out.Commit());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(TextOutput, AReplacedFileKeepsItsPermissions)
{
    TempDir dir;
    const std::string path = dir.File("private.c");
    WriteFileBytes(path, "old\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    TextOutput out(1);
    ASSERT_TRUE(out.Open(path));
    out.Text("new\n");
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadFileBytes(path), "new\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(TextOutput, TheLongestFileNameCanBeWritten)
{
    TempDir dir;
    const std::string path = dir.File(std::string(251, 'n') + ".obj");
    TextOutput out(1);
    ASSERT_TRUE(out.Open(path));
    out.Text("x\n");
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadFileBytes(path), "x\n");
}

TEST(TextOutput, CannotOpenInAMissingDirectoryOrOnADirectory)
{
    TempDir dir;
    TextOutput out(1);
    EXPECT_FALSE(out.Open(dir.File("no/such/dir/out.obj")));
    EXPECT_FALSE(out.Open(""));
    EXPECT_FALSE(out.Open(dir.path().string()));  // a directory is no file
    EXPECT_FALSE(out.IsOpen());
    EXPECT_TRUE(out.Commit());
}

}  // namespace
