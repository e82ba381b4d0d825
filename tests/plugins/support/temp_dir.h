// Temporary directories and environment overrides for plug-in tests.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace pluginsupport {

// A fresh directory under the system's temporary directory, removed with all
// its contents when the object goes away. Each test gets its own, so tests
// may run in parallel.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Full path of a file inside the directory.
    std::string File(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

// Sets an environment variable (or unsets it, with nullopt) and restores the
// previous state on destruction.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, std::optional<std::string> value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    std::string name_;
    std::optional<std::string> old_;
};

// Test fixture whose XDG_CONFIG_HOME and HOME point into a private temporary
// directory, so nothing reaches the real per-user configuration.
class ConfigHomeTest : public ::testing::Test {
  protected:
    ConfigHomeTest();

    // The configuration home ($XDG_CONFIG_HOME) of this test.
    std::filesystem::path ConfigHome() const { return temp_.path() / "config"; }

    TempDir temp_;

  private:
    ScopedEnv home_;
    ScopedEnv config_;
};

// Whole contents of a file as bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::filesystem::path& path);

// Writes bytes to a file, replacing it.
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace pluginsupport
