// This machine's file system, for local paths: the files a user opens or saves,
// directories chosen in dialogs, given on the command line or kept in the
// settings as local directories. Such paths are taken as they are: a ':' means
// nothing special (x:y.iob is a file name here), and only a '\' is read as
// '/'. Paths of the machine that wrote an object file (C:\TEXTURES,
// DH0:Textures, relative ones) are found through the volume map instead
// (core/volume_map.h, DirectoryExistsHere in core/path_rules.h).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/object_file.h"
#include "state/unique_fd.h"

namespace tessvane {

// The host form of a local path text: every '\' read as '/'. Nothing for a
// text that holds a zero byte, which the system would read as a shorter name.
std::optional<std::string> HostPath(std::string_view path);

bool FileExists(std::string_view path);       // a regular file (or a link to one)
bool DirectoryExists(std::string_view path);  // a directory (or a link to one)

// Renames `from` to `to` only when nothing exists at `to`. Returns false when
// `to` exists or the rename fails.
bool RenameIfAbsent(std::string_view from, std::string_view to);

// True when the regular file at `path` has other names (hard links) too.
bool HasOtherNames(std::string_view path);

// The file a write to `path` changes: the file a symbolic link at `path`
// names, as a path of this host (see FollowLinks in state/atomic_file.h), or
// `path` as it is when it is no link.
std::string LinkedFile(std::string_view path);

// A file opened for reading.
struct OpenedFile {
    UniqueFd fd;
    bool regular = false;    // a regular file, whose length is `size`
    std::uint64_t size = 0;  // (pipes and devices have none)
};

// Opens the file at `path` for reading. On failure returns false and sets
// `error` to the system error number (EISDIR for a directory).
bool OpenForReading(std::string_view path, OpenedFile& file, int& error);

// Reads the whole file. On failure returns false and sets `error` to the
// system error number.
bool ReadWholeFile(std::string_view path, Bytes& contents, int& error);

// Writes `contents` to `path` by the editor's one rule for replacing a file
// (state/atomic_file.h): a temporary file beside the target, flushed and
// renamed over it; links followed, mode, owner and group kept, read-only
// files refused (EACCES), devices written directly; other names of a
// hard-linked file keep the old file. A target that does not exist takes the
// mode, owner and group of `attributesFrom` when that names a file. On
// failure the previous file at `path` is untouched and `error` holds the
// system error number.
bool WriteWholeFileAtomic(std::string_view path, const Bytes& contents, int& error,
                          std::string_view attributesFrom = {});

}  // namespace tessvane
