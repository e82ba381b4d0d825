#include "framework/line_io.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace plugins {

namespace {

// An anonymous temporary file holding bytes, positioned at its start.
struct MemoryFile {
    explicit MemoryFile(const std::string& bytes) : file(std::tmpfile()) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::rewind(file);
    }
    ~MemoryFile() { std::fclose(file); }
    std::string Contents() {
        std::fflush(file);
        std::rewind(file);
        std::string out;
        for (int c; (c = std::getc(file)) != EOF;) {
            out.push_back(static_cast<char>(c));
        }
        return out;
    }
    std::FILE* file;
};

using Lines = std::vector<std::optional<std::string>>;

Lines ReadAllWithCapacity(const std::string& bytes, std::size_t cap, std::size_t calls) {
    MemoryFile f(bytes);
    std::vector<char> buf(cap + 1, '#');
    Lines out;
    for (std::size_t i = 0; i < calls; ++i) {
        const char* r = ReadLine(buf.data(), cap, f.file);
        out.push_back(r ? std::optional<std::string>(r) : std::nullopt);
    }
    return out;
}

}  // namespace

TEST(ReadLineTest, SplitsLinesAtEveryLineEnd) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t cap;
        Lines expected;
    };
    const auto none = std::nullopt;
    const std::vector<Case> cases = {
        {"mixed line ends", "a\r\nb\rc\n", 80, {"a", "b", "c", none}},
        {"cr at the very end", "a\r", 80, {"a", none, none}},
        {"last line without line end", "a\nd", 80, {"a", "d", none}},
        {"empty lines kept", "\n\r\n\r", 80, {"", "", "", none}},
        {"long line comes in pieces", "abcdef\nz\n", 4, {"abc", "def", "", "z", none}},
        {"long last line without line end", "abcdef", 4, {"abc", "def", none}},
        {"empty file", "", 80, {none}},
        {"no room for a byte", "abc\n", 1, {none}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadAllWithCapacity(c.bytes, c.cap, c.expected.size()), c.expected) << c.name;
    }
}

TEST(ReadLineTest, WholeLineReaderKeepsLongLinesAndTheLastLine) {
    const std::string long_line(5000, 'f');
    MemoryFile f("v 1 2 3\r\n" + long_line + "\rf 1 2 3");
    std::string line;
    std::vector<std::string> got;
    while (ReadLine(line, f.file)) {
        got.push_back(line);
    }
    EXPECT_EQ(got, (std::vector<std::string>{"v 1 2 3", long_line, "f 1 2 3"}));
}

TEST(WriteTextTest, WritesEachLineEndOfTheMode) {
    const std::vector<std::pair<int, std::string>> cases = {
        {0, "x\r\ny"}, {1, "x\ny"}, {2, "x\ry"}, {3, "xy"}, {-1, "xy"}};
    for (const auto& [mode, expected] : cases) {
        MemoryFile f("");
        EXPECT_EQ(WriteText(mode, f.file, "x\n%s", "y"), 3) << mode;
        EXPECT_EQ(f.Contents(), expected) << mode;
    }
}

TEST(WriteTextTest, LongTextsAreWrittenWhole) {
    // Texts beyond the 1024 bytes of a formatting buffer must neither be cut
    // nor overrun anything.
    std::string body;
    for (int i = 0; i < 400; ++i) {
        body += "v 1.000000 2.000000 3.000000\n";
    }
    MemoryFile f("");
    EXPECT_EQ(WriteText(0, f.file, "%s# end\n", body.c_str()), static_cast<int>(body.size() + 6));

    std::string expected;
    for (char c : body + "# end\n") {
        expected += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(f.Contents(), expected);
}

}  // namespace plugins
