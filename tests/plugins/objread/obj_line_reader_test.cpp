// Lines come back whole, with every line-end convention, across block
// boundaries, and including a last line without line end.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
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

namespace {

// A file whose reads fail once `good` bytes have been read, unless that is
// the whole file.
struct FailingSource {
    std::string bytes;
    std::size_t good;
    std::size_t at = 0;
};

ssize_t FailingRead(void* cookie, char* buffer, size_t size) {
    auto* source = static_cast<FailingSource*>(cookie);
    if (source->at == source->bytes.size()) {
        return 0;  // the end of the file
    }
    if (source->at >= source->good) {
        errno = EIO;
        return -1;
    }
    const std::size_t n = std::min(size, source->good - source->at);
    std::memcpy(buffer, source->bytes.data() + source->at, n);
    source->at += n;
    return static_cast<ssize_t>(n);
}

}  // namespace

TEST(ObjLineReader, EndsOnAReadErrorAndOnALineBeyondTheLimit) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t good;  // bytes readable before the reads fail
        std::size_t max_line;
        std::vector<std::string> lines;
        objread::ObjLineReader::End end;
    };
    const std::string big(100000, 'z');
    const Case cases[] = {
        {"whole file", "ab\ncd", 5, 16, {"ab", "cd"}, objread::ObjLineReader::End::EndOfFile},
        {"fails after a line",
         "ab\ncd\nef\n",
         4,
         16,
         {"ab"},
         objread::ObjLineReader::End::ReadError},
        {"line at the limit",
         "abcd\nxy",
         7,
         4,
         {"abcd", "xy"},
         objread::ObjLineReader::End::EndOfFile},
        {"line beyond it",
         "ab\nabcde\nxy\n",
         12,
         4,
         {"ab"},
         objread::ObjLineReader::End::LineTooLong},
        {"last line beyond it",
         "ab\nabcde",
         8,
         4,
         {"ab"},
         objread::ObjLineReader::End::LineTooLong},
        // No line end at all, as from /dev/zero: the reader stops once the
        // line passes the limit, not when memory runs out.
        {"endless line", big, big.size(), 1000, {}, objread::ObjLineReader::End::LineTooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FailingSource source{c.bytes, c.good};
        std::FILE* file = fopencookie(
            &source, "rb", cookie_io_functions_t{FailingRead, nullptr, nullptr, nullptr});
        ASSERT_NE(file, nullptr);
        objread::ObjLineReader reader(file, c.max_line);
        std::vector<std::string> lines;
        const char* line = nullptr;
        std::size_t length = 0;
        while (reader.Next(line, length)) {
            lines.emplace_back(line, length);
        }
        EXPECT_EQ(lines, c.lines);
        EXPECT_EQ(reader.Ended(), c.end);
        if (c.end == objread::ObjLineReader::End::LineTooLong) {
            EXPECT_LT(source.at, c.max_line + (std::size_t{1} << 17));
        }
        std::fclose(file);
    }
}

}  // namespace plugins
