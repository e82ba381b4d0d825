// A private scratch directory for the fuzz targets, whose readers take file
// paths. It lies in /dev/shm when there is one, so the many small writes of
// a run never reach a disk, and it is removed when the process exits.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace fuzzsupport {

inline const std::filesystem::path& ScratchDirectory() {
    static const std::filesystem::path dir = [] {
        std::error_code ec;
        std::string base = std::filesystem::is_directory("/dev/shm", ec)
                               ? std::string("/dev/shm")
                               : std::filesystem::temp_directory_path().string();
        std::string pattern = base + "/tessvane-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchDirectory(), ignored);
        });
        return std::filesystem::path(pattern);
    }();
    return dir;
}

// Makes the scratch directory the home and the configuration home, so that
// the plug-ins' settings store writes there. For LLVMFuzzerInitialize.
inline void UseScratchAsHome() {
    const std::string home = ScratchDirectory().string();
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("HOME", home.c_str(), 1);
}

// Replaces the file at `path` with exactly `size` bytes of `data`.
inline void WriteFile(const std::filesystem::path& path, const void* data, std::size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    if (size != 0 && std::fwrite(data, 1, size, f) != size) std::abort();
    std::fclose(f);
}

// Stops the run with a message when a property does not hold; libFuzzer keeps
// the input that got here.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n", what);
        std::abort();
    }
}

}  // namespace fuzzsupport
