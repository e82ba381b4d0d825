// Lines come back whole, with every line-end convention, across block
// boundaries, and including a last line without line end.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objread/obj_line_reader.h"

namespace plugins {

namespace {

struct ReadResult {
    std::vector<std::string> lines;
    std::uint64_t position = 0;
};

ReadResult ReadAll(const std::string& bytes) {
    std::FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    objread::ObjLineReader reader(file);
    ReadResult result;
    const char* line = nullptr;
    std::size_t length = 0;
    while (reader.Next(line, length)) {
        EXPECT_EQ(line[length], '\0');
        result.lines.emplace_back(line, length);
    }
    result.position = reader.Position();
    std::fclose(file);
    return result;
}

TEST(ObjLineReader, SplitsAtEveryLineEnd) {
    struct Case {
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"a\r\nb\rc\n", {"a", "b", "c"}},
        {"a\r", {"a"}},
        {"v 1 2 3\nf 1 2 3", {"v 1 2 3", "f 1 2 3"}},
        {"\n\n", {"", ""}},
        {"\r\r\n\n", {"", "", ""}},
        {"", {}},
        {"only", {"only"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        const ReadResult result = ReadAll(c.bytes);
        EXPECT_EQ(result.lines, c.lines);
        EXPECT_EQ(result.position, c.bytes.size());
    }
}

TEST(ObjLineReader, ReadsLongLinesAndLineEndsAcrossBlocks) {
    // A line far longer than any block, and a CR LF whose halves fall into
    // different blocks (blocks are 64 KiB).
    const std::string longLine(300000, 'x');
    const std::string beforeBoundary(65535, 'y');
    const std::string bytes = longLine + "\n" + "short\n";
    ReadResult result = ReadAll(bytes);
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0], longLine);
    EXPECT_EQ(result.lines[1], "short");

    result = ReadAll(beforeBoundary + "\r\nz");
    ASSERT_EQ(result.lines.size(), 2u);
    EXPECT_EQ(result.lines[0], beforeBoundary);
    EXPECT_EQ(result.lines[1], "z");
}

}  // namespace

}  // namespace plugins
