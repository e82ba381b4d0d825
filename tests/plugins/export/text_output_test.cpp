#include "export/text_output.h"

#include <filesystem>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

namespace {

using pluginsupport::ReadFileBytes;
using pluginsupport::TempDir;
using pluginsupport::WriteFileBytes;

TEST(TextOutput, TranslatesEveryLineEndByMode) {
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
        TextOutput out(LineDelimiterFromSetting(c.ld_mode));
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

TEST(TextOutput, LongOutputSurvivesBufferBoundaries) {
    TempDir dir;
    std::string path = dir.File("big.txt");
    std::string expected;
    TextOutput out(LineDelimiter::CrLf);
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

TEST(TextOutput, AnAbandonedOrFailedFileLeavesTheOldOneIntact) {
    TempDir dir;
    std::string path = dir.File("keep.obj");
    WriteFileBytes(path, "old contents\n");
    {
        TextOutput out(LineDelimiter::Lf);
        ASSERT_TRUE(out.Open(path));
        out.Text("half a file");
        // Goes out of scope without Commit, as an interrupted export would.
    }
    EXPECT_EQ(ReadFileBytes(path), "old contents\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

    // The directory going away under the export makes the final rename fail.
    std::filesystem::create_directory(dir.File("sub"));
    TextOutput out(LineDelimiter::Lf);
    ASSERT_TRUE(out.Open(dir.File("sub/out.obj")));
    out.Text("data\n");
    std::filesystem::remove_all(dir.File("sub"));
    EXPECT_FALSE(out.Commit());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(TextOutput, AReplacedFileKeepsItsPermissions) {
    TempDir dir;
    const std::string path = dir.File("private.c");
    WriteFileBytes(path, "old\n");
    std::filesystem::permissions(
        path, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    TextOutput out(LineDelimiter::Lf);
    ASSERT_TRUE(out.Open(path));
    out.Text("new\n");
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadFileBytes(path), "new\n");
    EXPECT_EQ(std::filesystem::status(path).permissions(),
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
}

TEST(TextOutput, TheLongestFileNameCanBeWritten) {
    TempDir dir;
    const std::string path = dir.File(std::string(251, 'n') + ".obj");
    TextOutput out(LineDelimiter::Lf);
    ASSERT_TRUE(out.Open(path));
    out.Text("x\n");
    ASSERT_TRUE(out.Commit());
    EXPECT_EQ(ReadFileBytes(path), "x\n");
}

TEST(TextOutput, DevicesPipesAndLinksAreWrittenThroughNotReplaced) {
    namespace fs = std::filesystem;
    TempDir dir;
    // A link to a device: the device takes the text, the link stays.
    fs::create_symlink("/dev/null", dir.File("null.obj"));
    // A link to a file: the file gets the new text, the link stays.
    WriteFileBytes(dir.File("real.obj"), "old\n");
    fs::create_symlink(dir.File("real.obj"), dir.File("link.obj"));
    for (const char* name : {"null.obj", "link.obj"}) {
        TextOutput out(LineDelimiter::CrLf);
        ASSERT_TRUE(out.Open(dir.File(name))) << name;
        out.Text("new\n");
        ASSERT_TRUE(out.Commit()) << name;
        EXPECT_TRUE(fs::is_symlink(dir.File(name))) << name;
    }
    EXPECT_EQ(ReadFileBytes(dir.File("real.obj")), "new\r\n");
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 3);

    // A pipe passes the text on to its reader, which is there first (so
    // that opening the pipe to write does not wait).
    const std::string fifo = dir.File("pipe.c");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    {
        TextOutput out(LineDelimiter::Lf);
        EXPECT_TRUE(out.Open(fifo));
        out.Text("through\n");
        EXPECT_TRUE(out.Commit());
    }
    fcntl(reader, F_SETFL, 0);
    std::string received;
    char buffer[64];
    for (ssize_t n; (n = read(reader, buffer, sizeof buffer)) > 0;) {
        received.append(buffer, static_cast<std::size_t>(n));
    }
    close(reader);
    EXPECT_EQ(received, "through\n");
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 4);
}

TEST(TextOutput, CannotOpenInAMissingDirectoryOrOnADirectory) {
    TempDir dir;
    TextOutput out(LineDelimiter::Lf);
    EXPECT_FALSE(out.Open(dir.File("no/such/dir/out.obj")));
    EXPECT_FALSE(out.Open(""));
    EXPECT_FALSE(out.Open(dir.path().string()));  // a directory is no file
    EXPECT_FALSE(out.IsOpen());
    EXPECT_TRUE(out.Commit());
}

}  // namespace

}  // namespace plugins
