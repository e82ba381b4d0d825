#include "state/character_set.h"

#include <gtest/gtest.h>

#include <string>

namespace tessvane {
namespace {

TEST(CharacterSetTest, EveryByteOfEverySetSurvivesDecodeAndEncode) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    for (const CharacterSet set : kCharacterSets) {
        SCOPED_TRACE(std::string(CharacterSetName(set)));
        const std::string text = DecodeToUtf8(all, set);
        const EncodeResult back = EncodeFromUtf8(text, set);
        ASSERT_TRUE(back.ok());
        EXPECT_EQ(back.bytes, all);
    }
}

TEST(CharacterSetTest, BytesDecodeToTheirSetsCharacters) {
    struct Case {
        CharacterSet set;
        unsigned char byte;
        char32_t expected;
    };
    const Case cases[] = {
        {CharacterSet::Iso8859_1, 0xE9, U'\u00E9'},   {CharacterSet::Windows1252, 0xE9, U'\u00E9'},
        {CharacterSet::Windows1252, 0x80, U'\u20AC'}, {CharacterSet::Windows1252, 0x81, 0x81},
        {CharacterSet::Cp437, 0x82, U'\u00E9'},       {CharacterSet::Cp437, 0xE1, U'\u00DF'},
        {CharacterSet::Cp850, 0x9B, U'\u00F8'},       {CharacterSet::Cp850, 0xD5, U'\u0131'},
        {CharacterSet::Cp437, '\\', U'\\'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeByte(c.byte, c.set), c.expected)
            << CharacterSetName(c.set) << " byte " << int(c.byte);
    }
    EXPECT_EQ(DecodeToUtf8("Drap\xE9 jaune", CharacterSet::Iso8859_1), "Drap\u00E9 jaune");
}

TEST(CharacterSetTest, ACharacterTheSetCannotHoldIsRefusedAndNamed) {
    struct Case {
        CharacterSet set;
        std::string text;
        char32_t refused;
    };
    const Case cases[] = {
        {CharacterSet::Iso8859_1, "Price \u20AC5", U'\u20AC'},
        {CharacterSet::Cp437, "Caf\u00E9 \u0141\u00F3d\u017A", U'\u0141'},
        {CharacterSet::Windows1252, "\u0080", 0x80},       // a C1 control 1252 gives another byte
        {CharacterSet::Cp850, "bad \xC3", U'\uFFFD'},      // cut UTF-8 sequence
        {CharacterSet::Iso8859_1, "\xC0\xAF", U'\uFFFD'},  // overlong '/'
    };
    for (const Case& c : cases) {
        const EncodeResult result = EncodeFromUtf8(c.text, c.set);
        ASSERT_FALSE(result.ok()) << c.text;
        EXPECT_EQ(*result.refused, c.refused) << c.text;
    }
    EXPECT_EQ(DescribeCodePoint(U'\u20AC'), "U+20AC '\u20AC'");
    EXPECT_EQ(DescribeCodePoint(0x81), "U+0081");
}

TEST(CharacterSetTest, NamesAreReadCaseBlindWithTheCommonAliases) {
    for (const CharacterSet set : kCharacterSets) {
        EXPECT_EQ(ParseCharacterSet(CharacterSetName(set)), set);
    }
    EXPECT_EQ(ParseCharacterSet("latin1"), CharacterSet::Iso8859_1);
    EXPECT_EQ(ParseCharacterSet("cp1252"), CharacterSet::Windows1252);
    EXPECT_EQ(ParseCharacterSet("ibm850"), CharacterSet::Cp850);
    EXPECT_FALSE(ParseCharacterSet("UTF-8").has_value());
}

}  // namespace
}  // namespace tessvane
