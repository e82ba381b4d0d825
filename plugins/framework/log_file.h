// The plug-in log file.
#pragma once

#include <cstdio>

namespace plugins {

// A run's log. Opened on a path, it truncates the file and writes every
// message straight through, flushing after each one so the log survives a
// crash of the host. Opened without a path (or when the file cannot be
// created) it silently drops every message, so a run logs unconditionally.
class LogFile {
  public:
    // Opens path for writing, truncating it; null means no log.
    explicit LogFile(const char* path);
    // Flushes and closes the file.
    ~LogFile();

    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    // Formats like printf and appends the text, of any length, unchanged.
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // True while a file is open and owned.
    bool IsOpen() const { return open_ != 0; }

  private:
    std::FILE* file_ = nullptr;
    int open_ = 0;
};

}  // namespace plugins
