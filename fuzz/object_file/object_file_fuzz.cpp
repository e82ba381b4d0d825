// Object and project files: any bytes go through the reader. A file that reads
// is written to memory for both Computer settings, and then
//  - writing the held file a second time gives the same bytes;
//  - reading what was written gives the same chunks and the same records,
//    each holding exactly the path that was written for it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <iterator>
#include <vector>

#include "core/core_context.h"
#include "core/path_rules.h"
#include "core/scanner.h"
#include "core/writer.h"
#include "state/editor_state.h"
#include "support/scratch.h"

using namespace tessvane;
using fuzzsupport::Require;

namespace {

CoreContext FreshContext() {
    CoreContext context;
    context.editor = MakeEditorContext("/nonexistent-program-directory/");
    return context;
}

std::vector<const ChunkNode*> WrittenChunks(const ObjectFile& file) {
    std::vector<const ChunkNode*> out;
    for (const ChunkNode& node : file.Chunks) {
        if (!node.IsFiller()) out.push_back(&node);
    }
    return out;
}

// The position a chunk gets in the written file, where filler chunks are gone.
std::int32_t WrittenOrdinal(const ObjectFile& file, std::int32_t ordinal) {
    std::int32_t position = 0;
    std::int32_t written = 0;
    for (const ChunkNode& node : file.Chunks) {
        if (++position > ordinal) break;
        if (!node.IsFiller()) ++written;
    }
    return written;
}

void CheckRoundTrip(const CoreContext& read, ComputerType computer) {
    CoreContext held = read;
    held.editor.settings.Computer = computer;
    ApplyRecordPaths(held, false);
    ComputeChunkSizes(held.file);
    const Bytes first = SerializeObjectFile(held.file);

    ApplyRecordPaths(held, false);
    ComputeChunkSizes(held.file);
    Require(SerializeObjectFile(held.file) == first,
            "a second write of the held file gives the same bytes");

    const auto path = fuzzsupport::ScratchDirectory() / "written.iob";
    fuzzsupport::WriteFile(path, first.data(), first.size());
    CoreContext again = FreshContext();
    again.editor.settings.Computer = computer;
    Require(ReadObjectFile(again, path.string(), false) == ReadStatus::Ok,
            "the written file reads");

    const auto before = WrittenChunks(held.file);
    const auto after = WrittenChunks(again.file);
    Require(before.size() == after.size(), "the same number of chunks");
    // Compared as written: a chunk held without data is written as an empty one.
    auto sizeOf = [](const ChunkNode& n) { return n.HasData() || n.IsContainer() ? n.Size : 0; };
    auto dataOf = [](const ChunkNode& n) { return n.HasData() ? *n.Data : Bytes(); };
    for (std::size_t i = 0; i < before.size(); ++i) {
        const ChunkNode& a = *before[i];
        const ChunkNode& b = *after[i];
        if (!(a.Id == b.Id) || sizeOf(a) != sizeOf(b) || dataOf(a) != dataOf(b)) {
            std::fprintf(stderr,
                         "chunk %zu: '%.4s' size %d, %zu bytes -> '%.4s' size %d, %zu bytes\n",
                         i + 1, a.Id.chars.data(), sizeOf(a), dataOf(a).size(), b.Id.chars.data(),
                         sizeOf(b), dataOf(b).size());
        }
        Require(a.Id == b.Id, "the same chunk ids");
        Require(sizeOf(a) == sizeOf(b), "the same chunk sizes");
        Require(dataOf(a) == dataOf(b), "the same chunk data");
    }

    const PathList& p1 = held.file.Paths;
    const PathList& p2 = again.file.Paths;
    Require(p1.Count() == p2.Count(), "the same number of records");
    Require(held.file.DescriptionsEditable == again.file.DescriptionsEditable,
            "the same description state");
    Require(held.file.IsProject == again.file.IsProject, "the same form type");
    for (std::size_t n = 1; n <= p1.Count(); ++n) {
        const PathRecord& a = p1.Record(n);
        const PathRecord& b = p2.Record(n);
        Require(WrittenOrdinal(held.file, a.ChunkOrdinal) == b.ChunkOrdinal,
                "the same chunk for each record");
        Require(a.Kind == b.Kind, "the same kind");
        Require(a.PartName == b.PartName, "the same part name");
        Require(a.OldDescription == b.OldDescription, "the same description");
        const SplitPath written = SplitRecordPath(ComposeRecordPath(held, a).path);
        Require(b.OldDirectory == std::string_view(written.directory),
                "the written directory reads back");
        Require(b.StoredFileName == written.fileName, "the written file name reads back");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto path = fuzzsupport::ScratchDirectory() / "input.iob";
    fuzzsupport::WriteFile(path, data, size);

    CoreContext context = FreshContext();
    // Every display order gets its share of inputs.
    context.editor.shell.SortMode = static_cast<std::uint16_t>(size % 4);
    if (ReadObjectFile(context, path.string(), false) != ReadStatus::Ok) {
        Require(!context.file.Loaded && context.file.Paths.Count() == 0,
                "a failed read holds nothing");
        return 0;
    }
    const PathList& paths = context.file.Paths;
    Require(paths.DisplayOrder.size() == paths.Count(), "one display entry per record");
    for (std::size_t n : paths.DisplayOrder)
        Require(n >= 1 && n <= paths.Count(), "display entries name records");

    CheckRoundTrip(context, ComputerType::PC);
    CheckRoundTrip(context, ComputerType::Amiga);
    return 0;
}
