// Saves onto a disk that fills up. The helper makes every write and fsync fail
// with ENOSPC from a chosen call on, once for every call the operation makes;
// each time the operation either completes or fails with the status and
// message of the design, leaves the previous file where it was, and leaves no
// temporary file behind.
#include <gtest/gtest.h>

#include <string>

#include "crash_fixtures.h"
#include "helper_run.h"
#include "iff_builder.h"

namespace crashtest {
namespace {

using tessvane::testing::Bytes;
using tessvane::testing::TempDir;

long CountSteps(const std::string& operation) {
    TempDir dir;
    crashfixtures::PutFixtures(dir.Dir());
    return RunHelper(operation, dir.Dir(), "count", 0).Steps();
}

Bytes FileAt(const TempDir& dir, const std::string& name) {
    return tessvane::testing::ReadFileBytes(dir.File(name));
}

TEST(FullDisk, SaveFailsWithItsMessageAndKeepsTheFileAtItsPath) {
    const long steps = CountSteps("save");
    ASSERT_GT(steps, 0);
    int failures = 0;
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("disk full from step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        const HelperRun run = RunHelper("save", dir.Dir(), "nospace", step);
        ASSERT_EQ(run.exitCode, 0);
        if (run.Printed("status 1")) {
            ++failures;
            EXPECT_TRUE(
                run.Printed(std::string("message Unable to Save ") + crashfixtures::kSaveFile));
            EXPECT_EQ(FileAt(dir, crashfixtures::kSaveFile), crashfixtures::ObjectFileBytes(9));
        } else {
            ASSERT_TRUE(run.Printed("status 0"));
            EXPECT_TRUE(IsCompleteForm(FileAt(dir, crashfixtures::kSaveFile)));
            EXPECT_EQ(FileAt(dir, "w.bak"), crashfixtures::ObjectFileBytes(9));
        }
        EXPECT_TRUE(TemporaryFiles(dir.Dir()).empty());
    }
    EXPECT_GT(failures, 0);
}

TEST(FullDisk, BatchReportsErrorSavingAndKeepsEachFileAtItsPath) {
    const long steps = CountSteps("batch");
    ASSERT_GT(steps, 0);
    int failures = 0;
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("disk full from step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        const HelperRun run = RunHelper("batch", dir.Dir(), "nospace", step);
        ASSERT_EQ(run.exitCode, 0);
        // The first file is handled twice; the others once each.
        for (std::size_t i = 1; i < crashfixtures::kBatchFiles.size(); ++i) {
            const std::string name = crashfixtures::kBatchFiles[i];
            if (run.Printed(dir.Dir() + name + "......Error Saving file")) {
                ++failures;
                EXPECT_EQ(FileAt(dir, name), crashfixtures::ObjectFileBytes(static_cast<int>(i)))
                    << name;
            } else {
                EXPECT_TRUE(run.Printed(dir.Dir() + name + "......ok")) << name;
                EXPECT_TRUE(IsCompleteForm(FileAt(dir, name))) << name;
            }
        }
        const Bytes first = FileAt(dir, crashfixtures::kBatchFiles[0]);
        EXPECT_TRUE(IsCompleteForm(first));
        EXPECT_TRUE(first == crashfixtures::ObjectFileBytes(0) ||
                    FileAt(dir, "a0.bak") == crashfixtures::ObjectFileBytes(0));
        EXPECT_TRUE(TemporaryFiles(dir.Dir()).empty());
    }
    EXPECT_GT(failures, 0);
}

TEST(FullDisk, SettingsFileWriteFailsAndKeepsTheOldFile) {
    const long steps = CountSteps("settings");
    ASSERT_GT(steps, 0);
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("disk full from step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        const HelperRun run = RunHelper("settings", dir.Dir(), "nospace", step);
        const Bytes bytes = FileAt(dir, crashfixtures::kSettingsFile);
        const std::string text(bytes.begin(), bytes.end());
        if (run.Printed("written 0")) {
            EXPECT_EQ(text, crashfixtures::OldSettingsText(dir.Dir()));
        } else {
            ASSERT_TRUE(run.Printed("written 1"));
            EXPECT_EQ(text, crashfixtures::NewSettingsText(dir.Dir()));
        }
        EXPECT_TRUE(TemporaryFiles(dir.Dir()).empty());
    }
}

TEST(FullDisk, StoreWriteFailsAndKeepsEveryValue) {
    const long steps = CountSteps("store");
    ASSERT_GT(steps, 0);
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("disk full from step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        const HelperRun run = RunHelper("store", dir.Dir(), "nospace", step);
        ASSERT_EQ(run.exitCode, 0);
        const auto values = StoreValues(dir.Dir());
        // One "written" line per value, in order: 1 gives the new value, 0 keeps the old.
        std::size_t i = 0;
        for (const std::string& line : run.lines) {
            if (line.rfind("written ", 0) != 0 || i >= crashfixtures::kStoreChanges.size())
                continue;
            const auto& v = crashfixtures::kStoreChanges[i++];
            EXPECT_EQ(values.at(v.name), line == "written 1" ? v.newValue : v.oldValue) << v.name;
        }
        EXPECT_EQ(i, crashfixtures::kStoreChanges.size());
        EXPECT_EQ(values.at(crashfixtures::kStoreKept.name), crashfixtures::kStoreKept.oldValue);
        EXPECT_TRUE(TemporaryFiles(dir.Dir()).empty());
    }
}

}  // namespace
}  // namespace crashtest
