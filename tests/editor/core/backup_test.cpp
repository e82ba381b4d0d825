#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/backup.h"
#include "core/file_system.h"
#include "core/writer.h"
#include "core_fixture.h"

namespace tessvane {
namespace {

using testing::Bytes;
using testing::IffBuilder;
namespace chunks = testing::chunks;

class BackupTest : public CoreTest {
  protected:
    Bytes Version(const std::string& name) {
        return IffBuilder().Chunk("TXT1", testing::Even(chunks::Txt1("C:\\TEX\\" + name))).Build();
    }
};

TEST_F(BackupTest, BaseNames) {
    struct Case {
        const char* path;
        const char* want;
    };
    const Case cases[] = {
        {"wood.iob", "wood.bak"},
        {"C:\\OBJ\\wood.iob", "C:\\OBJ\\wood.bak"},
        {"DH0:wood", "DH0:wood.bak"},
        {"C:\\V1.2\\wood", "C:\\V1.2\\wood.bak"},
        {"/home/u/v1.2/wood", "/home/u/v1.2/wood.bak"},
        {"scene.bak", "scene.bak"},
        {"a.b.c", "a.b.bak"},
    };
    for (const Case& c : cases) EXPECT_EQ(BackupBaseName(c.path), c.want) << c.path;
}

TEST_F(BackupTest, SavingThreeTimesKeepsEveryEarlierVersion) {
    context.log = &log;
    const std::string target = temp.File("wood.iob");
    const std::vector<std::string> versions = {"v0.iff", "v1.iff", "v2.iff", "v3.iff"};
    testing::WriteFileBytes(target, Version(versions[0]));
    for (int i = 1; i <= 3; ++i) {
        ASSERT_EQ(Load(Version(versions[i]), true, "source.iob"), ReadStatus::Ok);
        EXPECT_EQ(SaveObjectFile(context, target, true), SaveStatus::Written);
    }
    EXPECT_EQ(testing::ReadFileBytes(temp.File("wood.bak")), Version(versions[0]));
    EXPECT_EQ(testing::ReadFileBytes(temp.File("wood.000")), Version(versions[1]));
    EXPECT_EQ(testing::ReadFileBytes(temp.File("wood.001")), Version(versions[2]));
    EXPECT_EQ(testing::ReadFileBytes(target), Version(versions[3]));
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "", "Existing Object File renamed as..." + temp.File("wood.bak"), "",
                             "Existing Object File renamed as..." + temp.File("wood.000"), "",
                             "Existing Object File renamed as..." + temp.File("wood.001")}));
}

TEST_F(BackupTest, AFileNamedLikeItsBackupGoesToTheFirstNumber) {
    const std::string target = temp.File("scene.bak");
    testing::WriteFileBytes(target, {1, 2, 3});
    const BackupOutcome o = BackupObjectFile(context, target, true);
    EXPECT_EQ(o.result, BackupResult::BackedUp);
    EXPECT_EQ(o.backupName, temp.File("scene.000"));
    EXPECT_FALSE(FileExists(target));
    EXPECT_EQ(BackupObjectFile(context, target, true).result, BackupResult::NoFile);
}

