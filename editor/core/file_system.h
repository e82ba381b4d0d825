// This machine's file system, for local paths: the files a user opens or saves,
// directories chosen in dialogs, given on the command line or kept in the
// settings as local directories. Such paths are taken as they are: a ':' means
// nothing special (x:y.iob is a file name here), and only a '\' is read as
// '/'. Paths of the machine that wrote an object file (C:\TEXTURES,
// DH0:Textures, relative ones) are found through the volume map instead
// (core/volume_map.h, DirectoryExistsHere in core/path_rules.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/object_file.h"

namespace tessvane {

// The host form of a local path text: every '\' read as '/'. Nothing for a
// text that holds a zero byte, which the system would read as a shorter name.
std::optional<std::string> HostPath(std::string_view path);

bool FileExists(std::string_view path);       // a regular file (or a link to one)
bool DirectoryExists(std::string_view path);  // a directory (or a link to one)

// Renames `from` to `to` only when nothing exists at `to`. Returns false when
// `to` exists or the rename fails.
bool RenameIfAbsent(std::string_view from, std::string_view to);

// Reads the whole file. On failure returns false and sets `error` to the
// system error number.
bool ReadWholeFile(std::string_view path, Bytes& contents, int& error);

// Writes `contents` to a temporary file in the target's directory, flushes it
// to the disk and renames it over `path`. On failure the previous file at
// `path` is untouched, the temporary file is removed, and `error` holds the
// system error number. An existing file that is read-only (no write
// permission bit, or not writable by us) is not replaced: EACCES.
bool WriteWholeFileAtomic(std::string_view path, const Bytes& contents, int& error);

}  // namespace tessvane
