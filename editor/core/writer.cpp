#include "core/writer.h"

#include <cstring>
#include <iterator>
#include <string>

#include "core/backup.h"
#include "core/chunk_format.h"
#include "core/file_system.h"
#include "core/path_rules.h"

namespace tessvane {
namespace {

constexpr std::size_t kEffectPathOffset = 6;

void PutU32(Bytes& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

std::size_t MakeEven(std::size_t n) {
    return n + (n % 2);
}

// memcpy without the undefined corner of an empty buffer's null pointer.
void CopyBytes(std::uint8_t* to, const std::uint8_t* from, std::size_t n) {
    if (n > 0) std::memcpy(to, from, n);
}

bool HoldsForm(const ObjectFile& file) {
    return std::memcmp(file.FormHeader.data(), "FORM", 4) == 0;
}

// The size written for a node. A chunk held without data (its declared data
// lay beyond the end of the FORM) is written as an empty chunk: the bytes it
// claimed are not in the file we write.
std::uint32_t WrittenSize(const ChunkNode& node) {
    if (!node.IsContainer() && !node.HasData()) return 0;
    return static_cast<std::uint32_t>(node.Size);
}

// Overwrites the description field of a TXT4/BRS5 chunk with `description`
// and one zero byte; the rest of the field is left as it was.
void PutDescription(ChunkNode& node, std::size_t offset, std::string_view description) {
    Bytes& data = *node.Data;
    if (offset + description.size() + 1 > data.size()) return;
    CopyBytes(data.data() + offset, reinterpret_cast<const std::uint8_t*>(description.data()),
              description.size());
    data[offset + description.size()] = 0;
}

}  // namespace

bool ResizePathChunk(ChunkNode& chunk, std::size_t prefixLength, std::string_view path) {
    if (!chunk.HasData() || chunk.Data->size() < prefixLength) return false;
    const std::size_t length = path.size() < kMaxPathText ? path.size() : kMaxPathText;
    const std::size_t newLength = MakeEven(prefixLength + 1 + length);
    Bytes data(newLength, 0);
    CopyBytes(data.data(), chunk.Data->data(), prefixLength);
    data[prefixLength] = static_cast<std::uint8_t>(length);
    CopyBytes(data.data() + prefixLength + 1, reinterpret_cast<const std::uint8_t*>(path.data()),
              length);
    chunk.Data = std::move(data);
    chunk.Size = chunk.Length = static_cast<std::int32_t>(newLength);
    return true;
}

bool ResizeEffectChunk(ChunkNode& chunk, std::string_view path) {
    if (!chunk.HasData() || chunk.Data->size() < kEffectPathOffset + 1) return false;
    const Bytes& old = *chunk.Data;
    const std::size_t oldBlock = MakeEven(kEffectPathOffset + 1 + old[kEffectPathOffset]);
    // An old path block longer than the chunk leaves no "rest" to keep.
    if (oldBlock > old.size()) return false;
    const std::size_t rest = old.size() - oldBlock;
    const std::size_t length = path.size() < kMaxPathText ? path.size() : kMaxPathText;
    const std::size_t newBlock = MakeEven(kEffectPathOffset + 1 + length);
    const std::size_t newLength = MakeEven(newBlock + rest);
    Bytes data(newLength, 0);
    CopyBytes(data.data(), old.data(), kEffectPathOffset);
    data[kEffectPathOffset] = static_cast<std::uint8_t>(length);
    CopyBytes(data.data() + kEffectPathOffset + 1,
              reinterpret_cast<const std::uint8_t*>(path.data()), length);
    CopyBytes(data.data() + newBlock, old.data() + oldBlock, rest);
    chunk.Data = std::move(data);
    chunk.Size = chunk.Length = static_cast<std::int32_t>(newLength);
    return true;
}

void ApplyRecordPaths(CoreContext& context, bool interactive) {
    ObjectFile& file = context.file;
    bool wrongForm = false;
    auto it = file.Chunks.begin();
    std::int32_t position = 1;
    for (const PathRecord& record : file.Paths.Records) {
        const ComposedPath composed = ComposeRecordPath(context, record);
        wrongForm = wrongForm || composed.wrongForm;

        if (record.ChunkOrdinal < 1) continue;  // made without a chunk
        if (record.ChunkOrdinal < position) {
            // Records come in chunk order; start over should one not.
            it = file.Chunks.begin();
            position = 1;
        }
        while (it != file.Chunks.end() && position < record.ChunkOrdinal) {
            ++it;
            ++position;
        }
        if (it == file.Chunks.end()) break;
        ChunkNode& node = *it;
        const PathChunkInfo* info = FindPathChunk(node.Id);
        if (info == nullptr || !node.HasData()) continue;
        // The chunk still holds the path it was read with: its fields are
        // checked again rather than trusted.
        const auto pathAt = LocatePath(*info, *node.Data, DeclaredBytes(node));
        if (!pathAt) continue;
        if (info->layout == PathLayout::Effect) {
            ResizeEffectChunk(node, composed.path);
        } else {
            ResizePathChunk(node, *pathAt, composed.path);
        }
        // A description nobody changed stays as it stands: the field may hold
        // more than the 18 characters a record keeps.
        if (info->descriptionOffset && context.editor.settings.UpdateTextureDescriptions &&
            !(record.NewDescription == record.OldDescription)) {
            PutDescription(node, *info->descriptionOffset, record.NewDescription);
        }
    }
    if (interactive && wrongForm) {
        const bool pc = context.editor.settings.Computer == ComputerType::PC;
        ShowWarningWithHelp(context.ui,
                            pc ? "Invalid PC Directory found" : "Invalid Amiga Directory found",
                            pc ? 36 : 35);
    }
}

std::uint32_t ComputeChunkSizes(ObjectFile& file) {
    std::uint64_t total = 0;
    std::uint64_t level = 0;
    for (auto it = file.Chunks.rbegin(); it != file.Chunks.rend(); ++it) {
        ChunkNode& node = *it;
        if (node.IsFiller()) continue;
        if (node.Id.Is("OBJ ")) {
            node.Size = static_cast<std::int32_t>(total);
            total += 8;
            continue;
        }
        const std::uint64_t held = node.HasData() ? node.Data->size() : 0;
        total += 8 + held;
        if (node.Id.Is("TOBJ")) {
            level = 0;
        } else if (node.Id.Is("DESC") || node.Id.Is("SOBJ")) {
            node.Size = static_cast<std::int32_t>(level);
            level = 0;
        } else {
            level += held + 8;
        }
    }
    return static_cast<std::uint32_t>(total + 4);
}

Bytes SerializeObjectFile(const ObjectFile& file) {
    std::uint64_t formSize = 4;
    for (const ChunkNode& node : file.Chunks) {
        if (!node.IsFiller()) formSize += 8 + (node.HasData() ? node.Data->size() : 0);
    }
    Bytes out;
    out.reserve(static_cast<std::size_t>(formSize) + 8);
    for (char c : std::string_view("FORM")) out.push_back(static_cast<std::uint8_t>(c));
    PutU32(out, static_cast<std::uint32_t>(formSize));
    out.insert(out.end(), file.FormHeader.begin() + 8, file.FormHeader.end());
    for (const ChunkNode& node : file.Chunks) {
        if (node.IsFiller()) continue;
        out.insert(out.end(), node.Id.chars.begin(), node.Id.chars.end());
        PutU32(out, WrittenSize(node));
        if (node.HasData()) out.insert(out.end(), node.Data->begin(), node.Data->end());
    }
    return out;
}

namespace {

WriteStatus WriteHeldFile(CoreContext& context, std::string_view path, bool interactive,
                          std::string_view attributesFrom) {
    ObjectFile& file = context.file;
    auto failed = [&] {
        if (interactive)
            ShowWarning(context.ui, "Unable to Save " + context.editor.shell.CurrentFileName.str());
        return WriteStatus::CreateFailed;
    };
    // Nothing read (or released after a batch run): writing would replace the
    // file with an empty FORM.
    if (!HoldsForm(file)) return failed();
    if (!file.Paths.Records.empty()) ApplyRecordPaths(context, interactive);
    ComputeChunkSizes(file);
    int error = 0;
    if (!WriteWholeFileAtomic(path, SerializeObjectFile(file), error, attributesFrom))
        return failed();
    return WriteStatus::Written;
}

}  // namespace

WriteStatus WriteObjectFile(CoreContext& context, std::string_view path, bool interactive) {
    return WriteHeldFile(context, path, interactive, {});
}

WriteStatus WriteAfterBackup(CoreContext& context, std::string_view path,
                             const BackupOutcome& backup, bool interactive) {
    const bool moved = backup.result == BackupResult::BackedUp;
    // The old file, wherever it is now, has names besides the one saved: they
    // go on showing it. Writing into it instead could leave them all with a
    // half-written file after a crash.
    const bool otherNames = HasOtherNames(moved ? std::string_view(backup.backupName) : path);
    // The file written in place of the one moved aside is that file to its
    // owner: same mode, owner and group.
    const WriteStatus status =
        WriteHeldFile(context, path, interactive, moved ? backup.backupName : std::string_view());
    if (status == WriteStatus::Written) {
        if (otherNames) {
            const std::string said(kOtherNamesKeepTheOldFile);
            if (interactive)
                ShowInformation(context.ui, context.editor.shell.CurrentFileName.str() + said);
            if (context.log != nullptr) context.log->WriteLine(std::string(path) + said);
        }
        return status;
    }
    // Nothing was written at `path` (a full disk, a lost medium): the file
    // that was there goes back, so the user finds it where it was.
    if (moved && RenameIfAbsent(backup.backupName, path) && context.log != nullptr)
        context.log->WriteLine("Existing Object File restored from..." + backup.backupName);
    return status;
}

SaveStatus SaveObjectFile(CoreContext& context, std::string_view path, bool interactive) {
    const std::string target = LinkedFile(path);
    const BackupOutcome backup = BackupObjectFile(context, target, interactive);
    if (backup.result == BackupResult::Declined) return SaveStatus::Declined;
    return WriteAfterBackup(context, target, backup, interactive) == WriteStatus::Written
               ? SaveStatus::Written
               : SaveStatus::CreateFailed;
}

}  // namespace tessvane
