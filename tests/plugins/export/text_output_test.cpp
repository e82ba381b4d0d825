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

    // A directory in the target's place makes the final rename fail.
    std::filesystem::create_directory(dir.File("taken"));
    WriteFileBytes(dir.File("taken") + "/inside", "x");
    TextOutput out(1);
    ASSERT_TRUE(out.Open(dir.File("taken")));
    out.Text("data\n");
    EXPECT_FALSE(out.Commit());
    EXPECT_TRUE(std::filesystem::is_directory(dir.File("taken")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
}

TEST(TextOutput, CannotOpenInAMissingDirectoryOrWithAnEmptyName)
{
    TempDir dir;
    TextOutput out(1);
    EXPECT_FALSE(out.Open(dir.File("no/such/dir/out.obj")));
    EXPECT_FALSE(out.Open(""));
    EXPECT_FALSE(out.IsOpen());
    EXPECT_TRUE(out.Commit());
}

}  // namespace
