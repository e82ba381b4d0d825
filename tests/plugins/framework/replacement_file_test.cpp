#include "framework/replacement_file.h"

#include <filesystem>
#include <string>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

namespace {

namespace fs = std::filesystem;
using pluginsupport::ReadFileBytes;
using pluginsupport::TempDir;
using pluginsupport::WriteFileBytes;

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

class ScopedUmask {
  public:
    explicit ScopedUmask(mode_t mask) : old_(umask(mask)) {}
    ~ScopedUmask() { umask(old_); }

  private:
    mode_t old_;
};

TEST(ReplacementFile, EveryKindOfTargetIsReplacedOrRefusedByTheOneRule) {
    const ScopedUmask mask(027);
    struct Case {
        const char* name;
        // What lies at the target before the write: nothing, a file with
        // old_mode, a link to such a file, or /dev/null.
        enum class Kind { Absent, File, Link, Device } kind;
        mode_t old_mode;
        NewFileMode new_mode;
        bool written;
        mode_t mode_after;  // of the file the target names; 0: not checked
    };
    const Case cases[] = {
        {"absent", Case::Kind::Absent, 0, NewFileMode::Shared, true, 0640},
        {"absent, private", Case::Kind::Absent, 0, NewFileMode::Private, true, 0600},
        {"present", Case::Kind::File, 0604, NewFileMode::Shared, true, 0604},
        {"present, private store", Case::Kind::File, 0644, NewFileMode::Private, true, 0644},
        {"read-only", Case::Kind::File, 0444, NewFileMode::Shared, false, 0444},
        {"a link", Case::Kind::Link, 0612, NewFileMode::Shared, true, 0612},
        {"a device", Case::Kind::Device, 0, NewFileMode::Shared, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        fs::create_directory(dir.File("real"));
        const std::string real = dir.File("real/out.obj");
        std::string target = real;
        if (c.kind == Case::Kind::File || c.kind == Case::Kind::Link) {
            WriteFileBytes(real, "old\n");
            ASSERT_EQ(chmod(real.c_str(), c.old_mode), 0);
        }
        if (c.kind == Case::Kind::Link) {
            target = dir.File("link.obj");
            fs::create_symlink("real/out.obj", target);
        }
        if (c.kind == Case::Kind::Device) {
            target = dir.File("null.obj");
            fs::create_symlink("/dev/null", target);
        }

        EXPECT_EQ(ReplaceFileContents(target, "new\n", c.new_mode), c.written);

        if (c.kind == Case::Kind::Device) {
            EXPECT_TRUE(fs::is_character_file("/dev/null"));
        } else {
            EXPECT_EQ(ReadFileBytes(real), c.written ? "new\n" : "old\n");
            EXPECT_EQ(ModeOf(real), c.mode_after);
        }
        if (c.kind == Case::Kind::Link || c.kind == Case::Kind::Device) {
            EXPECT_TRUE(fs::is_symlink(target));
        }
        // Nothing but what was there before (and the written file) is left.
        for (const auto& entry : fs::recursive_directory_iterator(dir.path())) {
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
        }
    }
}

// Someone who is neither the owner of a file nor in its group may still
// replace it where everyone may write it. The replacement is then theirs,
// with their group, and the old group's permissions do not pass to that
// group. Only root can set this up: the write runs in a child that drops to
// another user.
TEST(ReplacementFile, SomeoneElsesFileDoesNotOpenItsGroupPermissionsToOurs) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "making files of other users needs root";
    }
    constexpr uid_t kOwner = 4321;
    constexpr gid_t kOwnerGroup = 8765;
    constexpr uid_t kWriter = 4322;
    constexpr gid_t kWriterGroup = 8766;
    TempDir dir;
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const std::string path = dir.File("shared.obj");
    WriteFileBytes(path, "old\n");
    ASSERT_EQ(chown(path.c_str(), kOwner, kOwnerGroup), 0);
    ASSERT_EQ(chmod(path.c_str(), 0676), 0);

    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const bool written = setgroups(0, nullptr) == 0 && setgid(kWriterGroup) == 0 &&
                             setuid(kWriter) == 0 &&
                             ReplaceFileContents(path, "new\n", NewFileMode::Shared);
        _exit(written ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);

    EXPECT_EQ(ReadFileBytes(path), "new\n");
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kWriter);
    EXPECT_EQ(st.st_gid, kWriterGroup);
    EXPECT_EQ(st.st_mode & 07777, 0606u);
}

TEST(ReplacementFile, AFailedOrAbandonedWriteLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    const std::string path = dir.File("keep.obj");
    WriteFileBytes(path, "old\n");
    {
        ReplacementFile file;
        ASSERT_TRUE(file.Open(path));
        std::fputs("half", file.Stream());
    }
    EXPECT_EQ(ReadFileBytes(path), "old\n");

    // A write error on the stream (here: one on a stream opened to read only)
    // makes the commit fail.
    ReplacementFile file;
    ASSERT_TRUE(file.Open(path));
    std::fgetc(file.Stream());
    EXPECT_FALSE(file.Commit());
    EXPECT_EQ(ReadFileBytes(path), "old\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);

    EXPECT_FALSE(file.Open(""));
    EXPECT_FALSE(file.Open(dir.path().string()));
    EXPECT_FALSE(file.Open(dir.File("missing/out.obj")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), {}), 1);
}

}  // namespace

}  // namespace plugins
