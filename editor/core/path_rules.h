// The rules by which a PathRecord gets its new directory, file name, suffix and
// description, and how the path written for it is put together. None of them
// touches a file: they change records, the SummaryEntries and the default
// lists. Record numbers count from 1 in file order.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "core/core_context.h"
#include "state/suffixes.h"

namespace tessvane {

// Directories and files of the object file's machine are looked for here
// through the volume map of the settings (core/volume_map.h): C:\TEX and
// DH0:Textures on the volume mapped for their name, case-blind; a relative
// directory under the Imagine Directory; a path of this machine (/home/...)
// as it stands. A path on a volume that is not mapped does not exist here;
// ResolveObjectPath and DescribeResolvedPath say why.

// Imagine Directory + separator + `directory` when `directory` is relative
// and exists under the Imagine Directory; otherwise the Imagine Directory
// itself (with `fallback`) or `directory` unchanged.
std::string ResolveImagineDirectory(const EditorContext& editor, std::string_view directory,
                                    bool fallback);

// True when `directory` exists: through the map, under the Imagine Directory
// when relative, as it stands when local. The empty directory is the Imagine
// Directory.
bool DirectoryExistsHere(const EditorContext& editor, std::string_view directory);

// True when the file `fileName` exists in `directory` (found as above):
// Validate Files, and whether a batch may ask for a texture.
bool FileExistsHere(const EditorContext& editor, std::string_view directory,
                    std::string_view fileName);

// `directory` relative to the Imagine Directory: empty when equal to it
// (exactly), the rest after it (compared in upper case) when it starts with it,
// else unchanged.
std::string TruncateImagineDirectory(const EditorContext& editor, std::string_view directory);

// The path to write for a record, cut to 255 characters.
struct ComposedPath {
    std::string path;
    // The directory has the other computer's separator ('\' for Amiga, '/' for PC).
    bool wrongForm = false;
};
// Shortens the directory with Use Short Directory (logging "Truncated to"), then
// joins directory and NewFileName with the separator of the Computer setting
// unless the directory already ends in '/', ':' or '\'.
ComposedPath ComposeRecordPath(CoreContext& context, const PathRecord& record);

// First DirectoryDefault whose old directory equals the record's OldDirectory;
// with `prompt` (batch runs only) a missing entry may be asked for and is then
// appended to the list. A match sets NewDirectory and logs "Path ... Changed To".
void ApplyDirectoryDefault(CoreContext& context, std::size_t recordNumber, bool prompt);
void ApplyDirectoryDefaults(CoreContext& context, bool prompt);

// The same for a Texture record and the TextureDefaultList (NewFileName, and
// NewDescription with Update Texture Descriptions). ApplyTextureDefaults does
// nothing unless the file has a Texture record and the list is not empty.
void ApplyTextureDefault(CoreContext& context, std::size_t recordNumber, bool prompt);
void ApplyTextureDefaults(CoreContext& context, bool prompt);

// context.editor.suffixes = ComputeEffectiveSuffixes(settings) (state/suffixes.h).
void ComputeEffectiveSuffixes(CoreContext& context);

// Replaces the extension of every Texture and Brush record whose selection is
// not "as is" by the effective suffix (or removes it when that is empty).
void ApplySuffixes(CoreContext& context);

// Every record whose OldDirectory has a SummaryEntry (compared in upper case)
// takes that entry's new directory. Writes no log line.
void ApplySummary(ObjectFile& file);

// One change line on context.log, when one is installed:
// "Object: " + part + " >>  " + what + ": " + before + "  " + verb + "  " + after
void LogChange(CoreContext& context, std::string_view part, std::string_view what,
               std::string_view verb, std::string_view before, std::string_view after);

}  // namespace tessvane
