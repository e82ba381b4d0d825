#include "core/chunk_format.h"

#include <array>
#include <cstring>
#include <iterator>

namespace tessvane {
namespace {

constexpr std::array<PathChunkInfo, 18> kPathChunks = {{
    {"TXT1", PathKind::Texture, PathLayout::FixedPrefix, 142, std::nullopt, std::nullopt, 0},
    {"TXT2", PathKind::Texture, PathLayout::FixedPrefix, 160, 142, std::nullopt, 0},
    {"TXT3", PathKind::Texture, PathLayout::FixedPrefix, 178, 142, std::nullopt, 0},
    {"TXT4", PathKind::Texture, PathLayout::FixedPrefix, 200, 142, 178, 22},
    {"BRS1", PathKind::Brush, PathLayout::FixedPrefix, 66, std::nullopt, std::nullopt, 0},
    {"BRS2", PathKind::Brush, PathLayout::FixedPrefix, 68, std::nullopt, std::nullopt, 0},
    {"BRS3", PathKind::Brush, PathLayout::FixedPrefix, 86, 68, std::nullopt, 0},
    {"BRS4", PathKind::Brush, PathLayout::FixedPrefix, 104, 68, std::nullopt, 0},
    {"BRS5", PathKind::Brush, PathLayout::FixedPrefix, 134, 68, 104, 30},
    {"PTFN", PathKind::ParticleObject, PathLayout::FixedPrefix, 0, std::nullopt, std::nullopt, 0},
    {"FGR2", PathKind::ParticleObject, PathLayout::ParticleGroup16, 26, 2, std::nullopt, 0},
    {"FGR3", PathKind::ParticleObject, PathLayout::ParticleGroup16, 28, 2, std::nullopt, 0},
    {"FGR4", PathKind::ParticleObject, PathLayout::ParticleGroup32, 30, 4, std::nullopt, 0},
    {"FIL3", PathKind::Object, PathLayout::FixedPrefix, 40, 22, std::nullopt, 0},
    {"SPFX", PathKind::Effect, PathLayout::Effect, 6, std::nullopt, std::nullopt, 0},
    {"S2FX", PathKind::Effect, PathLayout::Effect, 6, std::nullopt, std::nullopt, 0},
    {"S3FX", PathKind::Effect, PathLayout::Effect, 6, std::nullopt, std::nullopt, 0},
    {"S4FX", PathKind::Effect, PathLayout::Effect, 6, std::nullopt, std::nullopt, 0},
}};

// Marks a particle group that names an object file.
constexpr unsigned kParticleObjectFlags = 9;

std::uint32_t BigEndian16(const Bytes& data, std::size_t at) {
    return (std::uint32_t{data[at]} << 8) | data[at + 1];
}

std::uint32_t BigEndian32(const Bytes& data, std::size_t at) {
    return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
           (std::uint32_t{data[at + 2]} << 8) | data[at + 3];
}

}  // namespace

const PathChunkInfo* FindPathChunk(const ChunkId& id) {
    for (const PathChunkInfo& info : kPathChunks) {
        if (id.Is(info.id)) return &info;
    }
    return nullptr;
}

std::size_t DeclaredBytes(const ChunkNode& node) {
    const std::size_t held = node.HasData() ? node.Data->size() : 0;
    if (node.Size < 0) return held;
    const auto declared = static_cast<std::size_t>(node.Size);
    return declared < held ? declared : held;
}

std::optional<std::size_t> LocatePath(const PathChunkInfo& info, const Bytes& data,
                                      std::size_t size) {
    if (size > data.size()) size = data.size();
    // 64-bit arithmetic: a 32-bit count times 4 must not wrap.
    std::uint64_t pathAt = info.prefix;
    if (info.layout == PathLayout::ParticleGroup16 || info.layout == PathLayout::ParticleGroup32) {
        const bool wide = info.layout == PathLayout::ParticleGroup32;
        const std::size_t countWidth = wide ? 4 : 2;
        if (size < countWidth) return std::nullopt;
        const std::uint64_t n = wide ? BigEndian32(data, 0) : BigEndian16(data, 0);
        const std::uint64_t entryWidth = wide ? 4 : 2;
        const std::uint64_t flagsAt = entryWidth * n + (wide ? 22 : 20);
        if (flagsAt + 2 > size) return std::nullopt;
        const std::uint32_t flags = BigEndian16(data, static_cast<std::size_t>(flagsAt));
        if ((flags & 0x0F) != kParticleObjectFlags) return std::nullopt;
        pathAt = entryWidth * n + info.prefix;
    }
    // The length byte and every character of the path must lie in the data.
    if (pathAt + 1 > size) return std::nullopt;
    const std::uint64_t length = data[static_cast<std::size_t>(pathAt)];
    if (pathAt + 1 + length > size) return std::nullopt;
    return static_cast<std::size_t>(pathAt);
}

std::string ReadZeroTerminated(const Bytes& data, std::size_t offset, std::size_t width) {
    if (offset >= data.size()) return {};
    const std::size_t avail = data.size() - offset;
    const std::size_t limit = width < avail ? width : avail;
    const auto* begin = reinterpret_cast<const char*>(data.data() + offset);
    const void* zero = std::memchr(begin, 0, limit);
    const std::size_t n =
        zero ? static_cast<std::size_t>(static_cast<const char*>(zero) - begin) : limit;
    return std::string(begin, n);
}

std::optional<PathChunkFields> ReadPathChunk(const PathChunkInfo& info, const Bytes& data,
                                             std::size_t size) {
    const auto pathAt = LocatePath(info, data, size);
    if (!pathAt) return std::nullopt;
    PathChunkFields fields;
    const std::size_t length = data[*pathAt];
    fields.path.assign(reinterpret_cast<const char*>(data.data() + *pathAt + 1), length);
    if (info.nameOffset)
        fields.name = ReadZeroTerminated(data, *info.nameOffset, kMaxChunkNameText);
    if (info.descriptionOffset) {
        fields.description =
            ReadZeroTerminated(data, *info.descriptionOffset, info.descriptionWidth);
    } else {
        fields.description = std::string(KindWord(info.kind));
    }
    return fields;
}

bool RecordHasDescriptionField(const ObjectFile& file, const PathRecord& record) {
    if (record.ChunkOrdinal < 1 || std::size_t(record.ChunkOrdinal) > file.Chunks.size())
        return false;
    const ChunkNode& node = *std::next(file.Chunks.begin(), record.ChunkOrdinal - 1);
    const PathChunkInfo* info = FindPathChunk(node.Id);
    return info != nullptr && info->descriptionOffset.has_value();
}

}  // namespace tessvane
