// Fast formatting of the numbers that the exporters write.
//
// Output files hold millions of coordinates, and the C library's "%lf" is the
// slowest part of writing them. These functions produce exactly the text that
// printf("%lf") and printf("%d") produce, without going through printf.
#pragma once

#include <cstddef>

namespace plugins {

// Longest text FormatFixed6 can produce: the sign, 309 integer digits of
// DBL_MAX, the point and six decimals, with room to spare.
inline constexpr std::size_t kFixed6MaxChars = 330;

// Longest text FormatInt can produce ("-2147483648").
inline constexpr std::size_t kIntMaxChars = 12;

// Writes v as printf("%lf", v) would (six decimals, no exponent, correctly
// rounded; "-0.000000" for negative zero and for negative values that round
// to zero; "inf", "-inf", "nan", "-nan" for the special values) into out,
// which must hold kFixed6MaxChars characters. No terminating zero is written.
// Returns the end of the text.
char* FormatFixed6(char* out, double v);

// Writes v as printf("%d", v) would into out, which must hold kIntMaxChars
// characters. No terminating zero is written. Returns the end of the text.
char* FormatInt(char* out, int v);

}  // namespace plugins
