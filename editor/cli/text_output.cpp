#include "text_output.h"

#include <cstdio>

#include "core/local_names.h"

namespace tessvane::cli {

std::string TsvField(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string JsonString(std::string_view text) {
    const bool utf8 = IsUtf8Name(text);
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"') {
            out += "\\\"";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (byte >= 0x80 && utf8) {
            out += c;
        } else if (byte < 0x20 || byte >= 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(byte));
            out += escaped;
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string TerminalText(std::string_view text) {
    const bool utf8 = IsUtf8Name(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x20 || byte == 0x7f) {
            out += '?';
        } else if (utf8 && byte == 0xc2 && i + 1 < text.size() &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
            // U+0080..U+009F, the 8-bit controls (CSI, OSC, ...).
            out += '?';
            ++i;
        } else if (!utf8 && byte >= 0x80 && byte <= 0x9f) {
            out += '?';
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace tessvane::cli
