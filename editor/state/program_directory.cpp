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

std::filesystem::path ExecutableDirectory() {
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::path() : exe.parent_path();
}

std::filesystem::path InstalledDataDirectory(const std::filesystem::path& executableDirectory) {
    if (executableDirectory.empty()) return {};
    const std::filesystem::path data =
        (executableDirectory / TESSVANE_DATA_FROM_BINDIR).lexically_normal();
    std::error_code ec;
    return std::filesystem::is_directory(data, ec) ? data : std::filesystem::path();
}

const char* ProgramVersion() {
    return TESSVANE_VERSION;
}

std::string ProgramDirectoryFor(const std::filesystem::path& executableDirectory) {
    if (IsWritableDirectory(executableDirectory) &&
        InstalledDataDirectory(executableDirectory).empty()) {
        return WithTrailingSlash(executableDirectory.string());
    }
    const std::string user = UserConfigDirectory();
    std::error_code ec;
    std::filesystem::create_directories(user, ec);
    return user;
}

std::string ProgramDirectory() {
    return ProgramDirectoryFor(ExecutableDirectory());
}

std::string BatchLogDirectory(const std::string& programDirectory,
                              const std::string& settingsDirectory) {
    return IsWritableDirectory(programDirectory) ? programDirectory : settingsDirectory;
}

}  // namespace tessvane
