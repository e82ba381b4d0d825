#include "framework/text_convert.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace plugins {

TEST(TextConvertTest, ReplacementsInPlace) {
    char number[] = "1,5 2,25";
    EXPECT_EQ(CommaToDot(number), 8u);
    EXPECT_STREQ(number, "1.5 2.25");
    EXPECT_EQ(SpaceToUnderscore(number), 8u);
    EXPECT_STREQ(number, "1.5_2.25");
}

TEST(TextConvertTest, SanitizeNameMakesIdentifiers) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"3d box", "Nd_box"},
        {"  \" \"  ", "tmp_obj"},
        {"", "tmp_obj"},
        {"\"Cube 1\"\t\r\n", "Cube_1"},
        {"wheel-left.001", "wheel_left_001"},
        {"\tindent", "_indent"},
        {"caf\xc3\xa9", "caf"},
        {"9", "N"},
    };
    for (auto [in, expected] : cases) {
        std::string s = in;
        SanitizeName(s);
        EXPECT_EQ(s, expected) << in;
    }
}

}  // namespace plugins
