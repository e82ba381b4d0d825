// The process's current directory around a plug-in operation.
//
// An operation works in the directory of the file it reads or writes (so a
// relative log file name lands beside that file) and gives the host its own
// current directory back when it returns.
#pragma once

#include <string>

namespace plugins::entry {

// The process's current directory; empty when it cannot be determined.
std::string CurrentDirectory();

// Makes dir the current directory. Returns false when it cannot.
bool ChangeDirectory(const std::string& dir);

// Remembers the current directory and restores it when it goes away, also
// when the operation in between leaves early.
class CurrentDirectoryGuard {
  public:
    CurrentDirectoryGuard();
    ~CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

  private:
    std::string saved_;
};

// Makes the directory part of path (its drive and directory) the current
// directory, or "." when path has none. Returns the current directory
// afterwards.
std::string EnterDirectoryOf(const std::string& path);

// path made absolute against the current directory (unchanged when it
// already is, or is empty). "." components are dropped; ".." components are
// kept, so the name still leads through any symbolic link it names.
std::string AbsolutePath(const std::string& path);

}  // namespace plugins::entry
