// Reading an object or project file into the CoreContext's ObjectFile, and the
// operations on the records it yields.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/core_context.h"

namespace tessvane {

enum class ReadStatus : int {
    Ok = 0,          // read, at least one path record
    OpenFailed = 1,  // the file could not be opened or read
    NoPaths = 2,     // a valid FORM without any path chunk; nothing is held
    NotTddd = 3,     // not an IFF FORM of type "TDDD" or "ISTG"
};

// The largest object or project file ReadObjectFile loads: 1 GiB. Real files
// are a few megabytes; a larger one is refused before it is read, so a stray
// disk image or an endless device never fills the memory.
inline constexpr std::uint64_t kMaxObjectFileBytes = std::uint64_t{1} << 30;

// Reads `path` into context.file, replacing what was held. The 12-byte FORM
// header is read and checked first; only a TDDD or ISTG file is read on, in
// one pass. A file larger than kMaxObjectFileBytes is OpenFailed, with the
// warning CurrentFileName + " is larger than 1 GiB and is not loaded." With `interactive`
// the failures show their messages through context.ui (named after
// shell.CurrentFileName or `path`); without it nothing is shown and the caller
// records the status. With context.log set, a successful header check ends the
// log's current line, and list changes made on load write their change lines.
//
// Every length, count and offset is checked against the bytes held: a path
// chunk whose fields do not fit stays an opaque chunk and yields no record, and
// is written back unchanged.
ReadStatus ReadObjectFile(CoreContext& context, std::string_view path, bool interactive);

// Appends a record for the chunk most recently added to the ChunkList, from its
// path, description and kind; applies the default lists when their "Set on
// Load" settings are on, and adds a SummaryEntry for a new directory. Used by
// the reader; exposed for tests and tools that build files in memory.
void AddPathRecord(CoreContext& context, std::string_view path, std::string_view description,
                   PathKind kind);

// Drops the FORM header, all records, summary entries and chunks; Loaded
// becomes false. Nothing can be written until a file is read again.
void FreeObjectFile(ObjectFile& file);

// Rebuilds DisplayOrder for shell.SortMode (0 file order; 1 PartName,
// 2 OldFileName, 3 OldDescription, each compared in upper case).
void SortDisplayOrder(CoreContext& context);

// Removes the record shown at display position `position` (1-based) together
// with its chunk, renumbering the later records and chunk ordinals. Returns
// false, changing nothing, when the position is out of range.
bool RemovePathRecord(ObjectFile& file, std::size_t position);

// Splits a path at its last '/', ':' or '\' into directory and file name. A
// '/' or '\' separator is dropped from the directory, except where the
// directory would then be empty or end in ':' (a root such as C:\ or \), so
// that the path is written back to the same place.
struct SplitPath {
    std::string directory;
    std::string fileName;
};
SplitPath SplitRecordPath(std::string_view path);

}  // namespace tessvane
