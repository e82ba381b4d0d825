#include "export/fixed_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace plugins {

namespace {

// Below this, a * 1e6 keeps at least half a unit of precision in its last
// place, which the rounding below relies on. The whole part of such a value
// fits 32 bits.
constexpr double kFastLimit = 4.0e9;

// "00" to "99", the digits of each number below 100 in pairs.
constexpr char kDigitPairs[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the two digits of n < 100.
inline void WritePair(char* p, std::uint32_t n) {
    std::memcpy(p, kDigitPairs + 2 * n, 2);
}

// Writes n < 10^6 as exactly six digits, with leading zeros.
inline void WriteSixDigits(char* p, std::uint32_t n) {
    const std::uint32_t high = n / 10000;
    const std::uint32_t low = n % 10000;
    WritePair(p, high);
    WritePair(p + 2, low / 100);
    WritePair(p + 4, low % 100);
}

// Writes n in decimal without leading zeros ("0" for 0). Returns the end.
inline char* WriteUnsigned(char* p, std::uint32_t n) {
    int digits = 1;
    for (std::uint32_t bound = 10; digits < 10 && n >= bound; bound *= 10) {
        ++digits;
    }
    char* end = p + digits;
    char* q = end;
    while (n >= 100) {
        q -= 2;
        WritePair(q, n % 100);
        n /= 100;
    }
    if (n >= 10) {
        q -= 2;
        WritePair(q, n);
    } else {
        *--q = static_cast<char>('0' + n);
    }
    return end;
}

// The magnitude a (0 <= a < kFastLimit) rounded to millionths as printf
// rounds: the exact binary value, to the nearest, ties to even. a * 1e6 is
// taken exactly as hi + lo (Dekker's product: a split into halves of 26
// bits, and 1e6 needs only 20, so every partial product is exact), and the
// fraction of hi + lo is compared with one half exactly.
inline std::uint64_t Millionths(double a) {
    constexpr double kMillion = 1e6;
    constexpr double kSplitter = 134217729.0;  // 2^27 + 1
    const double hi = a * kMillion;
    if (hi < 0.25) {
        return 0;  // the exact product lies below one half
    }
    const double c = kSplitter * a;
    const double aHigh = c - (c - a);
    const double aLow = a - aHigh;
    const double lo = (aHigh * kMillion - hi) + aLow * kMillion;
    // 0.25 <= hi < 2^52: the conversion truncates, which for a positive
    // value is the floor, and both the whole part and the fraction are
    // exact, as is the fraction's distance to one half.
    const auto n = static_cast<std::uint64_t>(static_cast<std::int64_t>(hi));
    const double whole = static_cast<double>(n);
    const double fromHalf = (hi - whole) - 0.5;
    // Up when the exact fraction lies above one half, or on it with n odd;
    // without branches, which the digits of arbitrary values would
    // mispredict half of the time.
    const bool above = lo > -fromHalf;
    const bool tie = lo == -fromHalf;
    return n + static_cast<std::uint64_t>(above | (tie & (n % 2 == 1)));
}

// Everything the fast path leaves: NaN, the infinities and magnitudes of
// kFastLimit and above.
char* FormatFixed6Rare(char* out, double v) {
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

}  // namespace

char* FormatFixed6(char* out, double v) {
    const double a = std::fabs(v);
    if (!(a < kFastLimit)) {
        return FormatFixed6Rare(out, v);
    }
    const std::uint64_t units = Millionths(a);
    // The sign, also for values that round to zero, as printf does; written
    // always and kept only for negative values, without a branch.
    *out = '-';
    char* p = out + static_cast<int>(std::signbit(v));
    // units / 10^6 is at most kFastLimit, below 2^32.
    p = WriteUnsigned(p, static_cast<std::uint32_t>(units / 1000000));
    *p++ = '.';
    WriteSixDigits(p, static_cast<std::uint32_t>(units % 1000000));
    return p + 6;
}

char* FormatInt(char* out, int v) {
    char* p = out;
    auto magnitude = static_cast<std::uint32_t>(v);
    if (v < 0) {
        *p++ = '-';
        magnitude = 0u - magnitude;
    }
    return WriteUnsigned(p, magnitude);
}

}  // namespace plugins
