// The fast number readers must agree with the C library's scanf, which is
// what OBJ files are written for.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objread/obj_number.h"

namespace plugins {

namespace {

// Both forms: the one that finds the number's end itself, and the one given
// the end of the whole text, which must read no further than the first.
TEST(ReadObjDouble, AgreesWithScanf) {
    const char* texts[] = {
        "1",
        "-2.5",
        "+3.25",
        ".5",
        "-.5e3",
        "  \t7.125",
        "1e10",
        "1E-5",
        "6.02e23",
        "0x1p3",
        "-0X1.8p1",
        "inf",
        "-Infinity",
        "nan",
        "1e400",
        "-1e400",
        "4.9e-324",
        "1e-400",
        "1.5abc",
        "12/3",
        "0.1 0.2",
        "1e",
        "1e+",
        "1ex",
        "1e+x 2",
        "1e 2",
        "0x",
        "0xg",
        "infx",
        "in",
        "na",
        "-",
        "+",
        ".",
        "abc",
        "",
        "   ",
        "0",
        "-0",
        "5.",
        "1.e3",
        "-0.0e-0",
        "1e5e",
        "00012.5000",
        "3.14159265358979323846264338327950288",
        "123456789012345678901234567890",
        "1.7976931348623157e308",
        "2.2250738585072014e-308",
        "1.000000 2.000000 3.000000",
        "-0.123456\t7",
        "2.5e3e4 1",
        "9 e",
    };
    for (const char* text : texts) {
        SCOPED_TRACE(std::string("text: '") + text + "'");
        double expected = -999.0;
        int consumed = 0;
        std::string format = "%lf%n";
        const int fields = std::sscanf(text, format.c_str(), &expected, &consumed);
        for (bool bounded : {false, true}) {
            SCOPED_TRACE(bounded ? "given the end" : "finding the end");
            double got = -999.0;
            const char* end = bounded ? objread::ReadObjDouble(text, text + std::strlen(text), got)
                                      : objread::ReadObjDouble(text, got);
            if (fields != 1) {
                EXPECT_EQ(end, nullptr);
                EXPECT_EQ(got, -999.0);
                continue;
            }
            ASSERT_NE(end, nullptr);
            EXPECT_EQ(end - text, consumed);
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(got));
            } else {
                EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << got << " vs " << expected;
            }
        }
    }
}

// The plain decimals files are made of, of every length around the limits
// of exact arithmetic: as many digits as a double holds exactly and more,
// integers around 2^53, long fractions; each read must be scanf's double to
// the last bit and end where scanf ends.
TEST(ReadObjDouble, AgreesWithScanfOnPlainDecimals) {
    std::mt19937_64 rng(11);
    std::vector<std::string> texts = {"9007199254740992",        "9007199254740993",
                                      "9007199254740991.5",      "900719925474099.25",
                                      "0.000000000000000000001", "123456789012345678",
                                      "1234567890123456789",     "-0.000000",
                                      "0.3000000000000000444",   "2.2250738585072011e-308"};
    for (int i = 0; i < 200000; ++i) {
        const int whole = static_cast<int>(rng() % 20);
        const int fraction = static_cast<int>(rng() % 24);
        std::string text = rng() % 2 == 0 ? "-" : "";
        for (int d = 0; d < whole; ++d) {
            text += static_cast<char>('0' + rng() % 10);
        }
        if (fraction > 0 || whole == 0) {
            text += '.';
            for (int d = 0; d < std::max(fraction, 1); ++d) {
                text += static_cast<char>('0' + rng() % 10);
            }
        }
        text += rng() % 2 == 0 ? " 1" : "/";
        texts.push_back(text);
    }
    for (const std::string& text : texts) {
        double expected = 0.0;
        int consumed = 0;
        ASSERT_EQ(std::sscanf(text.c_str(), "%lf%n", &expected, &consumed), 1) << text;
        double got = 0.0;
        const char* end = objread::ReadObjDouble(text.c_str(), text.c_str() + text.size(), got);
        ASSERT_NE(end, nullptr) << text;
        ASSERT_EQ(end - text.c_str(), consumed) << text;
        ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << text << ": " << got;
    }
}

TEST(ReadObjInt, ReadsLeadingIntegerWithinRange) {
    struct Case {
        const char* text;
        bool ok;
        int value;
        int consumed;
    };
    const Case cases[] = {
        {"12", true, 12, 2},
        {"-3/4/5", true, -3, 2},
        {"+7//2", true, 7, 2},
        {"\t9", true, 9, 2},
        {"2147483647", true, 2147483647, 10},
        {"-2147483648", true, -2147483647 - 1, 11},
        {"2147483648", false, 0, 0},
        {"99999999999999999999", false, 0, 0},
        {"/3", false, 0, 0},
        {"x", false, 0, 0},
        {"", false, 0, 0},
        {"-", false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        std::int32_t value = 0;
        const char* end = objread::ReadObjInt(c.text, value);
        if (!c.ok) {
            EXPECT_EQ(end, nullptr);
            continue;
        }
        ASSERT_NE(end, nullptr);
        EXPECT_EQ(value, c.value);
        EXPECT_EQ(end - c.text, c.consumed);
    }
}

}  // namespace

}  // namespace plugins
