#include "framework/text_convert.h"

namespace plugins {

namespace {

std::size_t ReplaceAll(char* s, char from, char to) {
    std::size_t n = 0;
    for (; s[n] != '\0'; ++n) {
        if (s[n] == from) {
            s[n] = to;
        }
    }
    return n;
}

// Character classes in plain ASCII, independent of the C locale.
bool IsAsciiDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
bool IsAsciiAlnum(unsigned char c) {
    return IsAsciiDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiSpace(unsigned char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsAsciiPrint(unsigned char c) {
    return c >= 0x20 && c < 0x7F;
}

}  // namespace

std::size_t CommaToDot(char* s) {
    return ReplaceAll(s, ',', '.');
}

std::size_t SpaceToUnderscore(char* s) {
    return ReplaceAll(s, ' ', '_');
}

void SanitizeName(std::string& s) {
    std::size_t begin = 0;
    while (begin < s.size() && (s[begin] == ' ' || s[begin] == '"')) {
        ++begin;
    }
    std::size_t end = s.size();
    while (end > begin) {
        const auto c = static_cast<unsigned char>(s[end - 1]);
        if (IsAsciiPrint(c) && !IsAsciiSpace(c) && c != '"') {
            break;
        }
        --end;
    }
    s = s.substr(begin, end - begin);
    if (s.empty()) {
        s = "tmp_obj";
        return;
    }
    if (IsAsciiDigit(static_cast<unsigned char>(s[0]))) {
        s[0] = 'N';
    }
    for (char& c : s) {
        if (!IsAsciiAlnum(static_cast<unsigned char>(c))) {
            c = '_';
        }
    }
}

}  // namespace plugins
