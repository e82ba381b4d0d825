#include "objread/obj_number.h"

#include <locale.h>
#include <charconv>
#include <clocale>
#include <cstdint>
#include <cstdio>

namespace plugins::objread {

namespace {

using obj_number_detail::IsDigit;
using obj_number_detail::IsScanSpace;

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

// Powers of ten that a double holds exactly.
constexpr double kExactPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The numbers nearly every file is made of: an optional '-', digits, and
// optionally a point and more digits, no exponent. When their digits form
// an integer m of at most 2^53 and k of them follow the point, m and 10^k
// are doubles exactly and m / 10^k is one correctly rounded division: the
// double nearest to the decimal value, which is what strtod and from_chars
// give as well. Returns the end of the number, or null when the text is
// not of that form (then nothing is stored).
const char* ReadShortDecimal(const char* p, const char* end, double& out) {
    const bool negative = p < end && *p == '-';
    const char* q = negative ? p + 1 : p;
    std::uint64_t m = 0;
    int digits = 0;
    while (q < end && IsDigit(*q)) {
        m = m * 10 + static_cast<std::uint64_t>(*q - '0');
        ++digits;
        ++q;
        if (digits > 18) {
            return nullptr;  // m might no longer fit; from_chars decides
        }
    }
    int fraction = 0;
    if (q < end && *q == '.') {
        ++q;
        while (q < end && IsDigit(*q)) {
            m = m * 10 + static_cast<std::uint64_t>(*q - '0');
            ++digits;
            ++fraction;
            ++q;
            if (digits > 18) {
                return nullptr;
            }
        }
    }
    // An exponent, or a text that only starts like one, is left to the
    // general path.
    if (digits == 0 || m > (std::uint64_t{1} << 53) || (q < end && (*q == 'e' || *q == 'E'))) {
        return nullptr;
    }
    const double value = static_cast<double>(m) / kExactPowersOfTen[fraction];
    out = negative ? -value : value;
    return q;
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
        if (const char* after = ReadShortDecimal(p, end, out)) {
            return after;
        }
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

}  // namespace plugins::objread
