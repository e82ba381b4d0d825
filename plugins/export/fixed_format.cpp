#include "export/fixed_format.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace plugins {

namespace {

// Below this, a * 1e6 keeps at least half a unit of precision in its last
// place, which the rounding below relies on.
constexpr double kFastLimit = 4.0e9;

// The magnitude a (0 <= a < kFastLimit) rounded to millionths as printf
// rounds: the exact binary value, to the nearest, ties to even. a * 1e6 is
// taken exactly as hi + lo (Dekker's product: a split into halves of 26
// bits, and 1e6 needs only 20, so every partial product is exact), and the
// fraction of hi + lo is compared with one half exactly.
std::uint64_t Millionths(double a) {
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
    const double whole = std::floor(hi);
    // hi < 2^52 keeps both exact: the fraction, and its distance to one half.
    const double fromHalf = (hi - whole) - 0.5;
    const auto n = static_cast<std::uint64_t>(whole);
    if (lo > -fromHalf) {
        return n + 1;
    }
    if (lo < -fromHalf) {
        return n;
    }
    return n % 2 == 0 ? n : n + 1;
}

}  // namespace

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
    const double a = std::fabs(v);
    if (a < kFastLimit) {
        const std::uint64_t units = Millionths(a);
        char* p = out;
        if (std::signbit(v)) {
            *p++ = '-';  // also for values that round to zero, as printf does
        }
        p = std::to_chars(p, out + kFixed6MaxChars, units / 1000000).ptr;
        *p++ = '.';
        std::uint32_t fraction = static_cast<std::uint32_t>(units % 1000000);
        for (int i = 5; i >= 0; --i) {
            p[i] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        return p + 6;
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
