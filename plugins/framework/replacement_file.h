// The plug-ins' one way to write a whole file: the export output and the
// files of the settings store. A crash, a kill or a full disk never leaves a
// half-written file where a good one was.
//
// The rule, for a target path on this host:
//  - The bytes go to a temporary file beside the target (".NAME.XXXXXX", or
//    ".replace-XXXXXX" when NAME is too long for that), which is flushed to
//    the disk and renamed over the target by Commit.
//  - A target that is a symbolic link is followed: the file it names is
//    replaced (or made, when the link dangles) and the link stays.
//  - A replaced file keeps its mode, and its owner and group where the
//    process may set them; where not even the group can be kept, the new
//    file has our group and no group permissions. A new file gets 0666 less the umask, or 0600 when
//    the caller asks for a private file (the settings store does).
//  - A target without any write permission bit, or one this process may not
//    write, is refused and left as it is; so is a directory.
//  - A device, pipe or socket is written to directly, never replaced.
//  - On failure, or when the file is abandoned, the old file is as it was
//    and no temporary file is left behind.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace plugins {

// The mode a newly made file gets; a replaced file always keeps its own.
enum class NewFileMode {
    Shared,   // 0666 less the umask, as any program's new file
    Private,  // 0600: the file holds one user's settings
};

// One file being written by the rule above. Not copyable; the destructor
// abandons a file that was opened and not committed.
class ReplacementFile {
  public:
    ReplacementFile() = default;
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    // Starts writing path. Returns false, creating nothing, when path is
    // empty, a directory or read-only, when its directory is missing or may
    // not be written, or when the temporary file cannot be made. A file
    // already open is abandoned first.
    bool Open(const std::string& path, NewFileMode new_mode = NewFileMode::Shared);
    bool IsOpen() const { return file_ != nullptr; }

    // The stream to write to while the file is open; owned by this object.
    // A write error on it makes Commit fail.
    std::FILE* Stream() const { return file_; }

    // Flushes and closes the stream and renames the temporary file over the
    // target. Returns false when a write, the flush, the close or the rename
    // failed; the temporary file is then removed and the target left as it
    // was. Returns true, doing nothing, when no file is open.
    bool Commit();

    // Closes and removes the temporary file without touching the target.
    void Abandon();

  private:
    std::FILE* file_ = nullptr;
    std::string target_;
    std::string temp_;  // empty when writing to the target itself
};

// Writes bytes as the whole file at path by the rule above. Returns false,
// leaving any old file as it was, when that fails.
bool ReplaceFileContents(const std::string& path, std::string_view bytes,
                         NewFileMode new_mode = NewFileMode::Shared);

}  // namespace plugins
