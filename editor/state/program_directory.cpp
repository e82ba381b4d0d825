#include "program_directory.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace tessvane {
namespace {

std::string WithTrailingSlash(std::string dir) {
    if (dir.empty() || dir.back() != '/') dir.push_back('/');
    return dir;
}

bool IsWritableDirectory(const std::filesystem::path& dir) {
    std::error_code ec;
    if (dir.empty() || !std::filesystem::is_directory(dir, ec)) return false;
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

}  // namespace

std::string UserConfigDirectory() {
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home != nullptr ? home : "") / ".config";
    }
    return WithTrailingSlash((base / "Tessvane").string());
}

std::string ProgramDirectoryFor(const std::filesystem::path& executableDirectory) {
    if (IsWritableDirectory(executableDirectory)) {
        return WithTrailingSlash(executableDirectory.string());
    }
    const std::string user = UserConfigDirectory();
    std::error_code ec;
    std::filesystem::create_directories(user, ec);
    return user;
}

std::string ProgramDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ProgramDirectoryFor(ec ? std::filesystem::path() : exe.parent_path());
}

std::string BatchLogDirectory(const std::string& programDirectory,
                              const std::string& settingsDirectory) {
    return IsWritableDirectory(programDirectory) ? programDirectory : settingsDirectory;
}

}  // namespace tessvane
