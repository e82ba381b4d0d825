#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/backup.h"
#include "core/path_rules.h"
#include "core/scanner.h"
#include "core/writer.h"
#include "core_fixture.h"

namespace tessvane {
namespace {

using testing::Bytes;
using testing::GetU32;
using testing::IffBuilder;
namespace chunks = testing::chunks;

class WriterTest : public CoreTest {
  protected:
    // Writes the held file to `name` and returns its bytes.
    Bytes WriteBack(const std::string& name = "out.iob") {
        const std::string out = temp.File(name);
        EXPECT_EQ(WriteObjectFile(context, out, true), WriteStatus::Written);
        return testing::ReadFileBytes(out);
    }

    // Offset of the first chunk with this id (flat walk, containers entered).
    static std::size_t Find(const Bytes& file, std::string_view id, int occurrence = 1) {
        std::size_t pos = 12;
        while (pos + 8 <= file.size()) {
            const std::string_view here(reinterpret_cast<const char*>(file.data() + pos), 4);
            const std::uint32_t size = GetU32(file, pos + 4);
            if (here == id && --occurrence == 0) return pos;
            const bool container = here == "OBJ " || here == "DESC" || here == "SOBJ";
            pos += 8 + (container ? 0 : size + size % 2);
        }
        return std::string::npos;
    }
};

TEST_F(WriterTest, UntouchedFileIsWrittenBackByteForByte) {
    const Bytes file =
        IffBuilder("TDDD")
            .Begin("OBJ ")
            .Begin("DESC")
            .Chunk("NAME", chunks::Name("CUBE"))
            .Chunk("SHP2", {0, 2, 0, 0, 0, 0, 1})  // odd size 7
            .Chunk("TXT4", testing::Even(chunks::Txt4("Lid", "Dark oak", "C:\\TEX\\oak.itx")))
            .Chunk("BRS5", testing::Even(chunks::Brs5("Side", "Bumps", "DH0:bump.iff")))
            .Chunk("FGR3", chunks::Fgr3(2, "smoke", 0x0005, "smoke.iob"))
            .Chunk("FGR2", testing::Even(chunks::Fgr2(3, "dust", 0x0009, "dust.iob")))
            .Chunk("S2FX", chunks::Effect("FIRE", {9, 8, 7, 6}))
            .Chunk("TXT1", testing::Even(chunks::Txt1("C:\\WOOD.IFF")))
            .End()
            .Chunk("TOBJ", {})
            .End()
            .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    const ChunkNode& odd = *std::next(context.file.Chunks.begin(), 3);
    EXPECT_EQ(odd.Size, 7);
    EXPECT_EQ(odd.Length, 8);

    const Bytes out = WriteBack();
    ASSERT_EQ(out.size(), file.size());
    EXPECT_EQ(std::mismatch(out.begin(), out.end(), file.begin()).first - out.begin(), out.size());
    EXPECT_EQ(WriteBack("again.iob"), file);  // writing twice gives the same bytes
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(WriterTest, AnOddPathChunkIsTheOnlyThingThatChangesOnARoundTrip) {
    const Bytes odd = chunks::Txt1("abc.iff");   // 142 + 1 + 7 = 150: even, written as it was
    const Bytes odder = chunks::Brs1("ab.iff");  // 66 + 1 + 6 = 73: odd
    const Bytes file =
        IffBuilder().Chunk("TXT1", odd).Chunk("BRS1", odder).Chunk("XTRA", {1, 2, 3}).Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    const Bytes want = IffBuilder()
                           .Chunk("TXT1", odd)
                           .Chunk("BRS1", testing::Even(odder))
                           .Chunk("XTRA", {1, 2, 3})
                           .Build();
    EXPECT_EQ(GetU32(file, Find(file, "BRS1") + 4), 73u);
    EXPECT_EQ(GetU32(want, Find(want, "BRS1") + 4), 74u);
    EXPECT_EQ(GetU32(want, Find(want, "XTRA") + 4), 3u);  // opaque chunks keep their odd size
    EXPECT_EQ(WriteBack(), want);
}

TEST_F(WriterTest, GrowingAPathResizesItsChunkItsDescriptionItsObjectAndTheForm) {
    const std::string twenty = "C:\\TEX\\abcdefghi.iff";
    ASSERT_EQ(twenty.size(), 20u);
    const Bytes file = IffBuilder("TDDD")
                           .Begin("OBJ ")
                           .Begin("DESC")
                           .Chunk("NAME", chunks::Name("ONE"))
                           .Chunk("TXT1", testing::Even(chunks::Txt1(twenty)))
                           .End()
                           .Begin("DESC")
                           .Chunk("NAME", chunks::Name("TWO"))
                           .Chunk("TXT1", testing::Even(chunks::Txt1(twenty)))
                           .End()
                           .Chunk("TOBJ", {})
                           .Chunk("TOBJ", {})
                           .End()
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_EQ(GetU32(file, Find(file, "TXT1", 2) + 4), 164u);  // 142 + 1 + 20 = 163, made even

    // NAME 8 + 18, TXT1 8 + 164: each DESC covers 198 bytes; the OBJ covers
    // both DESCs and both TOBJs: 8 + 198 + 8 + 198 + 8 + 8 = 428.
    EXPECT_EQ(GetU32(file, Find(file, "DESC", 1) + 4), 198u);
    EXPECT_EQ(GetU32(file, Find(file, "OBJ ") + 4), 428u);
    EXPECT_EQ(GetU32(file, 4), 440u);

    context.file.Paths.Record(2).NewDirectory = "C:\\TEXTS";  // 22 characters in all
    const Bytes out = WriteBack();
    EXPECT_EQ(GetU32(out, Find(out, "DESC", 1) + 4), 198u);
    EXPECT_EQ(GetU32(out, Find(out, "DESC", 2) + 4), 200u);
    EXPECT_EQ(GetU32(out, Find(out, "OBJ ") + 4), 430u);
    EXPECT_EQ(GetU32(out, 4), 442u);
    EXPECT_EQ(GetU32(out, Find(out, "TXT1", 2) + 4), 166u);
    EXPECT_EQ(GetU32(out, 4), GetU32(file, 4) + 2);
    EXPECT_EQ(GetU32(out, Find(out, "OBJ ") + 4), GetU32(file, Find(file, "OBJ ") + 4) + 2);
    EXPECT_EQ(GetU32(out, Find(out, "DESC", 2) + 4), GetU32(file, Find(file, "DESC", 2) + 4) + 2);
    EXPECT_EQ(GetU32(out, Find(out, "DESC", 1) + 4), GetU32(file, Find(file, "DESC", 1) + 4));
    EXPECT_EQ(out.size(), file.size() + 2);
    EXPECT_EQ(GetU32(out, 4), out.size() - 8);
}

TEST_F(WriterTest, ASubObjectCoversItsChunksLikeADescription) {
    const Bytes file = IffBuilder("TDDD")
                           .Begin("OBJ ")
                           .Begin("DESC")
                           .Chunk("NAME", chunks::Name("BODY"))
                           .End()
                           .Begin("SOBJ")
                           .Chunk("NAME", chunks::Name("ARM"))
                           .Chunk("BRS1", testing::Even(chunks::Brs1("a.iff")))
                           .End()
                           .Chunk("TOBJ", {})
                           .End()
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_EQ(WriteBack(), file);
    // BRS1 66 + 1 + 5 = 72 -> 66 + 1 + 9 = 76: only the SOBJ, the OBJ and the FORM grow.
    context.file.Paths.Record(1).NewFileName = "arm.iff";  // B:arm.iff
    context.file.Paths.Record(1).NewDirectory = "B:";
    const Bytes out = WriteBack();
    EXPECT_EQ(GetU32(out, Find(out, "DESC") + 4), 26u);
    EXPECT_EQ(GetU32(out, Find(out, "SOBJ") + 4), 26u + 8 + 76);
    EXPECT_EQ(GetU32(out, Find(out, "OBJ ") + 4), 8 + 26 + 8 + 110 + 8u);
    EXPECT_EQ(GetU32(out, 4), out.size() - 8);
}

TEST_F(WriterTest, FillerChunksAreDroppedAndTheirBytesLeaveEverySize) {
    const Bytes file = IffBuilder("TDDD")
                           .Begin("OBJ ")
                           .Begin("DESC")
                           .Chunk("TXT1", chunks::Txt1("a.iff"))
                           .Chunk("    ", Bytes(6, 0xEE))
                           .End()
                           .Chunk("TOBJ", {})
                           .End()
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    const Bytes out = WriteBack();
    EXPECT_EQ(out.size(), file.size() - 14);
    EXPECT_EQ(GetU32(out, 4), GetU32(file, 4) - 14);
    EXPECT_EQ(GetU32(out, Find(out, "OBJ ") + 4), GetU32(file, Find(file, "OBJ ") + 4) - 14);
    EXPECT_EQ(GetU32(out, Find(out, "DESC") + 4), GetU32(file, Find(file, "DESC") + 4) - 14);
    EXPECT_EQ(Find(out, "    "), std::string::npos);
}

TEST_F(WriterTest, PathChunksKeepTheirPrefixAndTakeTheNewPath) {
    const Bytes file = IffBuilder()
                           .Chunk("TXT1", chunks::Txt1("old.iff", 0xA1))
                           .Chunk("BRS1", chunks::Brs1("old.iff", 0xB1))
                           .Chunk("FGR4", chunks::Fgr4(2, "grp", 0x0009, "old.iob"))
                           .Chunk("SPFX", chunks::Effect("FIRE", {1, 2, 3, 4, 5}))
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    const std::string twenty = "0123456789abcdef.iff";
    context.file.Paths.Record(1).NewFileName = twenty;
    context.file.Paths.Record(2).NewFileName = "brush.iff";
    context.file.Paths.Record(3).NewDirectory = "PARTS";
    context.file.Paths.Record(4).NewFileName = "SMOKE.EFX";  // 9 characters
    WriteBack();

    auto chunk = context.file.Chunks.begin();
    const Bytes& txt = *chunk->Data;
    EXPECT_EQ(chunk->Size, 164);
    EXPECT_TRUE(std::all_of(txt.begin(), txt.begin() + 142, [](auto b) { return b == 0xA1; }));
    EXPECT_EQ(txt[142], 20);
    EXPECT_EQ(std::string(txt.begin() + 143, txt.begin() + 163), twenty);
    EXPECT_EQ(txt[163], 0);

    const Bytes& brs = *(++chunk)->Data;
    EXPECT_TRUE(std::all_of(brs.begin(), brs.begin() + 66, [](auto b) { return b == 0xB1; }));
    EXPECT_EQ(brs[66], 9);
    EXPECT_EQ(std::string(brs.begin() + 67, brs.begin() + 76), "brush.iff");

    const Bytes& fgr = *(++chunk)->Data;
    ASSERT_EQ(fgr.size(), 4 * 2 + 30 + 1 + 13u);  // "PARTS\old.iob" padded even
    EXPECT_EQ(std::string(fgr.begin() + 39, fgr.begin() + 52), "PARTS\\old.iob");

    // FIRE: 6 + 1 + 4 = 11, block 12; the new path has 9: block 16.
    const ChunkNode& fx = *(++chunk);
    ASSERT_EQ(fx.Size, 16 + 5 + 1);
    EXPECT_EQ((*fx.Data)[6], 9);
    EXPECT_EQ(std::string(fx.Data->begin() + 7, fx.Data->begin() + 16), "SMOKE.EFX");
    EXPECT_EQ(Bytes(fx.Data->begin() + 16, fx.Data->end()), (Bytes{1, 2, 3, 4, 5, 0}));
}

TEST_F(WriterTest, DescriptionsAreWrittenOnlyWhenChangedAndWanted) {
    const Bytes file =
        IffBuilder()
            .Chunk("TXT4", testing::Even(chunks::Txt4("", "Twenty-two chars long", "a.itx")))
            .Chunk("BRS5", testing::Even(chunks::Brs5("", "Brush", "b.iff")))
            .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_EQ(Record(1).OldDescription, "Twenty-two chars l");
    EXPECT_EQ(WriteBack(), file);  // the long description nobody changed survives

    context.file.Paths.Record(1).NewDescription = "Oak";
    context.file.Paths.Record(2).NewDescription = "Rough";
    context.editor.settings.UpdateTextureDescriptions = false;
    EXPECT_EQ(WriteBack(), file);

    context.editor.settings.UpdateTextureDescriptions = true;
    WriteBack();
    const Bytes& txt = *context.file.Chunks.front().Data;
    EXPECT_EQ(std::string(txt.begin() + 178, txt.begin() + 182), std::string("Oak\0", 4));
    EXPECT_EQ(txt[182], 't');  // the rest of the field stays as it was
    const Bytes& brs = *context.file.Chunks.back().Data;
    EXPECT_EQ(std::string(brs.begin() + 104, brs.begin() + 110), std::string("Rough\0", 6));
}

TEST_F(WriterTest, WrongSeparatorsAreWrittenAndWarnedAboutOnce) {
    struct Case {
        ComputerType computer;
        const char* directory;
        const char* path;
        const char* message;
        int help;
    };
    const Case cases[] = {
        {ComputerType::Amiga, "C:\\TEXTURES", "C:\\TEXTURES/a.iff", "Invalid Amiga Directory found",
         35},
        {ComputerType::PC, "Work:Textures/Wood", "Work:Textures/Wood\\a.iff",
         "Invalid PC Directory found", 36},
    };
    for (const Case& c : cases) {
        ASSERT_EQ(Load(IffBuilder()
                           .Chunk("TXT1", chunks::Txt1("x\\a.iff"))
                           .Chunk("TXT1", chunks::Txt1("x\\a.iff"))
                           .Build()),
                  ReadStatus::Ok);
        context.editor.settings.Computer = c.computer;
        context.file.Summary[0].NewDirectory = c.directory;
        ApplySummary(context.file);
        ui.messages.clear();
        WriteBack();
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, c.message);
        EXPECT_EQ(ui.messages[0].kind, MessageKind::WarningWithHelp);
        EXPECT_EQ(ui.messages[0].buttons, MessageButtons::OkHelp);
        EXPECT_EQ(ui.messages[0].helpContext, c.help);
        const Bytes& data = *context.file.Chunks.front().Data;
        EXPECT_EQ(std::string(data.begin() + 143, data.begin() + 143 + data[142]), c.path);

        ui.messages.clear();
        EXPECT_EQ(WriteObjectFile(context, temp.File("quiet.iob"), false), WriteStatus::Written);
        EXPECT_TRUE(ui.messages.empty());
    }
}

TEST_F(WriterTest, RootsAndLongNamesSurviveARoundTrip) {
    const std::string longName(40, 'w');
    const Bytes file =
        IffBuilder()
            .Chunk("TXT1", testing::Even(chunks::Txt1("C:\\WOOD.IFF")))
            .Chunk("TXT1", testing::Even(chunks::Txt1("\\ROOT.IFF")))
            .Chunk("TXT1", testing::Even(chunks::Txt1("D:\\TEX\\" + longName + ".iff")))
            .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_EQ(Record(1).OldDirectory, "C:\\");
    EXPECT_EQ(Record(3).OldFileName.size(), 32u);
    // Moving a directory keeps the long name whole.
    context.file.Paths.Record(3).NewDirectory = "E:\\MAPS";
    WriteBack();
    const Bytes& data = *context.file.Chunks.back().Data;
    EXPECT_EQ(std::string(data.begin() + 143, data.begin() + 143 + data[142]),
              "E:\\MAPS\\" + longName + ".iff");

    context.file.Paths.Record(3).NewDirectory = "D:\\TEX";
    EXPECT_EQ(WriteBack(), file);
}

TEST_F(WriterTest, RemovingEveryRecordStillWritesTheRemainingChunks) {
    const Bytes file = IffBuilder()
                           .Begin("OBJ ")
                           .Begin("DESC")
                           .Chunk("NAME", chunks::Name("CUBE"))
                           .Chunk("TXT1", chunks::Txt1("a.iff"))
                           .Chunk("BRS1", chunks::Brs1("b.iff"))
                           .End()
                           .Chunk("TOBJ", {})
                           .End()
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    ASSERT_TRUE(RemovePathRecord(context.file, 1));
    ASSERT_TRUE(RemovePathRecord(context.file, 1));
    const Bytes want = IffBuilder()
                           .Begin("OBJ ")
                           .Begin("DESC")
                           .Chunk("NAME", chunks::Name("CUBE"))
                           .End()
                           .Chunk("TOBJ", {})
                           .End()
                           .Build();
    EXPECT_EQ(WriteBack(), want);
}

TEST_F(WriterTest, FailedWritesLeaveThePreviousFileAndReportIt) {
    ASSERT_EQ(Load(IffBuilder().Chunk("TXT1", chunks::Txt1("a.iff")).Build()), ReadStatus::Ok);
    const Bytes original = testing::ReadFileBytes(path);
    context.file.Paths.Record(1).NewFileName = "b.iff";

    // A directory stands where the file should go: the rename over it fails
    // after the temporary file was written, and nothing is left behind.
    const auto blocked = temp.path() / "blocked.iob";
    std::filesystem::create_directories(blocked / "inside");
    // A read-only file is refused as a write in place would be, never replaced.
    const std::string readOnly = temp.File("readonly.iob");
    testing::WriteFileBytes(readOnly, {'k', 'e', 'e', 'p'});
    std::filesystem::permissions(readOnly, std::filesystem::perms::owner_read |
                                               std::filesystem::perms::group_read |
                                               std::filesystem::perms::others_read);
    for (const std::string& target :
         {blocked.string(), temp.File("missing/dir/x.iob"), std::string("C:\\x.iob"), readOnly}) {
        ui.messages.clear();
        EXPECT_EQ(WriteObjectFile(context, target, true), WriteStatus::CreateFailed) << target;
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, "Unable to Save test.iob");
        EXPECT_EQ(WriteObjectFile(context, target, false), WriteStatus::CreateFailed);
        EXPECT_EQ(ui.messages.size(), 1u);
    }
    EXPECT_TRUE(std::filesystem::is_directory(blocked / "inside"));
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(temp.path()))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"blocked.iob", "readonly.iob", "test.iob"}));
    EXPECT_EQ(testing::ReadFileBytes(path), original);
    EXPECT_EQ(testing::ReadFileBytes(readOnly), (Bytes{'k', 'e', 'e', 'p'}));

    // After the file is released nothing may be written over it.
    FreeObjectFile(context.file);
    ui.messages.clear();
    EXPECT_EQ(WriteObjectFile(context, path, true), WriteStatus::CreateFailed);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Unable to Save test.iob"});
    EXPECT_EQ(testing::ReadFileBytes(path), original);
}

}  // namespace
}  // namespace tessvane
