#include "state/atomic_file.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "iff_builder.h"

namespace tessvane {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::string ReadText(const fs::path& path) {
    const auto bytes = testing::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void WriteText(const fs::path& path, const std::string& text) {
    testing::WriteFileBytes(path, testing::Bytes(text.begin(), text.end()));
}

struct stat StatOf(const fs::path& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

// Names in the directory (and below) that start with '.': temporary files.
std::vector<std::string> HiddenFiles(const fs::path& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (e.path().filename().string()[0] == '.') names.push_back(e.path().string());
    }
    return names;
}

// Sets the umask for one test and puts the old one back.
class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }

  private:
    mode_t old_;
};

// Another user and group than ours, where we may give files away (root).
constexpr uid_t kOtherUser = 4321;
constexpr gid_t kOtherGroup = 8765;
bool MayGiveFilesAway() {
    return ::geteuid() == 0;
}

TEST(AtomicFileTest, EveryKindOfTargetIsReplacedOrRefusedByTheOneRule) {
    const ScopedUmask umask(022);
    struct Case {
        const char* name;
        // Makes what lies at the target; returns the path written to.
        std::function<fs::path(const TempDir&)> make;
        int error;  // 0: the write succeeds
        // Checks what the write left (after the common checks).
        std::function<void(const TempDir&, const fs::path&)> check;
    };
    const Case cases[] = {
        {"absent", [](const TempDir& dir) { return dir.path() / "new.iob"; }, 0,
         [](const TempDir&, const fs::path& target) {
             EXPECT_EQ(StatOf(target).st_mode & 07777, 0644u);
             EXPECT_EQ(StatOf(target).st_uid, ::geteuid());
         }},
        {"present, private and someone else's",
         [](const TempDir& dir) {
             const fs::path target = dir.path() / "old.iob";
             WriteText(target, "old");
             ::chmod(target.c_str(), 0640);
             if (MayGiveFilesAway()) {
                 EXPECT_EQ(::chown(target.c_str(), kOtherUser, kOtherGroup), 0);
             }
             return target;
         },
         0,
         [](const TempDir&, const fs::path& target) {
             const struct stat st = StatOf(target);
             EXPECT_EQ(st.st_mode & 07777, 0640u);
             if (MayGiveFilesAway()) {
                 EXPECT_EQ(st.st_uid, kOtherUser);
                 EXPECT_EQ(st.st_gid, kOtherGroup);
             }
         }},
        {"read-only",
         [](const TempDir& dir) {
             const fs::path target = dir.path() / "locked.iob";
             WriteText(target, "old");
             ::chmod(target.c_str(), 0444);
             return target;
         },
         EACCES,
         [](const TempDir&, const fs::path& target) {
             EXPECT_EQ(StatOf(target).st_mode & 07777, 0444u);
         }},
        {"a link to a file elsewhere",
         [](const TempDir& dir) {
             fs::create_directory(dir.path() / "real");
             WriteText(dir.path() / "real" / "wood.iob", "old");
             ::chmod((dir.path() / "real" / "wood.iob").c_str(), 0600);
             fs::create_symlink("real/wood.iob", dir.path() / "wood.iob");
             return dir.path() / "wood.iob";
         },
         0,
         [](const TempDir& dir, const fs::path& target) {
             EXPECT_TRUE(fs::is_symlink(target));
             EXPECT_EQ(fs::read_symlink(target), "real/wood.iob");
             const fs::path real = dir.path() / "real" / "wood.iob";
             EXPECT_EQ(ReadText(real), "new");
             EXPECT_EQ(StatOf(real).st_mode & 07777, 0600u);
         }},
        {"a dangling link",
         [](const TempDir& dir) {
             fs::create_directory(dir.path() / "real");
             fs::create_symlink(dir.path() / "real" / "made.iob", dir.path() / "made.iob");
             return dir.path() / "made.iob";
         },
         0,
         [](const TempDir& dir, const fs::path& target) {
             EXPECT_TRUE(fs::is_symlink(target));
             EXPECT_EQ(ReadText(dir.path() / "real" / "made.iob"), "new");
         }},
        {"a device, through a link",
         [](const TempDir& dir) {
             fs::create_symlink("/dev/null", dir.path() / "null.iob");
             return dir.path() / "null.iob";
         },
         0,
         [](const TempDir&, const fs::path& target) {
             EXPECT_EQ(fs::read_symlink(target), "/dev/null");
             EXPECT_TRUE(fs::is_character_file("/dev/null"));
         }},
        {"a file with a second name",
         [](const TempDir& dir) {
             const fs::path target = dir.path() / "shared.iob";
             WriteText(target, "the old, longer text");
             fs::create_hard_link(target, dir.path() / "other-name.iob");
             return target;
         },
         0,
         [](const TempDir& dir, const fs::path& target) {
             // Replaced like any file: the other name keeps the old one whole.
             EXPECT_EQ(ReadText(dir.path() / "other-name.iob"), "the old, longer text");
             EXPECT_EQ(StatOf(dir.path() / "other-name.iob").st_nlink, 1u);
             EXPECT_EQ(StatOf(target).st_nlink, 1u);
         }},
        {"in a missing directory",
         [](const TempDir& dir) { return dir.path() / "missing" / "x.iob"; }, ENOENT,
         [](const TempDir&, const fs::path& target) { EXPECT_FALSE(fs::exists(target)); }},
        {"a directory",
         [](const TempDir& dir) {
             fs::create_directories(dir.path() / "busy.iob" / "inside");
             return dir.path() / "busy.iob";
         },
         EISDIR,
         [](const TempDir&, const fs::path& target) {
             EXPECT_TRUE(fs::is_directory(target / "inside"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const fs::path target = c.make(dir);
        const bool existed = fs::is_regular_file(target);
        const std::string before = existed ? ReadText(target) : std::string();
        int error = -1;
        EXPECT_EQ(ReplaceFile(target.string(), "new", error), c.error == 0);
        EXPECT_EQ(error, c.error);
        if (c.error == 0 && fs::is_regular_file(target)) {
            EXPECT_EQ(ReadText(target), "new");
        }
        if (c.error != 0 && existed) {
            EXPECT_EQ(ReadText(target), before);
        }
        c.check(dir, target);
        EXPECT_TRUE(HiddenFiles(dir.path()).empty());
    }
}

// Someone who is neither the owner of a file nor in its group may still
// replace it where everyone may write it. The replacement is then theirs,
// with their group, and the old group's permissions do not pass to that
// group. The write runs in a child that drops to another user.
TEST(AtomicFileTest, SomeoneElsesFileDoesNotOpenItsGroupPermissionsToOurs) {
    if (!MayGiveFilesAway()) GTEST_SKIP() << "making files of other users needs root";
    constexpr uid_t kWriter = kOtherUser + 1;
    constexpr gid_t kWriterGroup = kOtherGroup + 1;
    TempDir dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    const fs::path target = dir.path() / "shared.iob";
    WriteText(target, "old");
    ASSERT_EQ(::chown(target.c_str(), kOtherUser, kOtherGroup), 0);
    ASSERT_EQ(::chmod(target.c_str(), 0676), 0);

    const pid_t child = ::fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        int error = 0;
        const bool written = ::setgroups(0, nullptr) == 0 && ::setgid(kWriterGroup) == 0 &&
                             ::setuid(kWriter) == 0 && ReplaceFile(target.string(), "new", error);
        ::_exit(written ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(ReadText(target), "new");
    const struct stat st = StatOf(target);
    EXPECT_EQ(st.st_uid, kWriter);
    EXPECT_EQ(st.st_gid, kWriterGroup);
    EXPECT_EQ(st.st_mode & 07777, 0606u);
}

TEST(AtomicFileTest, ANewFileCanTakeTheAttributesOfTheFileItFollows) {
    const ScopedUmask umask(022);
    TempDir dir;
    const fs::path backup = dir.path() / "wood.bak";
    WriteText(backup, "old");
    ::chmod(backup.c_str(), 0600);
    if (MayGiveFilesAway()) {
        ASSERT_EQ(::chown(backup.c_str(), kOtherUser, kOtherGroup), 0);
    }

    int error = 0;
    const fs::path saved = dir.path() / "wood.iob";
    ASSERT_TRUE(ReplaceFile(saved.string(), "new", error, backup.string()));
    const struct stat st = StatOf(saved);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    if (MayGiveFilesAway()) {
        EXPECT_EQ(st.st_uid, kOtherUser);
        EXPECT_EQ(st.st_gid, kOtherGroup);
    }
    // A file that is gone gives the mode of any new file.
    const fs::path plain = dir.path() / "plain.iob";
    ASSERT_TRUE(ReplaceFile(plain.string(), "x", error, (dir.path() / "gone").string()));
    EXPECT_EQ(StatOf(plain).st_mode & 07777, 0644u);

    EXPECT_TRUE(HiddenFiles(dir.path()).empty());
}

TEST(AtomicFileTest, FollowLinksReadsRelativeLinksFromTheirOwnDirectory) {
    TempDir dir;
    fs::create_directories(dir.path() / "a" / "b");
    fs::create_symlink("b/second", dir.path() / "a" / "first");
    fs::create_symlink("../../file", dir.path() / "a" / "b" / "second");
    std::string target;
    int error = 0;
    ASSERT_TRUE(FollowLinks((dir.path() / "a" / "first").string(), target, error));
    EXPECT_EQ(target, (dir.path() / "a" / "b" / "../../file").string());
    ASSERT_TRUE(FollowLinks("plain", target, error));
    EXPECT_EQ(target, "plain");

    fs::create_symlink("loop2", dir.path() / "loop1");
    fs::create_symlink("loop1", dir.path() / "loop2");
    EXPECT_FALSE(FollowLinks((dir.path() / "loop1").string(), target, error));
    EXPECT_EQ(error, ELOOP);
    EXPECT_FALSE(ReplaceFile((dir.path() / "loop1").string(), "x", error));
}

}  // namespace
}  // namespace tessvane
