// Placeholders until the reader, the rules and the writer land.
#include "core/backup.h"
#include "core/file_system.h"
#include "core/path_rules.h"
#include "core/scanner.h"
#include "core/writer.h"

namespace tessvane {

WriteStatus WriteObjectFile(CoreContext&, std::string_view, bool) { return WriteStatus::CreateFailed; }
Bytes SerializeObjectFile(const ObjectFile&) { return {}; }
void ApplyRecordPaths(CoreContext&, bool) {}
std::uint32_t ComputeChunkSizes(ObjectFile&) { return 4; }
bool ResizePathChunk(ChunkNode&, std::size_t, std::string_view) { return false; }
bool ResizeEffectChunk(ChunkNode&, std::string_view) { return false; }
BackupOutcome BackupObjectFile(CoreContext&, std::string_view, bool) { return {}; }
std::string BackupBaseName(std::string_view p) { return std::string(p); }

}  // namespace tessvane
