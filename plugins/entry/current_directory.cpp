#include "entry/current_directory.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "framework/path_text.h"

namespace plugins::entry {

std::string CurrentDirectory() {
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::current_path(ec);
    return ec ? std::string() : dir.string();
}

bool ChangeDirectory(const std::string& dir) {
    return !dir.empty() && chdir(dir.c_str()) == 0;
}

CurrentDirectoryGuard::CurrentDirectoryGuard() : saved_(CurrentDirectory()) {}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
    if (!saved_.empty()) {
        ChangeDirectory(saved_);
    }
}

std::string EnterDirectoryOf(const std::string& path) {
    const PathParts parts = PathSplit(path);
    const std::string dir = PathJoin(parts.drive, parts.dir, "", "");
    ChangeDirectory(dir.empty() ? std::string(".") : dir);
    return CurrentDirectory();
}

std::string AbsolutePath(const std::string& path) {
    if (path.empty()) {
        return path;
    }
    std::error_code ec;
    const std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    if (ec) {
        return path;
    }
    // "." components and doubled separators may go, but ".." must stay:
    // after a symbolic link it leads elsewhere than dropping the
    // component before it would.
    for (const std::filesystem::path& part : absolute) {
        if (part == "..") {
            return absolute.string();
        }
    }
    return absolute.lexically_normal().string();
}

}  // namespace plugins::entry
