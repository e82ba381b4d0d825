#include "export/chunked_text.h"

#include <cstdio>
#include <new>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace plugins {

namespace {

using pluginsupport::ReadFileBytes;
using pluginsupport::TempDir;

// Item i as a line: its number, a value that needs rounding, and a line end;
// every seventh item is longer than the others, so chunks differ in size.
void PutItem(TextBlock& block, std::size_t i) {
    char* p = block.Reserve(2 * kIntMaxChars + kFixed6MaxChars + 8);
    p = FormatInt(p, static_cast<int>(i));
    *p++ = ' ';
    p = FormatFixed6(p, static_cast<double>(i) / 7.0);
    if (i % 7 == 0) {
        p = TextBlock::Put(p, " seventh");
    }
    block.Commit(block.PutLineEnd(p));
}

std::string Expected(std::size_t count, std::string_view lineEnd) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) {
        char buf[64];
        std::snprintf(buf, sizeof buf, "%d %lf%s", static_cast<int>(i),
                      static_cast<double>(i) / 7.0, i % 7 == 0 ? " seventh" : "");
        text += buf;
        text += lineEnd;
    }
    return text;
}

// The file holds every item once, in order, between the text written
// before and after the run, whichever thread formatted which chunk; the
// announcer sees each item once, in order.
TEST(WriteChunked, WritesEveryItemInOrderOnOneThreadOrTwo) {
    const struct {
        std::size_t count;
        std::size_t chunkItems;
    } cases[] = {
        {0, 4}, {1, 4}, {4, 4}, {5, 4}, {1000, 1}, {12345, 100}, {3000, 0},
    };
    for (const auto& c : cases) {
        for (bool useThread : {false, true}) {
            for (LineDelimiter delimiter : {LineDelimiter::CrLf, LineDelimiter::Lf}) {
                TempDir dir;
                const std::string path = dir.File("out.txt");
                TextOutput out(delimiter);
                ASSERT_TRUE(out.Open(path));
                out.Text("before\n");
                std::vector<std::size_t> announced;
                WriteChunked(
                    out, c.count, c.chunkItems,
                    [](TextBlock& block, std::size_t begin, std::size_t end) {
                        for (std::size_t i = begin; i < end; ++i) {
                            PutItem(block, i);
                        }
                    },
                    [&announced](std::size_t begin, std::size_t end) {
                        for (std::size_t i = begin; i < end; ++i) {
                            announced.push_back(i);
                        }
                    },
                    useThread);
                out.Text("after\n");
                ASSERT_TRUE(out.Commit());

                const std::string_view lineEnd = LineEndBytes(delimiter);
                const std::string expected = "before" + std::string(lineEnd) +
                                             Expected(c.count, lineEnd) + "after" +
                                             std::string(lineEnd);
                EXPECT_EQ(ReadFileBytes(path), expected)
                    << c.count << " items, " << c.chunkItems << " a chunk, thread " << useThread;
                ASSERT_EQ(announced.size(), c.count);
                for (std::size_t i = 0; i < announced.size(); ++i) {
                    ASSERT_EQ(announced[i], i);
                }
            }
        }
    }
}

// An exception on the calling thread (out of memory while reporting
// progress) leaves the run without waiting forever for the other thread;
// the chunks appended before it stay, and a later run on the same file
// starts from empty blocks.
TEST(WriteChunked, AnExceptionOnTheCallingThreadEndsTheRun) {
    const auto format = [](TextBlock& block, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) {
            PutItem(block, i);
        }
    };
    for (bool useThread : {false, true}) {
        TempDir dir;
        const std::string path = dir.File("out.txt");
        TextOutput out(LineDelimiter::Lf);
        ASSERT_TRUE(out.Open(path));
        std::size_t announced = 0;
        EXPECT_THROW(WriteChunked(
                         out, 1000, 10, format,
                         [&announced](std::size_t, std::size_t) {
                             if (++announced == 3) {
                                 throw std::bad_alloc();
                             }
                         },
                         useThread),
                     std::bad_alloc)
            << "thread " << useThread;
        EXPECT_EQ(announced, 3u);

        WriteChunked(
            out, 25, 10, format, [](std::size_t, std::size_t) {}, useThread);
        ASSERT_TRUE(out.Commit());
        EXPECT_EQ(ReadFileBytes(path), Expected(20, "\n") + Expected(25, "\n"))
            << "thread " << useThread;
    }
}

TEST(TextBlock, KeepsItsTextWhileGrowingAndAfterClear) {
    TextBlock block(LineDelimiter::Cr);
    std::string expected;
    for (int i = 0; i < 100000; ++i) {
        char* p = block.Reserve(kIntMaxChars + 2);
        block.Commit(block.PutLineEnd(FormatInt(p, i)));
        expected += std::to_string(i) + "\r";
    }
    EXPECT_EQ(block.View(), expected);
    block.Clear();
    EXPECT_TRUE(block.View().empty());
    block.Commit(TextBlock::Put(block.Reserve(3), "abc"));
    EXPECT_EQ(block.View(), "abc");
}

}  // namespace

}  // namespace plugins
