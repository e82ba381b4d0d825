// Number reading for OBJ statements.
//
// OBJ files are read with the C library's "%lf" and "%d" meaning: leading
// white space is skipped, decimal notation with exponents, hexadecimal
// floating point, inf and nan are accepted, and a number ends at the first
// character that cannot continue it. These functions give exactly those
// values, but take the fast std::from_chars path for the plain decimal
// numbers that make up nearly every file and fall back to scanf itself (in the "C"
// locale, so a host's locale never turns the decimal point into a comma) for
// everything else.
#pragma once

#include <cstdint>

namespace plugins::objread {

namespace obj_number_detail {

// The white space that scanf skips before a conversion.
inline bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace obj_number_detail

// Reads one floating-point number from the NUL-terminated text at p, as
// sscanf's "%lf" would. On success stores the value in out and returns the
// position just after the number; when no number can be read returns null
// and leaves out unchanged.
const char* ReadObjDouble(const char* p, double& out);

// The same, for a caller that knows where the text ends: the characters from
// p up to end may be read, and end is not before the end of the number at p
// (the end of the line will do). Spares the search for the number's end.
const char* ReadObjDouble(const char* p, const char* end, double& out);

// Reads one integer from the NUL-terminated text at p, as sscanf's "%d"
// would: optional white space, an optional sign, decimal digits. On success
// stores the value in out and returns the position after the digits.
// Returns null when the text does not start with an integer, and also when
// the integer lies outside the 32-bit range (such a number cannot name a
// vertex). Inline: face lines call it for every corner.
inline const char* ReadObjInt(const char* p, std::int32_t& out) {
    using obj_number_detail::IsDigit;
    while (obj_number_detail::IsScanSpace(*p)) {
        ++p;
    }
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = (*p == '-');
        ++p;
    }
    if (!IsDigit(*p)) {
        return nullptr;
    }
    std::int64_t value = 0;
    bool overflow = false;
    while (IsDigit(*p)) {
        if (value <= INT64_C(0x7fffffff) + 1) {
            value = value * 10 + (*p - '0');
        } else {
            overflow = true;
        }
        ++p;
    }
    if (negative) {
        value = -value;
    }
    if (overflow || value > INT32_MAX || value < INT32_MIN) {
        return nullptr;
    }
    out = static_cast<std::int32_t>(value);
    return p;
}

}  // namespace plugins::objread
