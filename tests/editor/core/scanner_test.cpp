#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "core/path_rules.h"
#include "core/scanner.h"
#include "core_fixture.h"

namespace tessvane {
namespace {

using testing::Bytes;
using testing::IffBuilder;
namespace chunks = testing::chunks;

using ScannerTest = CoreTest;

TEST_F(ScannerTest, TexturesInTxt4ChunksCarryTheirDescriptions) {
    const Bytes file = IffBuilder("TDDD")
                           .Begin("OBJ ")
                           .Begin("DESC")
                           .Chunk("NAME", chunks::Name("CUBE"))
                           .Chunk("TXT4", chunks::Txt4("Lid", "Dark oak", "C:\\TEX\\oak.itx"))
                           .Chunk("TXT4", chunks::Txt4("", "Granite", "DH0:Textures/granite.itx"))
                           .End()
                           .Chunk("TOBJ", {})
                           .End()
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    const ObjectFile& f = context.file;
    EXPECT_TRUE(f.Loaded);
    EXPECT_FALSE(f.IsProject);
    EXPECT_TRUE(f.DescriptionsEditable);
    ASSERT_EQ(f.Paths.Count(), 2u);
    EXPECT_EQ(f.Paths.TextureCount, 2);
    EXPECT_EQ(Record(1).PartName, "CUBE (Lid)");
    EXPECT_EQ(Record(1).OldDescription, "Dark oak");
    EXPECT_EQ(Record(1).NewDescription, "Dark oak");
    EXPECT_EQ(Record(1).ChunkOrdinal, 4);
    EXPECT_EQ(Record(2).PartName, "CUBE");
    EXPECT_EQ(Record(2).OldDirectory, "DH0:Textures");
    EXPECT_EQ(Record(2).OldFileName, "granite.itx");
    EXPECT_EQ(Record(2).OldDescription, "Granite");
    EXPECT_EQ(f.Chunks.size(), 6u);
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ScannerTest, ProjectObjectsWithoutNameChunkShowOnlyTheirOwnNames) {
    const Bytes file = IffBuilder("ISTG")
                           .Chunk("TXT4", chunks::Txt4("", "Tiles", "tiles.itx"))
                           .Chunk("FIL3", chunks::Fil3("ACTOR1", "Objects\\actor1.iob"))
                           .Chunk("FIL3", chunks::Fil3("ACTOR2", "Objects\\actor2.iob"))
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_TRUE(context.file.IsProject);
    EXPECT_FALSE(context.file.DescriptionsEditable);  // a FIL3 came after the TXT4
    ASSERT_EQ(context.file.Paths.Count(), 3u);
    EXPECT_EQ(Record(2).PartName, " (ACTOR1)");
    EXPECT_EQ(Record(3).PartName, " (ACTOR2)");
    EXPECT_EQ(Record(2).Kind, PathKind::Object);
    EXPECT_EQ(Record(2).OldDescription, "Object");
    EXPECT_EQ(Record(3).OldDirectory, "Objects");
}

TEST_F(ScannerTest, EveryPathChunkKindIsReadFromItsOwnOffsets) {
    struct Case {
        const char* id;
        Bytes data;
        PathKind kind;
        const char* part;
        const char* description;
    };
    const std::string path = "DH1:Maps/rock.iff";
    const std::vector<Case> cases = {
        {"TXT1", chunks::Txt1(path), PathKind::Texture, "OBJ", ""},
        {"TXT2", chunks::Txt2("sg2", path), PathKind::Texture, "OBJ (sg2)", ""},
        {"TXT3", chunks::Txt3("sg3", path), PathKind::Texture, "OBJ (sg3)", ""},
        {"TXT4", chunks::Txt4("sg4", "desc4", path), PathKind::Texture, "OBJ (sg4)", "desc4"},
        {"BRS1", chunks::Brs1(path), PathKind::Brush, "OBJ", ""},
        {"BRS2", chunks::Brs2(path), PathKind::Brush, "OBJ", ""},
        {"BRS3", chunks::Brs3("b3", path), PathKind::Brush, "OBJ (b3)", ""},
        {"BRS4", chunks::Brs4("b4", path), PathKind::Brush, "OBJ (b4)", ""},
        {"BRS5", chunks::Brs5("b5", "a thirty byte field desc", path), PathKind::Brush, "OBJ (b5)",
         "a thirty byte fiel"},
        {"PTFN", chunks::Ptfn(path), PathKind::ParticleObject, "OBJ", "Particle Object"},
        {"FGR2", chunks::Fgr2(3, "grp2", 0x0019, path), PathKind::ParticleObject, "OBJ (grp2)",
         "Particle Object"},
        {"FGR3", chunks::Fgr3(0, "grp3", 0x0009, path), PathKind::ParticleObject, "OBJ (grp3)",
         "Particle Object"},
        {"FGR4", chunks::Fgr4(2, "grp4", 0xFFF9, path), PathKind::ParticleObject, "OBJ (grp4)",
         "Particle Object"},
        {"FIL3", chunks::Fil3("inner", path), PathKind::Object, "OBJ (inner)", "Object"},
        {"SPFX", chunks::Effect(path, {1, 2}), PathKind::Effect, "OBJ", "Effect"},
        {"S2FX", chunks::Effect(path, {}), PathKind::Effect, "OBJ", "Effect"},
        {"S3FX", chunks::Effect(path, {}), PathKind::Effect, "OBJ", "Effect"},
        {"S4FX", chunks::Effect(path, {}), PathKind::Effect, "OBJ", "Effect"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const Bytes file =
            IffBuilder().Chunk("NAME", chunks::Name("OBJ")).Chunk(c.id, c.data).Build();
        ASSERT_EQ(Load(file, false), ReadStatus::Ok);
        ASSERT_EQ(context.file.Paths.Count(), 1u);
        EXPECT_EQ(Record(1).Kind, c.kind);
        EXPECT_EQ(Record(1).PartName, c.part);
        EXPECT_EQ(Record(1).OldDescription, c.description);
        EXPECT_EQ(Record(1).OldDirectory, "DH1:Maps");
        EXPECT_EQ(Record(1).OldFileName, "rock.iff");
        EXPECT_EQ(Record(1).ChunkOrdinal, 2);
    }
}

TEST_F(ScannerTest, DescriptionsEditableFollowsTheLastDescribingChunk) {
    // TXT4/BRS5 turn it on, FIL3 and effects turn it off, the rest leave it.
    struct Case {
        const char* name;
        std::vector<std::pair<const char*, Bytes>> chunks;
        bool editable;
    };
    const Bytes txt4 = chunks::Txt4("", "Oak", "oak.itx");
    const Bytes brs5 = chunks::Brs5("", "Bumps", "bump.iff");
    const Bytes fil3 = chunks::Fil3("ACTOR", "actor.iob");
    const Bytes fx = chunks::Effect("FIRE", {});
    const std::vector<Case> cases = {
        {"TXT4 then TXT1", {{"TXT4", txt4}, {"TXT1", chunks::Txt1("a.iff")}}, true},
        {"BRS5 then particle group",
         {{"BRS5", brs5}, {"FGR3", chunks::Fgr3(1, "g", 9, "p.iob")}},
         true},
        {"TXT4 then effect", {{"TXT4", txt4}, {"S3FX", fx}}, false},
        {"FIL3 then BRS5", {{"FIL3", fil3}, {"BRS5", brs5}}, true},
        {"only plain textures",
         {{"TXT1", chunks::Txt1("a.iff")}, {"BRS1", chunks::Brs1("b.iff")}},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        IffBuilder b;
        for (const auto& [id, data] : c.chunks) b.Chunk(id, data);
        ASSERT_EQ(Load(b.Build()), ReadStatus::Ok);
        EXPECT_EQ(context.file.DescriptionsEditable, c.editable);
    }
}

TEST_F(ScannerTest, ParticleGroupsNeedFlagsNine) {
    const Bytes file = IffBuilder()
                           .Chunk("FGR3", chunks::Fgr3(2, "smoke", 0x0005, "smoke.iob"))
                           .Chunk("FGR2", chunks::Fgr2(1, "dust", 0x0008, "dust.iob"))
                           .Chunk("FGR4", chunks::Fgr4(1, "fire", 0x0029, "fire.iob"))
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    ASSERT_EQ(context.file.Paths.Count(), 1u);
    EXPECT_EQ(Record(1).OldFileName, "fire.iob");
    EXPECT_EQ(Record(1).ChunkOrdinal, 3);
    EXPECT_EQ(context.file.Chunks.front().Data, chunks::Fgr3(2, "smoke", 0x0005, "smoke.iob"));
}

TEST_F(ScannerTest, SplitKeepsRootsAndVolumes) {
    struct Case {
        const char* path;
        const char* directory;
        const char* file;
    };
    const Case cases[] = {
        {"DH0:Textures/wood.iff", "DH0:Textures", "wood.iff"},
        {"DH0:wood.iff", "DH0:", "wood.iff"},
        {"wood.iff", "", "wood.iff"},
        {"C:\\IMAGINE\\TEXTURES\\WOOD.IFF", "C:\\IMAGINE\\TEXTURES", "WOOD.IFF"},
        {"C:\\WOOD.IFF", "C:\\", "WOOD.IFF"},
        {"\\WOOD.IFF", "\\", "WOOD.IFF"},
        {"/textures/wood.iff", "/textures", "wood.iff"},
        {"Textures/", "Textures", ""},
    };
    for (const Case& c : cases) {
        const SplitPath s = SplitRecordPath(c.path);
        EXPECT_EQ(s.directory, c.directory) << c.path;
        EXPECT_EQ(s.fileName, c.file) << c.path;
    }
}

TEST_F(ScannerTest, DirectoriesDifferingOnlyInCaseShareOneSummaryEntry) {
    const Bytes file = IffBuilder()
                           .Chunk("TXT1", chunks::Txt1("C:\\IMAGINE\\TEXTURES\\a.itx"))
                           .Chunk("TXT1", chunks::Txt1("c:\\imagine\\textures\\b.itx"))
                           .Chunk("BRS1", chunks::Brs1("D:\\BRUSH\\c.iff"))
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_EQ(context.file.Paths.Count(), 3u);
    ASSERT_EQ(context.file.Summary.size(), 2u);
    EXPECT_EQ(context.file.Summary[0].OldDirectory, "C:\\IMAGINE\\TEXTURES");
    EXPECT_EQ(context.file.Summary[0].NewDirectory, "C:\\IMAGINE\\TEXTURES");
    EXPECT_EQ(context.file.Summary[1].OldDirectory, "D:\\BRUSH");

    // Update Details: both spellings take the entry's new directory.
    context.file.Summary[0].NewDirectory = "D:\\TEX";
    ApplySummary(context.file);
    EXPECT_EQ(Record(1).NewDirectory, "D:\\TEX");
    EXPECT_EQ(Record(2).NewDirectory, "D:\\TEX");
    EXPECT_EQ(Record(3).NewDirectory, "D:\\BRUSH");
}

TEST_F(ScannerTest, StatusesAndMessages) {
    struct Case {
        const char* name;
        Bytes bytes;
        bool create;
        ReadStatus status;
        MessageKind kind;
        std::string message;
    };
    const Bytes nameOnly = IffBuilder().Chunk("NAME", chunks::Name("EMPTY")).Build();
    const Bytes projectNameOnly = IffBuilder("ISTG").Chunk("NAME", chunks::Name("EMPTY")).Build();
    const Bytes notIff = {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd', '!', '!'};
    Bytes wrongType = nameOnly;
    wrongType[11] = 'X';
    const std::vector<Case> cases = {
        {"missing.iob", {}, false, ReadStatus::OpenFailed, MessageKind::Warning, ""},
        {"empty.iob",
         {},
         true,
         ReadStatus::NotTddd,
         MessageKind::Warning,
         "empty.iob is not a TDDD Object file."},
        {"eleven.iob", Bytes(nameOnly.begin(), nameOnly.begin() + 11), true, ReadStatus::NotTddd,
         MessageKind::Warning, "eleven.iob is not a TDDD Object file."},
        {"b.txt", notIff, true, ReadStatus::NotTddd, MessageKind::Warning,
         "b.txt is not a TDDD Object file."},
        {"type.iob", wrongType, true, ReadStatus::NotTddd, MessageKind::Warning,
         "type.iob is not a TDDD Object file."},
        {"name.iob", nameOnly, true, ReadStatus::NoPaths, MessageKind::Information,
         "No Textures or Brushes found"},
        {"name.ist", projectNameOnly, true, ReadStatus::NoPaths, MessageKind::Information,
         "No Objects or Effects found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string p = temp.File(c.name);
        if (c.create) testing::WriteFileBytes(p, c.bytes);
        context.editor.shell.CurrentFileName = c.name;
        const std::string want = c.message.empty() ? "Unable to Load " + p + " 2" : c.message;

        ui.messages.clear();
        EXPECT_EQ(ReadObjectFile(context, p, true), c.status);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0].text, want);
        EXPECT_EQ(ui.messages[0].kind, c.kind);
        EXPECT_EQ(ui.messages[0].buttons, MessageButtons::Ok);
        EXPECT_FALSE(context.file.Loaded);
        EXPECT_TRUE(context.file.Chunks.empty());

        ui.messages.clear();
        EXPECT_EQ(ReadObjectFile(context, p, false), c.status);
        EXPECT_TRUE(ui.messages.empty());
    }
}

// The header is read and checked before the rest, and the rest has a limit:
// a file of another kind is not read through, whatever its length, and a file
// over the limit is refused without being read.
TEST_F(ScannerTest, TheHeaderDecidesBeforeTheRestIsRead) {
    // A pipe whose writer keeps it open after twelve bytes: only a reader that
    // stops after the header returns while the writer still holds it.
    auto readFromPipe = [&](const Bytes& bytes, ReadStatus& status) {
        const std::string fifo = temp.File("pipe.iob");
        std::filesystem::remove(fifo);
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        std::mutex mutex;
        std::condition_variable readerDone;
        bool done = false;
        bool heldOpen = false;
        std::thread writer([&] {
            const int fd = ::open(fifo.c_str(), O_WRONLY);
            ASSERT_GE(fd, 0);
            EXPECT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
            std::unique_lock<std::mutex> lock(mutex);
            heldOpen = readerDone.wait_for(lock, std::chrono::seconds(10), [&] { return done; });
            lock.unlock();
            ::close(fd);
        });
        status = ReadObjectFile(context, fifo, false);
        {
            const std::lock_guard<std::mutex> lock(mutex);
            done = true;
        }
        readerDone.notify_one();
        writer.join();
        return heldOpen;
    };
    ReadStatus status = ReadStatus::Ok;
    EXPECT_TRUE(
        readFromPipe(Bytes{'P', 'K', 3, 4, 'n', 'o', 't', ' ', 'I', 'F', 'F', '!'}, status));
    EXPECT_EQ(status, ReadStatus::NotTddd);

    // An object file through a pipe is read to its end like any other.
    const Bytes object = IffBuilder().Chunk("TXT1", chunks::Txt1("C:\\TEX\\oak.itx")).Build();
    const std::string fifo = temp.File("object-pipe.iob");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread feed([&] { testing::WriteFileBytes(fifo, object); });
    EXPECT_EQ(ReadObjectFile(context, fifo, false), ReadStatus::Ok);
    feed.join();
    ASSERT_EQ(context.file.Paths.Count(), 1u);
    EXPECT_EQ(Record(1).OldFileName, "oak.itx");

    // One byte over the limit, as a sparse file: refused, and said so.
    const std::string huge = temp.File("huge.iob");
    testing::WriteFileBytes(huge, object);
    ASSERT_EQ(::truncate(huge.c_str(), static_cast<off_t>(kMaxObjectFileBytes + 1)), 0);
    context.editor.shell.CurrentFileName = "huge.iob";
    ui.messages.clear();
    EXPECT_EQ(ReadObjectFile(context, huge, true), ReadStatus::OpenFailed);
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"huge.iob is larger than 1 GiB and is not loaded."});
    EXPECT_FALSE(context.file.Loaded);
}

TEST_F(ScannerTest, LoadingReplacesTheFileHeldAndEndsTheLogLine) {
    context.log = &log;
    log.Write("Processing....x.iob");
    ASSERT_EQ(Load(IffBuilder().Chunk("TXT1", chunks::Txt1("a\\one.itx")).Build()), ReadStatus::Ok);
    EXPECT_EQ(log.lines, std::vector<std::string>{"Processing....x.iob"});
    ASSERT_EQ(
        Load(IffBuilder().Chunk("BRS1", chunks::Brs1("b\\two.iff")).Build(), true, "other.iob"),
        ReadStatus::Ok);
    ASSERT_EQ(context.file.Paths.Count(), 1u);
    EXPECT_EQ(Record(1).OldFileName, "two.iff");
    EXPECT_EQ(context.file.Paths.TextureCount, 0);
    EXPECT_EQ(context.file.Summary.size(), 1u);
}

TEST_F(ScannerTest, SortDisplayOrderExchangesOnlyGreaterKeys) {
    const Bytes file = IffBuilder()
                           .Chunk("NAME", chunks::Name("zeta"))
                           .Chunk("TXT4", chunks::Txt4("", "Stone", "b.iff"))
                           .Chunk("NAME", chunks::Name("Alpha"))
                           .Chunk("TXT4", chunks::Txt4("", "brick", "A.iff"))
                           .Chunk("NAME", chunks::Name("beta"))
                           .Chunk("TXT4", chunks::Txt4("", "Ash", "a.iff"))
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    struct Case {
        std::uint16_t mode;
        std::vector<std::size_t> order;
    };
    for (const Case& c :
         {Case{2, {2, 3, 1}}, Case{0, {1, 2, 3}}, Case{1, {2, 3, 1}}, Case{3, {3, 2, 1}}}) {
        context.editor.shell.SortMode = c.mode;
        SortDisplayOrder(context);
        EXPECT_EQ(context.file.Paths.DisplayOrder, c.order) << c.mode;
    }
    // The mode survives a load and applies to the new file at once.
    context.editor.shell.SortMode = 2;
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_EQ(context.file.Paths.DisplayOrder, (std::vector<std::size_t>{2, 3, 1}));
}

TEST_F(ScannerTest, RemovingRecordsRenumbersChunksAndDisplayOrder) {
    const Bytes file = IffBuilder()
                           .Chunk("NAME", chunks::Name("O"))
                           .Chunk("TXT1", chunks::Txt1("d1\\c.iff"))
                           .Chunk("TXT1", chunks::Txt1("d2\\a.iff"))
                           .Chunk("TOBJ", {})
                           .Chunk("TXT1", chunks::Txt1("d3\\b.iff"))
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    context.editor.shell.SortMode = kSortByOldFileName;
    SortDisplayOrder(context);  // a.iff, b.iff, c.iff -> records 2, 3, 1
    ASSERT_EQ(context.file.Paths.DisplayOrder, (std::vector<std::size_t>{2, 3, 1}));

    ASSERT_TRUE(RemovePathRecord(context.file, 1));  // a.iff, record 2, chunk 3
    ASSERT_EQ(context.file.Paths.Count(), 2u);
    EXPECT_EQ(Record(1).OldFileName, "c.iff");
    EXPECT_EQ(Record(1).ChunkOrdinal, 2);
    EXPECT_EQ(Record(2).OldFileName, "b.iff");
    EXPECT_EQ(Record(2).ChunkOrdinal, 4);
    EXPECT_EQ(context.file.Paths.DisplayOrder, (std::vector<std::size_t>{2, 1}));
    EXPECT_EQ(context.file.Chunks.size(), 4u);
    EXPECT_EQ(context.file.Summary.size(), 3u);  // kept until the last record goes
    EXPECT_EQ(context.file.Paths.TextureCount, 3);

    EXPECT_FALSE(RemovePathRecord(context.file, 0));
    EXPECT_FALSE(RemovePathRecord(context.file, 3));
    ASSERT_TRUE(RemovePathRecord(context.file, 1));
    ASSERT_TRUE(RemovePathRecord(context.file, 1));
    EXPECT_EQ(context.file.Paths.Count(), 0u);
    EXPECT_TRUE(context.file.Summary.empty());
    EXPECT_TRUE(context.file.Loaded);
    EXPECT_EQ(context.file.Chunks.size(), 2u);  // NAME and TOBJ remain
}

TEST_F(ScannerTest, NoFixedLimitOnRecordsOrDirectories) {
    IffBuilder builder;
    for (int i = 0; i < 450; ++i) {
        builder.Chunk("TXT1", chunks::Txt1("DIR" + std::to_string(i % 150) + "\\t" +
                                           std::to_string(i) + ".itx"));
    }
    ASSERT_EQ(Load(builder.Build()), ReadStatus::Ok);
    EXPECT_EQ(context.file.Paths.Count(), 450u);
    EXPECT_EQ(context.file.Paths.DisplayOrder.size(), 450u);
    EXPECT_EQ(context.file.Summary.size(), 150u);
    EXPECT_EQ(Record(450).OldFileName, "t449.itx");
    EXPECT_EQ(Record(450).ChunkOrdinal, 450);
    for (std::size_t i = 0; i < 150; ++i)
        EXPECT_EQ(context.file.Summary[i].OldDirectory, "DIR" + std::to_string(i));

    // A summary changed by hand since: a record added now still finds its
    // entry, or makes one after the last.
    context.file.Summary.erase(context.file.Summary.begin());
    AddPathRecord(context, "dir1\\again.itx", "", PathKind::Texture);
    AddPathRecord(context, "DIR0\\again.itx", "", PathKind::Texture);
    ASSERT_EQ(context.file.Summary.size(), 150u);
    EXPECT_EQ(context.file.Summary[0].OldDirectory, "DIR1");
    EXPECT_EQ(context.file.Summary[149].OldDirectory, "DIR0");
}

TEST_F(ScannerTest, SetOnLoadAppliesTheListsBeforeTheSummaryIsMade) {
    context.log = &log;
    context.editor.settings.UseDefaultDirectories = true;
    context.editor.settings.UseDefaultTextures = true;
    context.editor.directoryDefaults.Append({"c:\\old", "D:\\NEW"});
    context.editor.textureDefaults.Append({"WOOD.IFF", "oak.iff", "Oak"});
    const Bytes file = IffBuilder()
                           .Chunk("NAME", chunks::Name("CUBE"))
                           .Chunk("TXT1", chunks::Txt1("C:\\OLD\\wood.iff"))
                           .Chunk("BRS1", chunks::Brs1("C:\\OLD\\wood.iff"))
                           .Build();
    ASSERT_EQ(Load(file), ReadStatus::Ok);
    EXPECT_EQ(Record(1).NewDirectory, "D:\\NEW");
    EXPECT_EQ(Record(1).NewFileName, "oak.iff");
    EXPECT_EQ(Record(2).NewFileName, "wood.iff");  // brushes take no texture names
    ASSERT_EQ(context.file.Summary.size(), 1u);
    EXPECT_EQ(context.file.Summary[0].NewDirectory, "D:\\NEW");
    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "",
                             "Object: CUBE >>  Path: C:\\OLD  Changed To  D:\\NEW",
                             "Object: CUBE >>  Texture: wood.iff  Changed To  oak.iff",
                             "Object: CUBE >>  Texture Description:   Changed To  Oak",
                             "Object: CUBE >>  Path: C:\\OLD  Changed To  D:\\NEW",
                         }));
    EXPECT_TRUE(ui.directoryPrompts.empty());
}

}  // namespace
}  // namespace tessvane