// Saving with backups over a file that is more than a name in a directory:
// someone else's private file, a symbolic link, a file with a second name.
// The file the user meant takes the new bytes, keeps what makes it theirs,
// and its backup lies beside it. A second name keeps the old file: the save
// replaces, it never writes into a file, and says so.
TEST_F(BackupTest, SavingKeepsLinksAndOwnersAndTellsOfOtherNames) {
    namespace fs = std::filesystem;
    const bool root = ::geteuid() == 0;
    struct Case {
        const char* name;
        const char* savedAs;    // the name the save is given
        const char* fileSaved;  // the file that takes the new bytes
        const char* backup;     // where the old bytes go
        bool secondName;        // the file has another name too
    };
    const Case cases[] = {
        {"private file of someone else", "wood.iob", "wood.iob", "wood.bak", false},
        {"symbolic link", "wood.iob", "real/wood.iob", "real/wood.bak", false},
        {"file with a second name", "wood.iob", "wood.iob", "wood.bak", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        testing::TempDir dir;
        fs::create_directory(dir.path() / "real");
        const fs::path file = dir.path() / c.fileSaved;
        testing::WriteFileBytes(file, Version("old.iff"));
        ::chmod(file.c_str(), 0640);
        if (root) {
            ASSERT_EQ(::chown(file.c_str(), 4321, 8765), 0);
        }
        if (std::string(c.savedAs) != c.fileSaved)
            fs::create_symlink(c.fileSaved, dir.path() / c.savedAs);
        const fs::path other = dir.path() / "other-name.iob";
        if (c.secondName) fs::create_hard_link(file, other);

        ASSERT_EQ(Load(Version("new.iff"), true, "source.iob"), ReadStatus::Ok);
        log.lines.clear();
        ui.messages.clear();
        context.log = &log;
        EXPECT_EQ(SaveObjectFile(context, (dir.path() / c.savedAs).string(), true),
                  SaveStatus::Written);

        EXPECT_EQ(testing::ReadFileBytes(file), Version("new.iff"));
        EXPECT_EQ(testing::ReadFileBytes(dir.path() / c.backup), Version("old.iff"));
        if (std::string(c.savedAs) != c.fileSaved) {
            EXPECT_TRUE(fs::is_symlink(dir.path() / c.savedAs));
        }
        // The other name keeps the old file, and the user hears of it.
        std::vector<std::string> logged = {"Existing Object File renamed as..." +
                                           (dir.path() / c.backup).string()};
        if (c.secondName) {
            EXPECT_EQ(testing::ReadFileBytes(other), Version("old.iff"));
            EXPECT_EQ(ui.Texts(), std::vector<std::string>{"source.iob" +
                                                           std::string(kOtherNamesKeepTheOldFile)});
            logged.push_back((dir.path() / c.savedAs).string() +
                             std::string(kOtherNamesKeepTheOldFile));
        } else {
            EXPECT_TRUE(ui.messages.empty());
        }
        EXPECT_EQ(log.lines, logged);
        struct stat st {};
        ASSERT_EQ(::stat(file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u);
        if (root) {
            EXPECT_EQ(st.st_uid, 4321u);
            EXPECT_EQ(st.st_gid, 8765u);
        }
        for (const auto& e : fs::recursive_directory_iterator(dir.path()))
            EXPECT_NE(e.path().filename().string()[0], '.') << e.path();
    }
}

class NoBackupNameTest : public BackupTest {
  protected:
    void SetUp() override {
        target = temp.File("full.iob");
        testing::WriteFileBytes(target, {'o', 'l', 'd'});
        testing::WriteFileBytes(temp.File("full.bak"), {});
        for (int i = 0; i <= 998; ++i) {
            char ext[8];
            std::snprintf(ext, sizeof ext, ".%03d", i);
            testing::WriteFileBytes(temp.File(std::string("full") + ext), {});
        }
        context.editor.shell.CurrentFileName = "full.iob";
        context.log = &log;
        ASSERT_EQ(ReadObjectFile(context, temp.File("src.iob"), false), ReadStatus::OpenFailed);
        testing::WriteFileBytes(temp.File("src.iob"), Version("new.iff"));
        ASSERT_EQ(ReadObjectFile(context, temp.File("src.iob"), false), ReadStatus::Ok);
        log.lines.clear();
    }
    std::string target;
};

TEST_F(NoBackupNameTest, InteractiveSaveAsksBeforeOverwriting) {
    ui.PlanAnswer(MessageAnswer::No);
    EXPECT_EQ(SaveObjectFile(context, target, true), SaveStatus::Declined);
    EXPECT_EQ(testing::ReadFileBytes(target), (Bytes{'o', 'l', 'd'}));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "full.iob cannot be backed up. Overwrite anyway ?");
    EXPECT_EQ(ui.messages[0].kind, MessageKind::Warning);
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);

    ui.PlanAnswer(MessageAnswer::Yes);
    EXPECT_EQ(SaveObjectFile(context, target, true), SaveStatus::Written);
    EXPECT_EQ(testing::ReadFileBytes(target), Version("new.iff"));
    EXPECT_TRUE(
        testing::ReadFileBytes(temp.File("full.998")).empty());  // no backup was overwritten
    EXPECT_EQ(ui.unplanned, 0);
}

TEST_F(NoBackupNameTest, BatchSaveOverwritesAndLogsIt) {
    EXPECT_EQ(SaveObjectFile(context, target, false), SaveStatus::Written);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(log.lines, std::vector<std::string>{"No backup made for " + target});
    EXPECT_EQ(testing::ReadFileBytes(target), Version("new.iff"));

    context.log = nullptr;  // without a log nothing is written anywhere
    EXPECT_EQ(BackupObjectFile(context, target, false).result, BackupResult::ProceedWithoutBackup);
}

}  // namespace
}  // namespace tessvane
