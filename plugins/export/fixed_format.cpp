#include "export/fixed_format.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace plugins {

char* FormatFixed6(char* out, double v) {
    // std::to_chars leaves the special values to us: printf spells them in
    // lower case and shows the sign bit of a NaN.
    if (std::isnan(v)) {
        const char* text = std::signbit(v) ? "-nan" : "nan";
        std::size_t n = std::strlen(text);
        std::memcpy(out, text, n);
        return out + n;
    }
    if (std::isinf(v)) {
        const char* text = v < 0 ? "-inf" : "inf";
        std::size_t n = std::strlen(text);
        std::memcpy(out, text, n);
        return out + n;
    }
    // Fixed format with an explicit precision is exactly rounded, as glibc's
    // printf is, so both give the same digits for every finite double.
    std::to_chars_result r =
        std::to_chars(out, out + kFixed6MaxChars, v, std::chars_format::fixed, 6);
    return r.ptr;
}

char* FormatInt(char* out, int v) {
    return std::to_chars(out, out + kIntMaxChars, v).ptr;
}

}  // namespace plugins
