// Placeholders until the reader, the rules and the writer land.
#include "core/backup.h"
#include "core/file_system.h"
#include "core/path_rules.h"
#include "core/scanner.h"
#include "core/writer.h"

namespace tessvane {

ReadStatus ReadObjectFile(CoreContext&, std::string_view, bool) { return ReadStatus::OpenFailed; }
void AddPathRecord(CoreContext&, std::string_view, std::string_view, PathKind) {}
void FreeObjectFile(ObjectFile& file) { file = ObjectFile(); }
void SortDisplayOrder(CoreContext&) {}
bool RemovePathRecord(ObjectFile&, std::size_t) { return false; }
SplitPath SplitRecordPath(std::string_view) { return {}; }
std::string ResolveImagineDirectory(const EditorContext&, std::string_view d, bool) { return std::string(d); }
bool DirectoryExistsHere(const EditorContext&, std::string_view) { return false; }
std::string TruncateImagineDirectory(const EditorContext&, std::string_view d) { return std::string(d); }
ComposedPath ComposeRecordPath(CoreContext&, const PathRecord&) { return {}; }
void ApplyDirectoryDefault(CoreContext&, std::size_t, bool) {}
void ApplyDirectoryDefaults(CoreContext&, bool) {}
void ApplyTextureDefault(CoreContext&, std::size_t, bool) {}
void ApplyTextureDefaults(CoreContext&, bool) {}
void ComputeEffectiveSuffixes(CoreContext& c) { RefreshEffectiveSuffixes(c.editor); }
void ApplySuffixes(CoreContext&) {}
void ApplySummary(ObjectFile&) {}
void LogChange(CoreContext&, std::string_view, std::string_view, std::string_view, std::string_view,
               std::string_view) {}
WriteStatus WriteObjectFile(CoreContext&, std::string_view, bool) { return WriteStatus::CreateFailed; }
Bytes SerializeObjectFile(const ObjectFile&) { return {}; }
void ApplyRecordPaths(CoreContext&, bool) {}
std::uint32_t ComputeChunkSizes(ObjectFile&) { return 4; }
bool ResizePathChunk(ChunkNode&, std::size_t, std::string_view) { return false; }
bool ResizeEffectChunk(ChunkNode&, std::string_view) { return false; }
BackupOutcome BackupObjectFile(CoreContext&, std::string_view, bool) { return {}; }
std::string BackupBaseName(std::string_view p) { return std::string(p); }

}  // namespace tessvane
