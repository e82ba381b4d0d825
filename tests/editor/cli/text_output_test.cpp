// The list command's escaping: whatever bytes an object file holds, a TSV row
// stays one row and JSON stays valid.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text_output.h"

namespace tessvane::cli {
namespace {

TEST(TextOutputTest, TsvFieldsStayOnTheirRow) {
    EXPECT_EQ(TsvField("C:\\TEX"), "C:\\\\TEX");
    EXPECT_EQ(TsvField("a\tb\nc\rd"), "a\\tb\\nc\\rd");
    // A NUL would end the field for most readers.
    EXPECT_EQ(TsvField(std::string("a\0b\\0", 5)), "a\\0b\\\\0");
    EXPECT_EQ(TsvField("caf\xe9"), "caf\xe9");
}

TEST(TextOutputTest, JsonStringsAreValidWhateverTheBytes) {
    struct Case {
        std::string text;
        std::string json;
    };
    const std::vector<Case> cases = {
        {"plain", "\"plain\""},
        {"say \"hi\"\\", "\"say \\\"hi\\\"\\\\\""},
        {std::string("a\0b\x1f", 4), "\"a\\u0000b\\u001f\""},
        {"\x7f", "\"\\u007f\""},
        // Latin-1 from an object file: é as one byte.
        {"caf\xe9", "\"caf\\u00e9\""},
        // UTF-8 from a file name here: kept as it is.
        {"caf\xc3\xa9", "\"caf\xc3\xa9\""},
        // A cut UTF-8 sequence is not UTF-8: every high byte is escaped.
        {"\xc3\xa9\xe2\x82", "\"\\u00c3\\u00a9\\u00e2\\u0082\""},
        // Overlong form of '/'.
        {"\xc0\xaf", "\"\\u00c0\\u00af\""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JsonString(c.text), c.json);
    }
}

TEST(TextOutputTest, TerminalTextHidesEveryControlCharacter) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"C:\\TEX\\wood.iff", "C:\\TEX\\wood.iff"},
        // An escape sequence that would retitle the window.
        {"\x1b]0;owned\x07x", "?]0;owned?x"},
        {std::string("a\0b\tc\x7f", 6), "a?b?c?"},
        // Latin-1 letters stay; the 8-bit CSI of a non-UTF-8 text does not.
        {"caf\xe9\x9b"
         "2J",
         "caf\xe9?2J"},
        // UTF-8: é stays, U+009B (CSI) goes.
        {"caf\xc3\xa9\xc2\x9b"
         "2J",
         "caf\xc3\xa9?2J"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TerminalText(c.text), c.shown);
    }
}

}  // namespace
}  // namespace tessvane::cli
