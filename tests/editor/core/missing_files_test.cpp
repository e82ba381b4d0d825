#include "core/missing_files.h"

#include <dirent.h>
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/file_search.h"
#include "core_fixture.h"

// Some file systems leave the type of every directory entry unknown. While
// g_hideEntryTypes is set, this program's directory reads do the same, so
// the index shows what it finds there.
namespace {
bool g_hideEntryTypes = false;
}  // namespace

extern "C" dirent* readdir(DIR* dir) {
    using ReadDirFn = dirent* (*)(DIR*);
    static const auto real = reinterpret_cast<ReadDirFn>(::dlsym(RTLD_NEXT, "readdir"));
    if (real == nullptr) std::abort();
    dirent* entry = real(dir);
    if (entry != nullptr && g_hideEntryTypes) entry->d_type = DT_UNKNOWN;
    return entry;
}

namespace tessvane {
namespace {

namespace fs = std::filesystem;
using testing::IffBuilder;
namespace chunks = testing::chunks;

class MissingFilesTest : public CoreTest {
  protected:
    std::string Local(const std::string& relative) const { return temp.File(relative); }
    void Touch(const std::string& relative) const {
        fs::create_directories(fs::path(Local(relative)).parent_path());
        std::ofstream(Local(relative)) << "x";
    }
    // Loads an object CUBE whose textures have the given paths.
    void LoadTextures(const std::vector<std::string>& paths) {
        IffBuilder b;
        b.Chunk("NAME", chunks::Name("CUBE"));
        for (const std::string& p : paths) b.Chunk("TXT1", chunks::Txt1(p));
        ASSERT_EQ(Load(b.Build()), ReadStatus::Ok);
    }
    Settings& settings() { return context.editor.settings; }
};

// The same tree gives the same index whether or not the file system tells
// the type of each entry.
TEST_F(MissingFilesTest, TheIndexReadsEachTreeOnceAndFindsNamesCaseBlind) {
    Touch("c/textures/Wood.iff");
    Touch("c/textures/old/WOOD.IFF");
    Touch("c/maps/wood.iff.bak");
    Touch("d/Drap\xc3\xa9.iff");
    fs::create_directory_symlink(Local("c"), Local("c/textures/loop"));    // not followed
    fs::create_symlink(Local("d/Drap\xc3\xa9.iff"), Local("c/link.iff"));  // a file
    fs::create_symlink(Local("gone.iff"), Local("c/dangling.iff"));        // nothing
    for (const bool hidden : {false, true}) {
        SCOPED_TRACE(hidden ? "entry types unknown" : "entry types given");
        g_hideEntryTypes = hidden;
        const FileIndex index =
            FileIndex::Build({Local("c"), Local("c/textures"), Local("d/"), Local("gone"), "/"});
        g_hideEntryTypes = false;
        EXPECT_EQ(index.Roots(), (std::vector<std::string>{Local("c"), Local("d")}));
        EXPECT_EQ(index.FileCount(), 5u);
        EXPECT_EQ(index.Named("wood.IFF"),
                  (std::vector<std::string>{Local("c/textures/Wood.iff"),
                                            Local("c/textures/old/WOOD.IFF")}));
        EXPECT_EQ(index.Named("DRAP\xc3\x89.IFF"),
                  (std::vector<std::string>{Local("d/Drap\xc3\xa9.iff")}));
        EXPECT_EQ(index.Named("LINK.iff"), (std::vector<std::string>{Local("c/link.iff")}));
        EXPECT_TRUE(index.Named("wood").empty());
        EXPECT_TRUE(index.Named("dangling.iff").empty());
    }
}

TEST_F(MissingFilesTest, CandidatesAreRankedByTheDirectoriesTheyShareWithTheOldPath) {
    Touch("hd/Art/Wood/oak.iff");      // shares Art/Wood
    Touch("hd/Old/Art/Wood/OAK.IFF");  // shares Art/Wood too; later in byte order
    Touch("hd/Wood/oak.iff");          // shares Wood
    Touch("hd/Wood/Art/oak.iff");      // shares nothing: Art is not Wood
    Touch("hd/oak.iff");
    settings().Volumes = {{"DH0:", Local("hd")}};
    const FileIndex index = FileIndex::Build(SearchRoots(settings(), {}));
    std::vector<std::string> order;
    std::vector<std::size_t> shared;
    for (const Candidate& c : FindCandidates(index, settings(), "DH1:Work/art/wood/Oak.iff")) {
        order.push_back(c.local.substr(temp.path().string().size() + 1));
        shared.push_back(c.sharedDirectories);
    }
    EXPECT_EQ(order,
              (std::vector<std::string>{"hd/Art/Wood/oak.iff", "hd/Old/Art/Wood/OAK.IFF",
                                        "hd/Wood/oak.iff", "hd/Wood/Art/oak.iff", "hd/oak.iff"}));
    EXPECT_EQ(shared, (std::vector<std::size_t>{2, 2, 1, 0, 0}));
    EXPECT_TRUE(FindCandidates(index, settings(), "DH0:").empty());
}

TEST_F(MissingFilesTest, EveryRecordIsFoundMissingOrNotMappableWithItsCandidates) {
    Touch("dos/c/textures/wood.iff");
    Touch("dos/c/maps/oak.iff");
    Touch("dos/c/a/pine.iff");
    Touch("dos/c/b/pine.iff");
    Touch("elsewhere/birch.iff");
    settings().Volumes = {{"C:", Local("dos/c")}};
    LoadTextures({"C:\\TEXTURES\\Wood.IFF", "C:\\TEX\\oak.iff", "C:\\OLD\\pine.iff",
                  "DH1:birch.iff", "C:\\TEX\\gone.iff"});
    const FileIndex index = FileIndex::Build(SearchRoots(settings(), {Local("elsewhere")}));
    const std::vector<RecordLink> links = CheckRecordLinks(settings(), context.file, &index);

    ASSERT_EQ(links.size(), 5u);
    EXPECT_EQ(links[0].status, LinkStatus::Found);
    EXPECT_EQ(links[0].resolved.local, Local("dos/c/textures/wood.iff"));
    EXPECT_TRUE(links[0].candidates.empty());
    EXPECT_EQ(links[1].status, LinkStatus::Missing);
    EXPECT_EQ(links[1].path, "C:\\TEX\\oak.iff");
    ASSERT_EQ(links[1].candidates.size(), 1u);
    EXPECT_EQ(links[1].candidates[0].local, Local("dos/c/maps/oak.iff"));
    EXPECT_EQ(links[2].candidates.size(), 2u);
    EXPECT_EQ(links[3].status, LinkStatus::NotMappable);
    ASSERT_EQ(links[3].candidates.size(), 1u);  // a search is not bound to the map
    EXPECT_EQ(links[4].status, LinkStatus::Missing);
    EXPECT_TRUE(links[4].candidates.empty());

    // Without an index nothing is searched.
    EXPECT_TRUE(CheckRecordLinks(settings(), context.file, nullptr)[1].candidates.empty());
}

TEST_F(MissingFilesTest, RelinkingWritesTheObjectFilesFormAndLogsTheChange) {
    Touch("dos/c/maps/Oak.iff");
    Touch("amiga/hd0/Art/Textures/Pine.IFF");
    Touch("elsewhere/birch.iff");
    fs::create_directories(Local("dos/c/\xe6\x9c\xa8"));
    Touch("dos/c/\xe6\x9c\xa8/ash.iff");
    settings().Volumes = {{"C:", Local("dos/c")}, {"DH0:", Local("amiga/hd0")}};
    LoadTextures({"C:\\TEX\\oak.iff", "DH0:Textures/pine.iff", "C:\\birch.iff", "C:\\ash.iff"});
    context.log = &log;

    // PC: a directory without capitals is written in capitals; the name keeps
    // the file's letter case, which differs from the record's.
    ASSERT_EQ(RelinkRecord(context, 1, Local("dos/c/maps/Oak.iff")).status, RelinkStatus::Relinked);
    EXPECT_EQ(Record(1).NewDirectory, "C:\\MAPS");
    EXPECT_EQ(Record(1).NewFileName, "Oak.iff");
    EXPECT_EQ(RecordPath(settings(), Record(1)), "C:\\MAPS\\Oak.iff");

    settings().Computer = ComputerType::Amiga;
    ASSERT_EQ(RelinkRecord(context, 2, Local("amiga/hd0/Art/Textures/Pine.IFF")).status,
              RelinkStatus::Relinked);
    EXPECT_EQ(Record(2).NewDirectory, "DH0:Art/Textures");
    EXPECT_EQ(Record(2).NewFileName, "Pine.IFF");
    EXPECT_TRUE(ObjectPathExists(settings(), RecordPath(settings(), Record(2)), EntryKind::File));

    EXPECT_EQ(log.lines, (std::vector<std::string>{
                             "Object: CUBE >>  Path: C:\\TEX  Changed To  C:\\MAPS",
                             "Object: CUBE >>  File Name: oak.iff  Changed To  Oak.iff",
                             "Object: CUBE >>  Path: DH0:Textures  Changed To  DH0:Art/Textures",
                             "Object: CUBE >>  File Name: pine.iff  Changed To  Pine.IFF"}));

    // Nothing changes where the object file could not name the file.
    const RelinkOutcome outside = RelinkRecord(context, 3, Local("elsewhere/birch.iff"));
    EXPECT_EQ(outside.status, RelinkStatus::NotMapped);
    EXPECT_EQ(outside.message, Local("elsewhere/birch.iff") + " is on no mapped volume");
    const RelinkOutcome unencodable = RelinkRecord(context, 4, Local("dos/c/\xe6\x9c\xa8/ash.iff"));
    EXPECT_EQ(unencodable.status, RelinkStatus::Unencodable);
    EXPECT_NE(unencodable.message.find("U+6728"), std::string::npos) << unencodable.message;
    EXPECT_EQ(RelinkRecord(context, 9, Local("dos/c/maps/Oak.iff")).status, RelinkStatus::NoRecord);
    EXPECT_EQ(Record(3).NewDirectory, "C:\\");
    EXPECT_EQ(Record(4).NewDirectory, "C:\\");
    EXPECT_EQ(log.lines.size(), 4u);
}

}  // namespace
}  // namespace tessvane
