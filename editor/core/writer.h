// Writing the held ObjectFile back: every record's new path (and description)
// goes into its chunk, container and FORM sizes are recomputed, and the chunk
// list is written in order. The file is replaced atomically: a failed write
// leaves the previous file (or its backup) as it was.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/backup.h"
#include "core/core_context.h"

namespace tessvane {

enum class WriteStatus : int {
    Written = 0,
    CreateFailed = 1,  // nothing was written at `path`
};

// Applies the records (when there are any), recomputes the sizes and writes the
// file. With `interactive` a failure shows "Unable to Save " + CurrentFileName,
// and a directory of the wrong form for the Computer setting shows one warning.
// The chunks keep the applied changes even when the write fails. A held file
// is required: after FreeObjectFile (no FORM held) nothing is written and the
// status is CreateFailed.
WriteStatus WriteObjectFile(CoreContext& context, std::string_view path, bool interactive);

enum class SaveStatus : int {
    Written = 0,
    CreateFailed = 1,
    Declined = 2,  // no backup name was free and the user chose not to overwrite
};

// What the user is told, after the file's name, when the file saved had other
// names (hard links): the saved name holds the new file, the others the old.
inline constexpr std::string_view kOtherNamesKeepTheOldFile =
    " has other names (hard links); they keep the file as it was.";

// WriteObjectFile after BackupObjectFile(path) gave `backup`. A file moved
// aside lends its mode, owner and group to the file written in its place, and
// is put back at `path` when the write fails (logged as "Existing Object File
// restored from..." + backup name when a log is installed). When the old file
// had other names, a successful write says so: with `interactive` as
// information CurrentFileName + kOtherNamesKeepTheOldFile, and in the log
// (when installed) as `path` + kOtherNamesKeepTheOldFile.
WriteStatus WriteAfterBackup(CoreContext& context, std::string_view path,
                             const BackupOutcome& backup, bool interactive);

// Save and Save As: moves an existing file at `path` aside (BackupObjectFile,
// which asks before overwriting when no backup name is free), then
// WriteAfterBackup: a failed save leaves the previous file where it was. A
// symbolic link at `path` stays: the file it names (LinkedFile) is backed up
// beside itself and written.
SaveStatus SaveObjectFile(CoreContext& context, std::string_view path, bool interactive);

// The bytes WriteObjectFile writes, after ApplyRecordPaths and
// ComputeChunkSizes have been run on the held file.
Bytes SerializeObjectFile(const ObjectFile& file);

// Puts every record's composed path into its chunk.
void ApplyRecordPaths(CoreContext& context, bool interactive);

// Recomputes the sizes of the "OBJ ", "DESC" and "SOBJ" containers and returns
// the new FORM size.
std::uint32_t ComputeChunkSizes(ObjectFile& file);

// Keeps the first `prefixLength` bytes of the chunk's data and puts `path` as a
// counted text after them, padded to an even length. Returns false, leaving the
// chunk unchanged, when the chunk holds fewer than `prefixLength` bytes.
bool ResizePathChunk(ChunkNode& chunk, std::size_t prefixLength, std::string_view path);

// Replaces the counted path at offset 6 of an effect chunk and keeps the data
// after the old path block. Returns false, leaving the chunk unchanged, when the
// old path block does not fit in the chunk.
bool ResizeEffectChunk(ChunkNode& chunk, std::string_view path);

}  // namespace tessvane
