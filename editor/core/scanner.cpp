#include "core/scanner.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "core/chunk_format.h"
#include "core/file_system.h"
#include "core/path_rules.h"
#include "state/exchange_sort.h"

namespace tessvane {
namespace {

constexpr std::size_t kFormHeaderSize = 12;
constexpr std::size_t kChunkHeaderSize = 8;

std::uint32_t BigEndian32(const Bytes& data, std::size_t at) {
    return (std::uint32_t{data[at]} << 24) | (std::uint32_t{data[at + 1]} << 16) |
           (std::uint32_t{data[at + 2]} << 8) | data[at + 3];
}

bool BytesAre(const Bytes& data, std::size_t at, std::string_view text) {
    return data.size() >= at + text.size() &&
           std::memcmp(data.data() + at, text.data(), text.size()) == 0;
}

// Takes the chunk's data from the file. A chunk cut short by the end of the
// file keeps only the bytes that arrived, and its size becomes what it holds:
// a declared size is never trusted for an allocation, and the file written
// back claims no bytes it does not contain.
void TakeData(ChunkNode& node, const Bytes& file, std::size_t& pos, std::uint64_t length) {
    const std::uint64_t avail = file.size() - pos;
    if (length > avail) {
        const auto held = static_cast<std::size_t>(avail);
        node.Size = static_cast<std::int32_t>(held);
        length = held + (held % 2);
    }
    Bytes data(static_cast<std::size_t>(length), 0);
    const std::size_t copy = static_cast<std::size_t>(length < avail ? length : avail);
    if (copy > 0) std::memcpy(data.data(), file.data() + pos, copy);
    pos += copy;
    node.Length = static_cast<std::int32_t>(length);
    node.Data = std::move(data);
}

std::string UnableToLoad(std::string_view path, int error) {
    std::string code = std::to_string(error);
    if (code.size() > 5) code.resize(5);
    return "Unable to Load " + std::string(path) + " " + code;
}

}  // namespace

SplitPath SplitRecordPath(std::string_view path) {
    const std::size_t p = path.find_last_of("/:\\");
    if (p == std::string_view::npos) return {std::string(), std::string(path)};
    SplitPath out;
    out.fileName = std::string(path.substr(p + 1));
    if (path[p] == ':') {
        out.directory = std::string(path.substr(0, p + 1));
    } else {
        out.directory = std::string(path.substr(0, p));
        // A root (C:\WOOD.IFF, \WOOD.IFF) keeps its separator: C: alone names the
        // current directory of drive C, and an empty directory no directory.
        if (out.directory.empty() || out.directory.back() == ':') {
            out.directory = std::string(path.substr(0, p + 1));
        }
    }
    return out;
}

void FreeObjectFile(ObjectFile& file) {
    file.FormHeader.fill(0);
    file.Chunks.clear();
    file.Paths = PathList();
    file.Summary.clear();
    file.SummaryIndex.clear();
    file.Loaded = false;
    file.ObjectName.clear();
    file.SubGroupName.clear();
}

void AddPathRecord(CoreContext& context, std::string_view path, std::string_view description,
                   PathKind kind) {
    ObjectFile& file = context.file;
    PathRecord r;
    std::string part(file.ObjectName.view());
    if (!file.SubGroupName.empty()) part += " (" + file.SubGroupName.str() + ")";
    r.PartName = part;
    r.ChunkOrdinal = static_cast<std::int32_t>(file.Chunks.size());
    r.Kind = kind;
    r.OldDescription = description;
    r.NewDescription = r.OldDescription;
    if (kind == PathKind::Texture) ++file.Paths.TextureCount;

    SplitPath split = SplitRecordPath(path);
    r.OldDirectory = split.directory;
    r.NewDirectory = r.OldDirectory;
    r.OldFileName = split.fileName;
    r.NewFileName = r.OldFileName;
    r.StoredFileName = std::move(split.fileName);

    file.Paths.Records.push_back(std::move(r));
    const std::size_t number = file.Paths.Records.size();
    file.Paths.DisplayOrder.push_back(number);

    const Settings& settings = context.editor.settings;
    if (settings.UseDefaultDirectories) ApplyDirectoryDefault(context, number, false);
    if (settings.UseDefaultTextures && kind == PathKind::Texture)
        ApplyTextureDefault(context, number, false);

    const PathRecord& added = file.Paths.Records.back();
    if (file.SummaryIndex.size() != file.Summary.size()) {
        file.SummaryIndex.clear();
        for (std::size_t i = 0; i < file.Summary.size(); ++i)
            file.SummaryIndex.try_emplace(UpperCase(file.Summary[i].OldDirectory), i);
    }
    const bool isNew =
        file.SummaryIndex.try_emplace(UpperCase(added.OldDirectory), file.Summary.size()).second;
    if (isNew) file.Summary.push_back({added.OldDirectory, added.NewDirectory});
}

ReadStatus ReadObjectFile(CoreContext& context, std::string_view path, bool interactive) {
    ObjectFile& file = context.file;
    FreeObjectFile(file);
    file.DescriptionsEditable = false;
    file.IsProject = false;

    OpenedFile opened;
    Bytes bytes;
    int error = 0;
    // The header decides before anything else is read: a large file of
    // another kind (or an endless device) costs twelve bytes.
    if (!OpenForReading(path, opened, error) || !ReadUpTo(opened, bytes, kFormHeaderSize, error)) {
        if (interactive) ShowWarning(context.ui, UnableToLoad(path, error));
        return ReadStatus::OpenFailed;
    }
    if (bytes.size() < kFormHeaderSize || !BytesAre(bytes, 0, "FORM") ||
        !(BytesAre(bytes, 8, "TDDD") || BytesAre(bytes, 8, "ISTG"))) {
        if (interactive) {
            ShowWarning(context.ui,
                        context.editor.shell.CurrentFileName.str() + " is not a TDDD Object file.");
        }
        return ReadStatus::NotTddd;
    }
    // The rest in one pass: a regular file into a buffer of its size, as it
    // was when opened; a pipe or device until it ends or passes the limit.
    bool tooLarge = opened.regular && opened.size > kMaxObjectFileBytes;
    if (!tooLarge) {
        const std::size_t limit = opened.regular
                                      ? static_cast<std::size_t>(opened.size)
                                      : static_cast<std::size_t>(kMaxObjectFileBytes) + 1;
        if (opened.regular) bytes.reserve(limit);
        if (!ReadUpTo(opened, bytes, limit, error)) {
            if (interactive) ShowWarning(context.ui, UnableToLoad(path, error));
            return ReadStatus::OpenFailed;
        }
        tooLarge = bytes.size() > kMaxObjectFileBytes;
    }
    if (tooLarge) {
        if (interactive) {
            ShowWarning(context.ui, context.editor.shell.CurrentFileName.str() +
                                        " is larger than 1 GiB and is not loaded.");
        }
        return ReadStatus::OpenFailed;
    }
    opened.fd.Close();

    std::memcpy(file.FormHeader.data(), bytes.data(), kFormHeaderSize);
    file.IsProject = BytesAre(bytes, 8, "ISTG");
    if (context.log != nullptr) context.log->EndLine();
    const std::uint64_t formEnd = std::uint64_t{BigEndian32(bytes, 4)} + 8;

    std::size_t pos = kFormHeaderSize;
    while (bytes.size() - pos >= kChunkHeaderSize) {
        ChunkNode& node = file.Chunks.emplace_back();
        node.Id = ChunkId(std::string_view(reinterpret_cast<const char*>(bytes.data() + pos), 4));
        const std::uint32_t declared = BigEndian32(bytes, pos + 4);
        node.Size = static_cast<std::int32_t>(declared);
        const std::uint64_t length = std::uint64_t{declared} + (declared % 2);
        pos += kChunkHeaderSize;

        if (node.IsContainer()) continue;

        if (node.Id.Is("NAME")) {
            TakeData(node, bytes, pos, length);
            file.ObjectName = ReadZeroTerminated(*node.Data, 0, kMaxChunkNameText);
            continue;
        }

        if (const PathChunkInfo* info = FindPathChunk(node.Id)) {
            TakeData(node, bytes, pos, length);
            if (auto fields = ReadPathChunk(*info, *node.Data, DeclaredBytes(node))) {
                file.SubGroupName = fields->name;
                AddPathRecord(context, fields->path, fields->description, info->kind);
                file.SubGroupName.clear();
            }
            if (node.Id.Is("TXT4") || node.Id.Is("BRS5")) {
                file.DescriptionsEditable = true;
            } else if (info->kind == PathKind::Object || info->kind == PathKind::Effect) {
                file.DescriptionsEditable = false;
            }
            continue;
        }

        if (length > 0) {
            // The FORM bounds the chunk's declared bytes, not its pad byte:
            // writers that leave the last pad byte out of the FORM (or out of
            // the file) are common, and that chunk's data is still whole.
            if (pos + declared <= formEnd) {
                TakeData(node, bytes, pos, length);
            }
            // Otherwise the chunk claims bytes beyond the FORM: it is held
            // without data and the walk goes on right after its header.
        }
    }

    file.SummaryIndex.clear();
    if (!file.Paths.Records.empty()) {
        file.Loaded = true;
        if (context.editor.shell.SortMode != kSortFileOrder) SortDisplayOrder(context);
        return ReadStatus::Ok;
    }
    const bool project = file.IsProject;
    FreeObjectFile(file);
    if (interactive) {
        ShowInformation(context.ui,
                        project ? "No Objects or Effects found" : "No Textures or Brushes found");
    }
    return ReadStatus::NoPaths;
}

void SortDisplayOrder(CoreContext& context) {
    PathList& paths = context.file.Paths;
    if (paths.DisplayOrder.size() != paths.Records.size()) {
        // Never index with a stale order.
        paths.DisplayOrder.clear();
        for (std::size_t i = 1; i <= paths.Records.size(); ++i) paths.DisplayOrder.push_back(i);
    }
    if (paths.Records.size() < 2) return;
    const std::uint16_t mode = context.editor.shell.SortMode;
    auto keyed = [&](auto member) {
        ExchangeSortByUpperKey(paths.DisplayOrder,
                               [&](std::size_t n) { return (paths.Record(n).*member).view(); });
    };
    switch (mode) {
        case kSortFileOrder:
            for (std::size_t i = 0; i < paths.DisplayOrder.size(); ++i)
                paths.DisplayOrder[i] = i + 1;
            break;
        case kSortByPartName:
            keyed(&PathRecord::PartName);
            break;
        case kSortByOldFileName:
            keyed(&PathRecord::OldFileName);
            break;
        case kSortByOldDescription:
            keyed(&PathRecord::OldDescription);
            break;
        default:
            break;
    }
}

bool RemovePathRecord(ObjectFile& file, std::size_t position) {
    PathList& paths = file.Paths;
    if (position < 1 || position > paths.DisplayOrder.size()) return false;
    const std::size_t number = paths.DisplayOrder[position - 1];
    if (number < 1 || number > paths.Records.size()) return false;
    const std::int32_t ordinal = paths.Record(number).ChunkOrdinal;

    if (ordinal >= 1 && static_cast<std::size_t>(ordinal) <= file.Chunks.size()) {
        auto it = file.Chunks.begin();
        std::advance(it, ordinal - 1);
        file.Chunks.erase(it);
    }
    paths.Records.erase(paths.Records.begin() + static_cast<std::ptrdiff_t>(number - 1));
    for (std::size_t i = number - 1; i < paths.Records.size(); ++i) {
        if (paths.Records[i].ChunkOrdinal > ordinal) --paths.Records[i].ChunkOrdinal;
    }
    paths.DisplayOrder.erase(paths.DisplayOrder.begin() +
                             static_cast<std::ptrdiff_t>(position - 1));
    for (std::size_t& entry : paths.DisplayOrder) {
        if (entry > number) --entry;
    }
    if (paths.Records.empty()) {
        file.Summary.clear();
        file.SummaryIndex.clear();
    }
    return true;
}

}  // namespace tessvane
