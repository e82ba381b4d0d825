// A save killed at any moment loses nothing. Each operation runs in a helper
// process that is killed with SIGKILL just before one of its file-system calls
// (a write is first cut in half), once for every call it makes; after each
// kill every file's previous content is still there, at its path or under its
// backup name, and whatever lies at a target path is complete.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "core/scanner.h"
#include "crash_fixtures.h"
#include "helper_run.h"
#include "iff_builder.h"
#include "state/editor_state.h"

namespace crashtest {
namespace {

using tessvane::testing::Bytes;
using tessvane::testing::TempDir;

// The number of file-system calls the operation makes when nothing stops it.
long CountSteps(const std::string& operation) {
    TempDir dir;
    crashfixtures::PutFixtures(dir.Dir());
    const HelperRun run = RunHelper(operation, dir.Dir(), "count", 0);
    EXPECT_EQ(run.exitCode, 0);
    std::printf("%s: %ld file-system calls\n", operation.c_str(), run.Steps());
    return run.Steps();
}

// True when `bytes` is what was read from `original`, or a file that reads.
bool IsOldOrReadable(const Bytes& bytes, const Bytes& original, const std::string& dir) {
    if (bytes == original) return true;
    if (!IsCompleteForm(bytes)) return false;
    const std::string probe = dir + "probe.iob";
    tessvane::testing::WriteFileBytes(probe, bytes);
    tessvane::CoreContext context{tessvane::MakeEditorContext(dir), {}, nullptr, nullptr};
    return tessvane::ReadObjectFile(context, probe, false) == tessvane::ReadStatus::Ok &&
           context.file.Paths.Count() == 3;
}

// Every object file's original bytes are at its name or one of its backups
// (stem.bak, stem.000, ...), and whatever is at its name is complete.
void ExpectNothingLost(const std::string& dir, const std::string& name, const Bytes& original) {
    const auto files = Files(dir);
    const std::string stem = name.substr(0, name.rfind('.') + 1);
    bool found = false;
    for (const auto& [file, bytes] : files) {
        if (file.rfind(stem, 0) == 0 && bytes == original) found = true;
    }
    EXPECT_TRUE(found) << name << ": its previous content is gone";
    const auto at = files.find(name);
    if (at != files.end()) {
        TempDir scratch;
        EXPECT_TRUE(IsOldOrReadable(at->second, original, scratch.Dir()))
            << name << ": incomplete file";
    }
}

TEST(CrashSafety, BatchRunKilledAtEveryStepLosesNoFile) {
    const long steps = CountSteps("batch");
    ASSERT_GT(steps, 20);  // five saves with backups: links, writes, syncs, renames
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        const HelperRun run = RunHelper("batch", dir.Dir(), "kill", step);
        ASSERT_TRUE(run.killed);
        for (std::size_t i = 0; i < crashfixtures::kBatchFiles.size(); ++i) {
            ExpectNothingLost(dir.Dir(), crashfixtures::kBatchFiles[i],
                              crashfixtures::ObjectFileBytes(static_cast<int>(i)));
        }
    }
}

TEST(CrashSafety, SaveKilledAtEveryStepLosesNoFile) {
    const long steps = CountSteps("save");
    ASSERT_GT(steps, 3);
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        ASSERT_TRUE(RunHelper("save", dir.Dir(), "kill", step).killed);
        ExpectNothingLost(dir.Dir(), crashfixtures::kSaveFile, crashfixtures::ObjectFileBytes(9));
    }
}

TEST(CrashSafety, SettingsFileKilledAtEveryStepIsTheOldOrTheNewOne) {
    const long steps = CountSteps("settings");
    ASSERT_GT(steps, 1);
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        ASSERT_TRUE(RunHelper("settings", dir.Dir(), "kill", step).killed);
        const Bytes bytes =
            tessvane::testing::ReadFileBytes(dir.File(crashfixtures::kSettingsFile));
        const std::string text(bytes.begin(), bytes.end());
        EXPECT_TRUE(text == crashfixtures::OldSettingsText(dir.Dir()) ||
                    text == crashfixtures::NewSettingsText(dir.Dir()))
            << text;
    }
}

TEST(CrashSafety, StoreKilledAtEveryStepKeepsEachValueOldOrNew) {
    const long steps = CountSteps("store");
    ASSERT_GT(steps, 2);
    for (long step = 1; step <= steps; ++step) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        TempDir dir;
        crashfixtures::PutFixtures(dir.Dir());
        ASSERT_TRUE(RunHelper("store", dir.Dir(), "kill", step).killed);
        const auto values = StoreValues(dir.Dir());
        EXPECT_EQ(values.size(), crashfixtures::kStoreChanges.size() + 1);
        for (const auto& v : crashfixtures::kStoreChanges) {
            const auto at = values.find(v.name);
            ASSERT_NE(at, values.end()) << v.name;
            EXPECT_TRUE(at->second == v.oldValue || at->second == v.newValue)
                << v.name << "=" << at->second;
        }
        EXPECT_EQ(values.at(crashfixtures::kStoreKept.name), crashfixtures::kStoreKept.oldValue);
    }
}

// The helper's count runs show that the operations do what the kills above
// interrupt: every file is saved, the settings and the store changed.
TEST(CrashSafety, UninterruptedOperationsComplete) {
    TempDir dir;
    crashfixtures::PutFixtures(dir.Dir());
    const HelperRun batch = RunHelper("batch", dir.Dir(), "count", 0);
    for (const char* name : crashfixtures::kBatchFiles)
        EXPECT_TRUE(batch.Printed(dir.Dir() + name + "......ok"));
    EXPECT_TRUE(RunHelper("save", dir.Dir(), "count", 0).Printed("status 0"));
    EXPECT_TRUE(RunHelper("settings", dir.Dir(), "count", 0).Printed("written 1"));
    const Bytes settings = tessvane::testing::ReadFileBytes(dir.File(crashfixtures::kSettingsFile));
    EXPECT_EQ(std::string(settings.begin(), settings.end()),
              crashfixtures::NewSettingsText(dir.Dir()));
    RunHelper("store", dir.Dir(), "count", 0);
    for (const auto& v : crashfixtures::kStoreChanges)
        EXPECT_EQ(StoreValues(dir.Dir()).at(v.name), v.newValue);
    EXPECT_TRUE(TemporaryFiles(dir.Dir()).empty());
}

}  // namespace
}  // namespace crashtest
