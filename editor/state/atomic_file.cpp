#include "atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "unique_fd.h"

namespace tessvane {
namespace {

constexpr int kMaxLinkHops = 40;

// What a written file takes over from the file it stands in for.
struct Attributes {
    bool owned = false;  // uid and gid are meaningful
    uid_t uid = 0;
    gid_t gid = 0;
    mode_t mode = 0;
};

mode_t NewFileMode() {
    // The only way to read the umask is to set it; the program has no threads
    // that could create a file in between.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

Attributes AttributesOf(const struct stat& st) {
    return {true, st.st_uid, st.st_gid, static_cast<mode_t>(st.st_mode & 07777)};
}

Attributes AttributesFrom(std::string_view file) {
    struct stat st {};
    if (!file.empty() && ::stat(std::string(file).c_str(), &st) == 0 && S_ISREG(st.st_mode))
        return AttributesOf(st);
    return {false, 0, 0, NewFileMode()};
}

// Owner and group first: changing them clears the set-id bits, which the mode
// then puts back. Only root may give a file away, but anyone may give it a
// group of their own, so someone else's file keeps at least its group when we
// are in it. Where the group cannot be kept either, the file is ours with our
// group, as any file we make; the old group's permissions would then open the
// content to people who could not read it before, so they are not taken over
// (the owner's and everyone's are).
bool SetAttributes(int fd, const Attributes& attributes, int& error) {
    mode_t mode = attributes.mode;
    if (attributes.owned && ::fchown(fd, attributes.uid, attributes.gid) != 0 &&
        ::fchown(fd, static_cast<uid_t>(-1), attributes.gid) != 0) {
        mode &= ~static_cast<mode_t>(S_ISGID | S_IRWXG);
    }
    if (::fchmod(fd, mode) != 0) {
        error = errno;
        return false;
    }
    return true;
}

bool WriteAll(int fd, std::string_view bytes, int& error) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool Sync(int fd, int& error) {
    if (::fsync(fd) == 0) return true;
    error = errno;
    return false;
}

bool CloseChecked(UniqueFd& fd, int& error) {
    if (fd.Close()) return true;
    error = errno;
    return false;
}

// A hidden name beside `target` for mkstemp: "dir/.name.XXXXXX".
std::string TemporaryBeside(const std::string& target) {
    const std::size_t slash = target.rfind('/');
    const std::string dir =
        slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    return dir + "." + name + ".XXXXXX";
}

bool WriteDirectly(const std::string& target, std::string_view contents, int& error) {
    UniqueFd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY));
    if (!fd.valid()) {
        error = errno;
        return false;
    }
    return WriteAll(fd.get(), contents, error) && CloseChecked(fd, error);
}

bool WriteBesideAndRename(const std::string& target, std::string_view contents,
                          const Attributes& attributes, int& error) {
    std::string temp = TemporaryBeside(target);
    UniqueFd fd(::mkostemp(temp.data(), O_CLOEXEC));
    if (!fd.valid()) {
        error = errno;
        return false;
    }
    bool ok = WriteAll(fd.get(), contents, error) && SetAttributes(fd.get(), attributes, error) &&
              Sync(fd.get(), error) && CloseChecked(fd, error);
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        error = errno;
        ok = false;
    }
    if (!ok) {
        fd.Close();
        ::unlink(temp.c_str());
    }
    return ok;
}

// No write permission bit at all, or none that lets us write: the user made
// the file read-only, and a rename would replace it without asking anyone.
bool IsReadOnly(const std::string& target, const struct stat& st) {
    return (st.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0;
}

}  // namespace

bool FollowLinks(std::string_view path, std::string& target, int& error) {
    target.assign(path);
    for (int hop = 0; hop <= kMaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        if (hop == kMaxLinkHops) break;
        std::string text(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 256, '\0');
        for (;;) {
            const ssize_t n = ::readlink(target.c_str(), text.data(), text.size());
            if (n < 0) {
                error = errno;
                return false;
            }
            if (static_cast<std::size_t>(n) < text.size()) {
                text.resize(static_cast<std::size_t>(n));
                break;
            }
            text.resize(text.size() * 2);  // the link changed under us
        }
        if (!text.empty() && text[0] == '/') {
            target = std::move(text);
        } else {
            const std::size_t slash = target.rfind('/');
            target =
                slash == std::string::npos ? std::move(text) : target.substr(0, slash + 1) + text;
        }
    }
    error = ELOOP;
    return false;
}

bool ReplaceFile(std::string_view path, std::string_view contents, int& error,
                 std::string_view attributesFrom) {
    error = 0;
    const std::string given(path);
    if (given.empty()) {
        error = ENOENT;
        return false;
    }
    struct stat st {};
    if (::stat(given.c_str(), &st) == 0) {
        if (S_ISDIR(st.st_mode)) {
            error = EISDIR;
            return false;
        }
        // The system follows whatever links lead there, /dev/stdout included.
        if (!S_ISREG(st.st_mode)) return WriteDirectly(given, contents, error);
    } else if (errno != ENOENT) {
        error = errno;
        return false;
    }

    std::string target;
    if (!FollowLinks(given, target, error)) return false;
    Attributes attributes;
    if (::stat(target.c_str(), &st) == 0) {
        if (!S_ISREG(st.st_mode)) return WriteDirectly(target, contents, error);
        if (IsReadOnly(target, st)) {
            error = EACCES;
            return false;
        }
        attributes = AttributesOf(st);
    } else {
        attributes = AttributesFrom(attributesFrom);
    }
    return WriteBesideAndRename(target, contents, attributes, error);
}

}  // namespace tessvane
