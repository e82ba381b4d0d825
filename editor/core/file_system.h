// The file system as the core sees it. Path texts keep the form the user or the
// object file gave them; only here, when the system is asked, is a '\' read as
// '/'. A path that names a drive letter or an Amiga volume (a ':' in its first
// component, such as C:\TEXTURES or DH0:Textures) does not exist on this host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/object_file.h"

namespace tessvane {

// The host form of a path text, or nothing for a drive or volume path.
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
