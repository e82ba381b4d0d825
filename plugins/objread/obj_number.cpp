#include "objread/obj_number.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cstdio>

namespace plugins::objread {

namespace {

// The white space that scanf skips before a conversion.
inline bool IsScanSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

locale_t CLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

// scanf itself, in the "C" locale: it is the reference, including how
// far it reads into a text that only looks like a number ("1e+").
const char* SlowDouble(const char* p, double& out) {
    const locale_t c = CLocale();
    const locale_t previous =
        c != static_cast<locale_t>(nullptr) ? uselocale(c) : static_cast<locale_t>(nullptr);
    double value = 0.0;
    int consumed = 0;
    const int fields = std::sscanf(p, "%lf%n", &value, &consumed);
    if (previous != static_cast<locale_t>(nullptr)) {
        uselocale(previous);
    }
    if (fields != 1) {
        return nullptr;
    }
    out = value;
    return p + consumed;
}

}  // namespace

const char* ReadObjDouble(const char* p, const char* end, double& out) {
    while (IsScanSpace(*p)) {
        ++p;
    }
    // from_chars reads no leading '+' and no "0x" prefix; inf, nan and
    // numbers out of range are left to strtod as well, whose results
    // are the reference.
    const char* q = (*p == '-') ? p + 1 : p;
    const bool plain = (IsDigit(*q) && !(q[0] == '0' && (q[1] == 'x' || q[1] == 'X'))) ||
                       (*q == '.' && IsDigit(q[1]));
    if (plain) {
        // The number ends at the first character that cannot continue it,
        // so a range that runs on past it changes nothing.
        double value = 0.0;
        const auto result = std::from_chars(p, end, value, std::chars_format::general);
        // An 'e' right after the number is an unfinished exponent, which
        // scanf swallows; let it decide.
        if (result.ec == std::errc() && *result.ptr != 'e' && *result.ptr != 'E') {
            out = value;
            return result.ptr;
        }
    }
    return SlowDouble(p, out);
}

const char* ReadObjDouble(const char* p, double& out) {
    while (IsScanSpace(*p)) {
        ++p;
    }
    const char* end = p;
    while (*end != '\0' && !IsScanSpace(*end)) {
        ++end;
    }
    return ReadObjDouble(p, end, out);
}

const char* ReadObjInt(const char* p, std::int32_t& out) {
    while (IsScanSpace(*p)) {
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
