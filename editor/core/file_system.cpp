#include "core/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string>

namespace tessvane {
namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    int Close() {
        int rc = 0;
        if (fd_ >= 0) rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

  private:
    int fd_;
};

bool StatHost(std::string_view path, struct stat& st) {
    const auto host = HostPath(path);
    if (!host || host->empty()) return false;
    return ::stat(host->c_str(), &st) == 0;
}

}  // namespace

std::optional<std::string> HostPath(std::string_view path) {
    // A path read from a damaged file may hold zero bytes; the system would
    // see a different, shorter name.
    if (path.find('\0') != std::string_view::npos) return std::nullopt;
    std::string host(path);
    for (char& c : host) {
        if (c == '\\') c = '/';
    }
    return host;
}

bool FileExists(std::string_view path) {
    struct stat st {};
    return StatHost(path, st) && S_ISREG(st.st_mode);
}

bool DirectoryExists(std::string_view path) {
    struct stat st {};
    return StatHost(path, st) && S_ISDIR(st.st_mode);
}

bool RenameIfAbsent(std::string_view from, std::string_view to) {
    const auto hostFrom = HostPath(from);
    const auto hostTo = HostPath(to);
    if (!hostFrom || !hostTo || hostFrom->empty() || hostTo->empty()) return false;
    // A hard link fails when the target exists, so an earlier backup is never
    // replaced, even by another program racing us; then the old name goes.
    if (::link(hostFrom->c_str(), hostTo->c_str()) == 0) {
        if (::unlink(hostFrom->c_str()) == 0) return true;
        ::unlink(hostTo->c_str());
        return false;
    }
    if (errno == EEXIST) return false;
    // File systems without hard links: check, then rename.
    struct stat st {};
    if (::lstat(hostTo->c_str(), &st) == 0) return false;
    return ::rename(hostFrom->c_str(), hostTo->c_str()) == 0;
}

bool ReadWholeFile(std::string_view path, Bytes& contents, int& error) {
    contents.clear();
    error = 0;
    const auto host = HostPath(path);
    if (!host || host->empty()) {
        error = ENOENT;
        return false;
    }
    Descriptor fd(::open(host->c_str(), O_RDONLY | O_CLOEXEC));
    if (!fd.valid()) {
        error = errno;
        return false;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        error = errno;
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
        return false;
    }
    unsigned char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            contents.clear();
            return false;
        }
        if (n == 0) break;
        contents.insert(contents.end(), buffer, buffer + n);
    }
    return true;
}

bool WriteWholeFileAtomic(std::string_view path, const Bytes& contents, int& error) {
    error = 0;
    const auto host = HostPath(path);
    if (!host || host->empty()) {
        error = ENOENT;
        return false;
    }
    // A file marked read-only is refused, as opening it for writing would be:
    // the rename below would replace it without asking anyone.
    struct stat existing {};
    if (::stat(host->c_str(), &existing) == 0 && S_ISREG(existing.st_mode) &&
        ((existing.st_mode & 0222) == 0 || ::access(host->c_str(), W_OK) != 0)) {
        error = EACCES;
        return false;
    }
    const std::filesystem::path target(*host);
    std::filesystem::path dir = target.parent_path();
    if (dir.empty()) dir = ".";
    std::string hidden(1, '.');
    hidden.append(target.filename().string()).append(".XXXXXX");
    std::string temp = (dir / hidden).string();
    Descriptor fd(::mkstemp(temp.data()));
    if (!fd.valid()) {
        error = errno;
        return false;
    }
    auto fail = [&](int err) {
        error = err;
        fd.Close();
        ::unlink(temp.c_str());
        return false;
    };
    // Keep the permissions of the file being replaced; a new file gets the
    // usual ones for the user's umask.
    struct stat st {};
    if (::stat(host->c_str(), &st) == 0) {
        ::fchmod(fd.get(), st.st_mode & 07777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd.get(), 0666 & ~mask);
    }
    std::size_t done = 0;
    while (done < contents.size()) {
        const ssize_t n = ::write(fd.get(), contents.data() + done, contents.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (fd.Close() != 0) {
        error = errno;
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), host->c_str()) != 0) {
        error = errno;
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace tessvane
