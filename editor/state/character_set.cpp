#include "character_set.h"

#include <algorithm>
#include <cassert>

#include "counted_text.h"

namespace tessvane {

namespace {

using HighHalf = std::array<char16_t, 128>;

// Bytes 0x80..0xFF of each set that is not ISO-8859-1 (whose bytes are their own
// code points).
constexpr HighHalf kWindows1252 = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3,
    0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};

constexpr HighHalf kCp437 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

constexpr HighHalf kCp850 = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x0131, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

const HighHalf* HighHalfOf(CharacterSet set) {
    switch (set) {
        case CharacterSet::Iso8859_1:
            return nullptr;
        case CharacterSet::Windows1252:
            return &kWindows1252;
        case CharacterSet::Cp437:
            return &kCp437;
        case CharacterSet::Cp850:
            return &kCp850;
    }
    return nullptr;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Reads one UTF-8 character at `at`, advancing it; empty for a malformed,
// overlong or surrogate sequence.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2;
        c = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        c = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        c = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() - at < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) return std::nullopt;
        c = (c << 6) | (byte(at + i) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (c < kSmallest[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
        return std::nullopt;
    }
    at += length;
    return c;
}

}  // namespace

std::string_view CharacterSetName(CharacterSet set) {
    switch (set) {
        case CharacterSet::Iso8859_1:
            return "ISO-8859-1";
        case CharacterSet::Windows1252:
            return "Windows-1252";
        case CharacterSet::Cp437:
            return "CP437";
        case CharacterSet::Cp850:
            return "CP850";
    }
    return "ISO-8859-1";
}

std::optional<CharacterSet> ParseCharacterSet(std::string_view name) {
    struct Alias {
        std::string_view name;
        CharacterSet set;
    };
    static constexpr Alias kAliases[] = {
        {"ISO-8859-1", CharacterSet::Iso8859_1},
        {"LATIN1", CharacterSet::Iso8859_1},
        {"WINDOWS-1252", CharacterSet::Windows1252},
        {"CP1252", CharacterSet::Windows1252},
        {"CP437", CharacterSet::Cp437},
        {"IBM437", CharacterSet::Cp437},
        {"CP850", CharacterSet::Cp850},
        {"IBM850", CharacterSet::Cp850},
    };
    for (const Alias& alias : kAliases) {
        if (EqualUpper(alias.name, name)) return alias.set;
    }
    return std::nullopt;
}

char32_t DecodeByte(unsigned char byte, CharacterSet set) {
    const HighHalf* high = HighHalfOf(set);
    if (byte < 0x80 || high == nullptr) return byte;
    return (*high)[byte - 0x80];
}

std::optional<unsigned char> EncodeCodePoint(char32_t codePoint, CharacterSet set) {
    if (codePoint < 0x80) return static_cast<unsigned char>(codePoint);
    const HighHalf* high = HighHalfOf(set);
    if (high == nullptr) {
        if (codePoint <= 0xFF) return static_cast<unsigned char>(codePoint);
        return std::nullopt;
    }
    const auto found = std::find(high->begin(), high->end(), codePoint);
    if (found == high->end()) return std::nullopt;
    return static_cast<unsigned char>(0x80 + (found - high->begin()));
}

std::string DecodeToUtf8(std::string_view bytes, CharacterSet set) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) AppendUtf8(out, DecodeByte(static_cast<unsigned char>(b), set));
    return out;
}

EncodeResult EncodeFromUtf8(std::string_view utf8, CharacterSet set) {
    EncodeResult result;
    result.bytes.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const std::optional<char32_t> c = NextUtf8(utf8, at);
        if (!c) {
            result.refused = U'\uFFFD';
            return result;
        }
        const std::optional<unsigned char> byte = EncodeCodePoint(*c, set);
        if (!byte) {
            result.refused = *c;
            return result;
        }
        result.bytes += static_cast<char>(*byte);
    }
    return result;
}

std::string DescribeCodePoint(char32_t codePoint) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string digits;
    for (char32_t rest = codePoint; rest != 0 || digits.size() < 4; rest >>= 4) {
        digits.insert(digits.begin(), kHex[rest & 0xF]);
    }
    std::string text = "U+" + digits;
    // Control characters are named by number only.
    if (codePoint >= 0x20 && codePoint != 0x7F && !(codePoint >= 0x80 && codePoint < 0xA0)) {
        text += " '";
        AppendUtf8(text, codePoint);
        text += "'";
    }
    return text;
}

}  // namespace tessvane
