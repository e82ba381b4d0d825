// Damaged and hostile files: each gives a status or a clean refusal, never an
// out-of-bounds access, and whatever is written back claims only bytes it holds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/scanner.h"
#include "core/writer.h"
#include "core_fixture.h"

namespace tessvane {
namespace {

using testing::Bytes;
using testing::GetU32;
using testing::IffBuilder;
namespace chunks = testing::chunks;

// Empty when every size in `file` stays inside the file; else what is wrong.
std::string SizesProblem(const Bytes& file) {
    if (file.size() < 12) return "shorter than a FORM header";
    if (GetU32(file, 4) + 8ull != file.size()) return "FORM size does not match the file";
    std::size_t pos = 12;
    while (pos < file.size()) {
        if (file.size() - pos < 8) return "cut chunk header at " + std::to_string(pos);
        const std::string id(reinterpret_cast<const char*>(file.data() + pos), 4);
        const std::uint64_t size = GetU32(file, pos + 4);
        const bool container = id == "OBJ " || id == "DESC" || id == "SOBJ";
        const std::uint64_t claimed = container ? size : size + size % 2;
        if (pos + 8 + claimed > file.size())
            return id + " claims bytes past the end at " + std::to_string(pos);
        pos += 8 + (container ? 0 : claimed);
    }
    return {};
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes Header(std::string_view id, std::uint32_t size) {
    Bytes out;
    testing::PutText(out, id);
    testing::PutU32(out, size);
    return out;
}

struct Case {
    const char* name;
    Bytes file;
    ReadStatus status;
    std::size_t records;
    // A chunk (header and data) that must reach the written file unchanged.
    Bytes keptChunk;
};

std::vector<Case> Cases() {
    const Bytes good = testing::Even(chunks::Txt1("C:\\TEX\\good.iff"));
    auto withGood = [&](const Bytes& rest) {
        const Bytes body =
            Concat({Header("TXT1", static_cast<std::uint32_t>(good.size())), good, rest});
        return Concat({Header("FORM", static_cast<std::uint32_t>(body.size() + 4)),
                       {'T', 'D', 'D', 'D'},
                       body});
    };
    auto chunk = [](std::string_view id, const Bytes& data) {
        Bytes out = Concat({Header(id, static_cast<std::uint32_t>(data.size())), data});
        if (data.size() % 2 != 0) out.push_back(0);
        return out;
    };

    Bytes pathPastChunk = Bytes(142, 0x11);
    pathPastChunk.push_back(200);
    testing::PutText(pathPastChunk, "short.iff");

    // The declared size ends one character short of the path: the last
    // character would be the pad byte.
    Bytes pathIntoPad = Bytes(142, 0x11);
    pathIntoPad.push_back(7);
    testing::PutText(pathIntoPad, "abcdefx");
    const Bytes pathIntoPadChunk = Concat({Header("TXT1", 149), pathIntoPad});

    Bytes fgr2Count;
    testing::PutU16(fgr2Count, 0xFFFF);
    testing::PutField(fgr2Count, "group", 18);
    testing::PutU16(fgr2Count, 9);

    Bytes fgr4Count;
    testing::PutU32(fgr4Count, 0xFFFFFFFF);
    testing::PutField(fgr4Count, "group", 18);
    testing::PutU32(fgr4Count, 0x00090009);

    Bytes fgr3PathPast = chunks::Fgr3(1, "g", 9, "abcde.iob");
    fgr3PathPast.resize(fgr3PathPast.size() - 4);

    const Bytes effectPast = {0, 1, 2, 3, 4, 5, 200, 'a', 'b', 'c'};
    const Bytes tenBytes(10, 0x5A);
    const Bytes txt1Prefix(150, 0x11);

    Bytes cutPathChunk = chunks::Txt1("cut.iff");  // 150 bytes of a declared 300
    const Bytes junkThenTobj = Concat({Header("JUNK", 8), Header("TOBJ", 0)});
    const Bytes beyondForm = [&] {
        Bytes f = withGood(junkThenTobj);
        const std::uint32_t formSize = 4 + 8 + static_cast<std::uint32_t>(good.size());
        f[4] = static_cast<std::uint8_t>(formSize >> 24);
        f[5] = static_cast<std::uint8_t>(formSize >> 16);
        f[6] = static_cast<std::uint8_t>(formSize >> 8);
        f[7] = static_cast<std::uint8_t>(formSize);
        return f;
    }();
    Bytes hugeForm = withGood(Concat({Header("JUNK", 0x7FFFFFF0), tenBytes}));
    hugeForm[4] = hugeForm[5] = hugeForm[6] = 0xFF;

    const Bytes validName = IffBuilder().Chunk("NAME", chunks::Name("X")).Build();

    return {
        {"empty file", {}, ReadStatus::NotTddd, 0, {}},
        {"11 bytes", Bytes(validName.begin(), validName.begin() + 11), ReadStatus::NotTddd, 0, {}},
        {"header only", IffBuilder().Build(), ReadStatus::NoPaths, 0, {}},
        {"truncated chunk header", withGood({'T', 'X', 'T', '1', 0, 0}), ReadStatus::Ok, 1, {}},
        {"path chunk cut by the end of the file",
         withGood(Concat({Header("TXT1", 300), cutPathChunk})),
         ReadStatus::Ok,
         2,
         {}},
        {"path chunk shorter than its prefix", withGood(chunk("TXT3", Bytes(100, 0x33))),
         ReadStatus::Ok, 1, chunk("TXT3", Bytes(100, 0x33))},
        {"prefix only, no length byte", withGood(chunk("TXT1", Bytes(142, 0x11))), ReadStatus::Ok,
         1, chunk("TXT1", Bytes(142, 0x11))},
        {"counted path past the chunk", withGood(chunk("TXT1", pathPastChunk)), ReadStatus::Ok, 1,
         chunk("TXT1", pathPastChunk)},
        {"counted path running into the pad byte", withGood(pathIntoPadChunk), ReadStatus::Ok, 1,
         pathIntoPadChunk},
        {"FGR2 count past the data", withGood(chunk("FGR2", fgr2Count)), ReadStatus::Ok, 1,
         chunk("FGR2", fgr2Count)},
        {"FGR4 count that overflows", withGood(chunk("FGR4", fgr4Count)), ReadStatus::Ok, 1,
         chunk("FGR4", fgr4Count)},
        {"FGR3 path past the data", withGood(chunk("FGR3", fgr3PathPast)), ReadStatus::Ok, 1,
         chunk("FGR3", fgr3PathPast)},
        {"effect block longer than the chunk", withGood(chunk("SPFX", effectPast)), ReadStatus::Ok,
         1, chunk("SPFX", effectPast)},
        {"empty PTFN", withGood(chunk("PTFN", {})), ReadStatus::Ok, 1, chunk("PTFN", {})},
        {"huge declared size on an opaque chunk", hugeForm, ReadStatus::Ok, 1, {}},
        {"huge declared size on a path chunk",
         withGood(Concat({Header("TXT1", 0xFFFFFFFF), tenBytes})),
         ReadStatus::Ok,
         1,
         {}},
        {"negative size",
         withGood(Concat({Header("JUNK", 0x80000001), {1, 2, 3, 4}})),
         ReadStatus::Ok,
         1,
         {}},
        {"container with a huge size",
         withGood(Concat({Header("OBJ ", 0xFFFFFFFF), Header("TOBJ", 0)})),
         ReadStatus::Ok,
         1,
         {}},
        {"NUL-filled path",
         withGood(chunk("TXT1", testing::Even(chunks::Txt1(std::string(10, '\0'))))),
         ReadStatus::Ok, 2, chunk("TXT1", testing::Even(chunks::Txt1(std::string(10, '\0'))))},
        {"chunk past the end of the FORM", beyondForm, ReadStatus::Ok, 1, {}},
        {"NAME cut by the end of the file",
         withGood(Concat({Header("NAME", 100), {'A', 'B', 'C'}})),
         ReadStatus::Ok,
         1,
         {}},
        {"trailing bytes", withGood({1, 2, 3, 4, 5}), ReadStatus::Ok, 1, {}},
        {"path chunk with a filler prefix of zeros", withGood(chunk("BRS2", Bytes(68, 0))),
         ReadStatus::Ok, 1, chunk("BRS2", Bytes(68, 0))},
    };
}

using MalformedFileTest = CoreTest;

TEST_F(MalformedFileTest, EveryDamagedFileGivesAStatusAndWritesBackConsistently) {
    for (const Case& c : Cases()) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Load(c.file, false), c.status);
        ASSERT_EQ(context.file.Paths.Count(), c.records);
        if (c.status != ReadStatus::Ok) continue;

        const std::string out = temp.File("out.iob");
        ASSERT_EQ(WriteObjectFile(context, out, false), WriteStatus::Written);
        const Bytes written = testing::ReadFileBytes(out);
        EXPECT_EQ(SizesProblem(written), "");
        if (!c.keptChunk.empty()) {
            EXPECT_NE(
                std::search(written.begin(), written.end(), c.keptChunk.begin(), c.keptChunk.end()),
                written.end());
        }

        // What we wrote reads back the same and is stable.
        ASSERT_EQ(ReadObjectFile(context, out, false), ReadStatus::Ok);
        EXPECT_EQ(context.file.Paths.Count(), c.records);
        ASSERT_EQ(WriteObjectFile(context, out, false), WriteStatus::Written);
        EXPECT_EQ(testing::ReadFileBytes(out), written);
    }
}

TEST_F(MalformedFileTest, ChunkBeyondTheFormIsHeldWithoutDataAndWrittenEmpty) {
    const Bytes good = testing::Even(chunks::Txt1("a.iff"));
    Bytes file =
        IffBuilder().Chunk("TXT1", good).ChunkRaw("JUNK", 8, Concat({Header("TOBJ", 0)})).Build();
    const std::uint32_t formSize = 4 + 8 + static_cast<std::uint32_t>(good.size());
    file = Concat({Header("FORM", formSize), Bytes(file.begin() + 8, file.end())});
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    ASSERT_EQ(context.file.Chunks.size(), 3u);
    const ChunkNode& junk = *std::next(context.file.Chunks.begin());
    EXPECT_FALSE(junk.HasData());
    EXPECT_EQ(junk.Size, 8);
    EXPECT_TRUE(context.file.Chunks.back().Id.Is("TOBJ"));

    const Bytes out = [&] {
        EXPECT_EQ(WriteObjectFile(context, temp.File("out.iob"), false), WriteStatus::Written);
        return testing::ReadFileBytes(temp.File("out.iob"));
    }();
    const Bytes tail(out.end() - 16, out.end());
    EXPECT_EQ(tail, Concat({Header("JUNK", 0), Header("TOBJ", 0)}));
}

TEST_F(MalformedFileTest, LastOddChunkWhosePadByteLiesOutsideTheFormKeepsItsData) {
    const Bytes good = testing::Even(chunks::Txt1("a.iff"));
    const Bytes want = IffBuilder().Chunk("TXT1", good).Chunk("XTRA", {1, 2, 3}).Build();
    // The FORM counts the three data bytes but not the pad byte, which the
    // file holds in one case and lacks in the other.
    const std::uint32_t withoutPad = static_cast<std::uint32_t>(want.size() - 8 - 1);
    Bytes padOutsideForm = want;
    padOutsideForm[7] = static_cast<std::uint8_t>(withoutPad);
    padOutsideForm[6] = static_cast<std::uint8_t>(withoutPad >> 8);
    const Bytes padMissing =
        IffBuilder().Chunk("TXT1", good).ChunkRaw("XTRA", 3, {1, 2, 3}).Build();
    ASSERT_EQ(GetU32(padMissing, 4), withoutPad);
    for (const Bytes& file : {padOutsideForm, padMissing}) {
        ASSERT_EQ(Load(file), ReadStatus::Ok);
        const ChunkNode& xtra = context.file.Chunks.back();
        ASSERT_TRUE(xtra.HasData());
        EXPECT_EQ(*xtra.Data, (Bytes{1, 2, 3, 0}));
        EXPECT_EQ(xtra.Size, 3);
        EXPECT_EQ(xtra.Length, 4);
        const std::string out = temp.File("out.iob");
        ASSERT_EQ(WriteObjectFile(context, out, false), WriteStatus::Written);
        EXPECT_EQ(testing::ReadFileBytes(out), want);
    }
}

TEST_F(MalformedFileTest, ChunkCutByTheEndOfTheFileKeepsWhatArrived) {
    Bytes data = chunks::Txt1("cut.iff");  // 150 bytes
    const Bytes file = IffBuilder().ChunkRaw("TXT1", 400, data).Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    const ChunkNode& node = context.file.Chunks.front();
    EXPECT_EQ(node.Size, 150);
    EXPECT_EQ(node.Length, 150);
    EXPECT_EQ(*node.Data, data);
    EXPECT_EQ(Record(1).OldFileName, "cut.iff");
}

}  // namespace
}  // namespace tessvane
