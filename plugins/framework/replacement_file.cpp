#include "framework/replacement_file.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace plugins {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMaxFileNameLength = 255;
// As many links as the system itself follows before it gives up.
constexpr int kMaxLinkHops = 40;

// The file that path names once the links at its end are followed; the
// last one may dangle. Empty when the chain is too long or unreadable.
std::string FollowLinks(const std::string& path) {
    fs::path target = path;
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(target, ec))) {
            return target.string();
        }
        const fs::path next = fs::read_symlink(target, ec);
        if (ec) {
            return {};
        }
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    return {};
}

// "dir/.NAME.XXXXXX" for mkstemp, or a shorter name in the same directory
// when NAME leaves no room for the additions.
std::string TemporaryNameBeside(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    if (target.size() - name_start + 8 <= kMaxFileNameLength) {
        return target.substr(0, name_start) + "." + target.substr(name_start) + ".XXXXXX";
    }
    return target.substr(0, name_start) + ".replace-XXXXXX";
}

mode_t DefaultMode(NewFileMode new_mode) {
    if (new_mode == NewFileMode::Private) {
        return 0600;
    }
    // The umask can only be read by setting it; plug-ins create no files
    // from other threads meanwhile.
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// The user made the file read-only, or it is not ours to write: a rename
// would replace it without asking anyone.
bool IsReadOnly(const std::string& path, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0;
}

// Gives the new file fd the owner and group of the file st describes, and
// returns the mode it is to take over. Owner and group come first: changing
// them clears the set-id bits, which the mode then puts back. Only root may
// give a file away, but anyone may give it a group of their own, so
// someone else's file keeps at least its group when we are in it. Where the
// group cannot be kept either, the file is ours with our group; the old
// group's permissions would then open the content to people who could not
// read it before, so they are not taken over (the owner's and everyone's
// are).
mode_t KeptMode(int fd, const struct stat& st) {
    mode_t mode = st.st_mode & 07777;
    if (fchown(fd, st.st_uid, st.st_gid) != 0 &&
        fchown(fd, static_cast<uid_t>(-1), st.st_gid) != 0) {
        mode &= ~static_cast<mode_t>(S_ISGID | S_IRWXG);
    }
    return mode;
}

}  // namespace

ReplacementFile::~ReplacementFile() {
    Abandon();
}

bool ReplacementFile::Open(const std::string& path, NewFileMode new_mode) {
    Abandon();
    if (path.empty()) {
        return false;
    }
    struct stat st {};
    if (stat(path.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            return false;
        }
        if (!S_ISREG(st.st_mode)) {
            // A file put in place of a device would take its name away (think
            // of /dev/null), and there is no old content to keep.
            file_ = std::fopen(path.c_str(), "wb");
            target_ = path;
            temp_.clear();
            return file_ != nullptr;
        }
    } else if (errno != ENOENT) {
        return false;
    }

    const std::string target = FollowLinks(path);
    if (target.empty()) {
        return false;
    }
    const bool exists = stat(target.c_str(), &st) == 0;
    if (exists && IsReadOnly(target, st)) {
        return false;
    }
    std::string temp = TemporaryNameBeside(target);
    const int fd = mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    const mode_t mode = exists ? KeptMode(fd, st) : DefaultMode(new_mode);
    std::FILE* file = fchmod(fd, mode) == 0 ? fdopen(fd, "wb") : nullptr;
    if (file == nullptr) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    file_ = file;
    target_ = target;
    temp_ = std::move(temp);
    return true;
}

bool ReplacementFile::Commit() {
    if (file_ == nullptr) {
        return true;
    }
    bool ok = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    if (ok && !temp_.empty()) {
        ok = fsync(fileno(file_)) == 0;
    }
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    if (!temp_.empty()) {
        ok = ok && std::rename(temp_.c_str(), target_.c_str()) == 0;
        if (!ok) {
            unlink(temp_.c_str());
        }
    }
    temp_.clear();
    target_.clear();
    return ok;
}

void ReplacementFile::Abandon() {
    if (file_ == nullptr) {
        return;
    }
    std::fclose(file_);
    file_ = nullptr;
    if (!temp_.empty()) {
        unlink(temp_.c_str());
    }
    temp_.clear();
    target_.clear();
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes, NewFileMode new_mode) {
    ReplacementFile file;
    if (!file.Open(path, new_mode)) {
        return false;
    }
    if (!bytes.empty() &&
        std::fwrite(bytes.data(), 1, bytes.size(), file.Stream()) != bytes.size()) {
        file.Abandon();
        return false;
    }
    return file.Commit();
}

}  // namespace plugins
