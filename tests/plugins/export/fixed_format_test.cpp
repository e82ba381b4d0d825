#include "export/fixed_format.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace plugins {

namespace {

std::string Fast(double v) {
    char buf[kFixed6MaxChars];
    return std::string(buf, FormatFixed6(buf, v));
}

std::string Printf(double v) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "%lf", v);
    return buf;
}

TEST(FormatFixed6, MatchesPrintfOnChosenValues) {
    const std::vector<double> values = {
        0.0,
        -0.0,
        1.0,
        -2.5,
        0.5,
        1e-7,
        -1e-7,
        4e-7,
        -4e-7,
        5e-7,
        -5e-7,
        6e-7,
        0.0000005,
        0.0000015,
        0.0000025,
        0.1234565,
        0.1234575,
        2.0000005,
        1.9999995,
        0.1,
        0.2,
        0.3,
        1.0 / 3.0,
        -2.0 / 3.0,
        123456.7890125,
        999999.9999995,
        1e15,
        1e16 + 1,
        9007199254740993.0,
        1e22,
        1e23,
        1e100,
        -1e300,
        DBL_MAX,
        -DBL_MAX,
        DBL_MIN,
        -DBL_MIN,
        DBL_TRUE_MIN,
        -DBL_TRUE_MIN,
        std::numeric_limits<double>::infinity(),
        -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        -std::numeric_limits<double>::quiet_NaN(),
    };
    for (double v : values) {
        EXPECT_EQ(Fast(v), Printf(v)) << "printf gives " << Printf(v);
    }
}

TEST(FormatFixed6, MatchesPrintfOnRandomValuesOfEveryMagnitude) {
    std::mt19937_64 rng(20261209);
    std::uniform_int_distribution<int> exponent(-30, 40);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 200000; ++i) {
        double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        ASSERT_EQ(Fast(v), Printf(v));
    }
    // Halfway cases at the sixth decimal: k + 0.5 millionths, which decide
    // the rounding direction by the binary value's exact digits.
    for (int k = -200000; k <= 200000; ++k) {
        double v = (k + 0.5) / 1e6;
        ASSERT_EQ(Fast(v), Printf(v));
    }
    // Arbitrary bit patterns reach subnormals, huge values and NaN payloads.
    for (int i = 0; i < 50000; ++i) {
        std::uint64_t bits = rng();
        double v;
        static_assert(sizeof v == sizeof bits);
        std::memcpy(&v, &bits, sizeof v);
        ASSERT_EQ(Fast(v), Printf(v));
    }
}

// Exact binary fractions put the sixth decimal exactly on a half (1/128 is
// 0.0078125) or next to one; coordinates written with six decimals are the
// bulk of real output; and the magnitudes around 4e9 and 2.5e-7 are where
// the formatter changes its way of rounding.
TEST(FormatFixed6, MatchesPrintfOnTiesNeighboursAndSixDecimalValues) {
    std::mt19937_64 rng(7);
    std::vector<double> values;
    for (int m = 1; m <= 40; ++m) {
        for (int i = 0; i < 400; ++i) {
            const double k = static_cast<double>(rng() % (std::uint64_t{1} << 40) | 1);
            values.push_back(std::ldexp(k, -m));
        }
    }
    for (int i = 0; i < 100000; ++i) {
        values.push_back(static_cast<double>(static_cast<std::int64_t>(rng() % 200000000000ull) -
                                             100000000000ll) /
                         1e6);
    }
    for (double edge : {4.0e9, 2.5e-7, 5e-7, 4.5e15 / 1e6, 1e-6}) {
        double below = edge;
        double above = edge;
        for (int i = 0; i < 50; ++i) {
            values.push_back(below);
            values.push_back(above);
            below = std::nextafter(below, 0.0);
            above = std::nextafter(above, HUGE_VAL);
        }
    }
    for (double v : values) {
        for (double x : {v, -v, std::nextafter(v, 0.0), std::nextafter(v, HUGE_VAL)}) {
            ASSERT_EQ(Fast(x), Printf(x)) << "printf gives " << Printf(x);
        }
    }
}

TEST(FormatInt, MatchesPrintf) {
    // Every length of number, on both sides of each power of ten, and
    // random values.
    std::vector<int> values = {0, 2147483647, -2147483647 - 1, 123456789};
    for (long long power = 1; power <= 1000000000; power *= 10) {
        for (long long v : {power - 1, power, power + 1}) {
            values.push_back(static_cast<int>(v));
            values.push_back(static_cast<int>(-v));
        }
    }
    std::mt19937 rng(12);
    for (int i = 0; i < 100000; ++i) {
        values.push_back(static_cast<int>(rng()) >> (rng() % 31));
    }
    for (int v : values) {
        char buf[kIntMaxChars];
        char ref[32];
        std::snprintf(ref, sizeof ref, "%d", v);
        ASSERT_EQ(std::string(buf, FormatInt(buf, v)), ref);
    }
}

}  // namespace

}  // namespace plugins
