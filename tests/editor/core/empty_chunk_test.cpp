// Chunks that hold no bytes at all (found by fuzzing the reader): a NAME or
// path chunk of size 0, and a chunk whose header is the last thing in the
// file. They read, write and read back as the same empty chunks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/writer.h"
#include "core_fixture.h"

namespace tessvane {
namespace {

using testing::Bytes;
using testing::IffBuilder;
namespace chunks = testing::chunks;

struct EmptyCase {
    const char* name;
    Bytes file;
};

std::vector<std::string> Layout(const ObjectFile& file) {
    std::vector<std::string> out;
    for (const ChunkNode& node : file.Chunks) {
        out.push_back(std::string(node.Id.View()) + ":" + std::to_string(node.Size) + ":" +
                      std::to_string(node.HasData() ? node.Data->size() : 0));
    }
    return out;
}

class EmptyChunkTest : public CoreTest {};

TEST_F(EmptyChunkTest, EmptyChunksReadWriteAndReadBackUnchanged) {
    Bytes cut = IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("C:\\TEX\\a.iff")).Build();
    testing::PutText(cut, "TXT1");
    testing::PutU32(cut, 200);  // the header is all there is of this chunk
    const std::vector<EmptyCase> cases = {
        {"empty NAME", IffBuilder("TDDD")
                           .Chunk("NAME", {})
                           .Chunk("TXT1", chunks::Txt1("C:\\TEX\\a.iff"))
                           .Build()},
        {"empty path chunk",
         IffBuilder("TDDD").Chunk("TXT1", chunks::Txt1("a.iff")).Chunk("BRS1", {}).Build()},
        {"header at the end of the file", cut},
    };
    for (const EmptyCase& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(Load(c.file, false), ReadStatus::Ok);
        ASSERT_EQ(context.file.Paths.Count(), 1u);
        const std::string out = temp.File("out.iob");
        ASSERT_EQ(WriteObjectFile(context, out, false), WriteStatus::Written);
        // The held chunks now carry what was written.
        const std::vector<std::string> before = Layout(context.file);
        ASSERT_EQ(ReadObjectFile(context, out, false), ReadStatus::Ok);
        EXPECT_EQ(Layout(context.file), before);
    }
}

}  // namespace
}  // namespace tessvane
