// Where the path and its neighbouring fields lie in each kind of path chunk,
// shared by the reader and the writer. Every offset is checked against the
// bytes the chunk holds before it is used.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "core/object_file.h"

namespace tessvane {

enum class PathLayout : std::uint8_t {
    FixedPrefix,      // the path is the last field, at a fixed offset
    ParticleGroup16,  // FGR2/FGR3: offset from a 16-bit count, flags decide
    ParticleGroup32,  // FGR4: offset from a 32-bit count, flags decide
    Effect,           // counted path at 6, followed by data that is kept
};

struct PathChunkInfo {
    const char* id;
    PathKind kind;
    PathLayout layout;
    // FixedPrefix: the path offset. Particle groups: the constant of
    // 2N+prefix / 4N+prefix. Effect: 6.
    std::size_t prefix;
    // Sub-group, group or object name field (18 bytes), if any.
    std::optional<std::size_t> nameOffset;
    // Description field, if any, and its width.
    std::optional<std::size_t> descriptionOffset;
    std::size_t descriptionWidth;
};

// The table entry for a path chunk id, or null for every other id.
const PathChunkInfo* FindPathChunk(const ChunkId& id);

// Where the counted path starts in this chunk's data, or nothing when the
// chunk does not carry a path: a particle group whose flags do not mark it, or
// a chunk too short for its fields and its whole counted path. Only the first
// `size` bytes count (the chunk's declared size): a pad byte is no part of
// the path.
std::optional<std::size_t> LocatePath(const PathChunkInfo& info, const Bytes& data,
                                      std::size_t size = static_cast<std::size_t>(-1));

// The bytes of a node's data that its Size declares (never more than it holds).
std::size_t DeclaredBytes(const ChunkNode& node);

// The fields the reader takes from a path chunk.
struct PathChunkFields {
    std::string path;
    std::string name;         // sub-group, group or object name; may be empty
    std::string description;  // as read, or the kind word
};
std::optional<PathChunkFields> ReadPathChunk(const PathChunkInfo& info, const Bytes& data,
                                             std::size_t size = static_cast<std::size_t>(-1));

// Whether the chunk that `record` was read from has a description field
// (TXT4, BRS5): only then can a new description reach the file.
bool RecordHasDescriptionField(const ObjectFile& file, const PathRecord& record);

// Text up to its first zero byte, at most `width` bytes, never past the data.
std::string ReadZeroTerminated(const Bytes& data, std::size_t offset, std::size_t width);

}  // namespace tessvane
