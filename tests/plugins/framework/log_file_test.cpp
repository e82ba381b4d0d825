#include "framework/log_file.h"

#include <string>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

using pluginsupport::ReadFileBytes;
using pluginsupport::TempDir;
using pluginsupport::WriteFileBytes;

TEST(LogFileTest, TruncatesAndFlushesEveryMessage) {
    TempDir dir;
    const std::string path = dir.File("objread.log");
    WriteFileBytes(path, "old contents of an earlier run\n");

    LogFile log(path.c_str());
    ASSERT_TRUE(log.IsOpen());
    log.Printf("%s %s %s %s\n", "WaveFront Import Plugin 0.2", "Jun 11 1998", "11:19:33", "gcc");
    // Readable at once, before the log is closed.
    EXPECT_EQ(ReadFileBytes(path), "WaveFront Import Plugin 0.2 Jun 11 1998 11:19:33 gcc\n");

    const std::string long_name(3000, 'g');
    log.Printf("Working on: %s\n", long_name.c_str());
    EXPECT_EQ(
        ReadFileBytes(path),
        "WaveFront Import Plugin 0.2 Jun 11 1998 11:19:33 gcc\nWorking on: " + long_name + "\n");
}

TEST(LogFileTest, WithoutAFileEveryMessageIsDropped) {
    TempDir dir;
    LogFile none(nullptr);
    EXPECT_FALSE(none.IsOpen());
    none.Printf("dropped %d\n", 1);

    LogFile unopenable(dir.File("missing-dir/objread.log").c_str());
    EXPECT_FALSE(unopenable.IsOpen());
    unopenable.Printf("dropped %d\n", 2);
}

}  // namespace plugins
