#include "core/local_names.h"

#include <optional>

namespace tessvane {
namespace {

// The code point at `text[i]`, advancing `i`; empty (with `i` moved by one)
// for a byte that does not start a well-formed sequence.
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
        code = lead & 0x1fu;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        code = lead & 0x0fu;
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        code = lead & 0x07u;
    } else {
        ++i;
        return std::nullopt;
    }
    if (text.size() - i < length) {
        ++i;
        return std::nullopt;
    }
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xc0u) != 0x80u) {
            ++i;
            return std::nullopt;
        }
        code = (code << 6) | (next & 0x3fu);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10ffff ||
        (code >= 0xd800 && code <= 0xdfff)) {
        ++i;
        return std::nullopt;
    }
    i += length;
    return code;
}

char32_t Capital(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if (c >= 0xe0 && c <= 0xfe && c != 0xf7) return c - 0x20;
    if (c == 0xff) return 0x178;
    // Latin Extended-A: capitals and small letters alternate, the capital
    // first, except in 0x139..0x148 and 0x179..0x17E where the small one is odd.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14a && c <= 0x177)) return c & ~char32_t{1};
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17e)) return (c & 1) ? c : c - 1;
    return c;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xc0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xe0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    } else {
        out += static_cast<char>(0xf0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3f));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        out += static_cast<char>(0x80 | (c & 0x3f));
    }
}

}  // namespace

bool IsUtf8Name(std::string_view name) {
    std::size_t i = 0;
    while (i < name.size()) {
        if (!NextCodePoint(name, i)) return false;
    }
    return true;
}

std::string FoldLocalName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    std::size_t i = 0;
    while (i < name.size()) {
        const std::size_t at = i;
        if (const std::optional<char32_t> code = NextCodePoint(name, i)) {
            AppendUtf8(out, Capital(*code));
        } else {
            // 0xFF never occurs in UTF-8, so a marked byte equals no character.
            out += '\xff';
            out += name[at];
        }
    }
    return out;
}

}  // namespace tessvane
