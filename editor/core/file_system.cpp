#include "core/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

#include "state/atomic_file.h"

namespace tessvane {
namespace {

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

bool HasOtherNames(std::string_view path) {
    struct stat st {};
    return StatHost(path, st) && S_ISREG(st.st_mode) && st.st_nlink > 1;
}

std::string LinkedFile(std::string_view path) {
    const auto host = HostPath(path);
    std::string target;
    int error = 0;
    if (!host || host->empty() || !FollowLinks(*host, target, error) || target == *host)
        return std::string(path);
    return target;
}

bool OpenForReading(std::string_view path, OpenedFile& file, int& error) {
    error = 0;
    const auto host = HostPath(path);
    if (!host || host->empty()) {
        error = ENOENT;
        return false;
    }
    UniqueFd fd(::open(host->c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!fd.valid() || ::fstat(fd.get(), &st) != 0) {
        error = errno;
        return false;
    }
    if (S_ISDIR(st.st_mode)) {
        error = EISDIR;
        return false;
    }
    file.fd = std::move(fd);
    file.regular = S_ISREG(st.st_mode);
    file.size = file.regular ? static_cast<std::uint64_t>(st.st_size) : 0;
    return true;
}

bool ReadWholeFile(std::string_view path, Bytes& contents, int& error) {
    contents.clear();
    OpenedFile file;
    if (!OpenForReading(path, file, error)) return false;
    unsigned char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.fd.get(), buffer, sizeof buffer);
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

bool WriteWholeFileAtomic(std::string_view path, const Bytes& contents, int& error,
                          std::string_view attributesFrom) {
    error = 0;
    const auto host = HostPath(path);
    if (!host || host->empty()) {
        error = ENOENT;
        return false;
    }
    std::string model;
    if (!attributesFrom.empty()) model = HostPath(attributesFrom).value_or(std::string());
    const std::string_view bytes(reinterpret_cast<const char*>(contents.data()), contents.size());
    return ReplaceFile(*host, bytes, error, model);
}

}  // namespace tessvane
