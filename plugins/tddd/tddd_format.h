// What iobread and iobwrite share of Imagine's object files (IFF FORM TDDD):
// the chunk ids they know, field sizes, the limits of the 16-bit counts, and
// the fixed-point numbers in which Imagine keeps coordinates.
//
// A file is a FORM of type TDDD holding one OBJ chunk per object hierarchy.
// Inside it, each object of the hierarchy is a DESC chunk of its own
// sub-chunks (NAME, SHP2, POSI, AXIS, PNTS, EDGE, FACE, ...), followed by the
// DESC chunks of its children and a TOBJ chunk of size 0 that closes it.
// Every number is big-endian, on the PC too; a chunk of odd size is followed
// by one pad byte.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace plugins::tddd {

using Bytes = std::vector<std::uint8_t>;

// Bytes of a chunk header: four-character id, 32-bit size.
inline constexpr std::size_t kChunkHeaderBytes = 8;
// NAME holds the object's name in 18 bytes, zero-padded (no terminator
// when all 18 are used).
inline constexpr std::size_t kNameBytes = 18;
// Shape numbers of SHP2 (and of the older SHAP): 2 is a custom object with
// points, edges and faces; 0 sphere, 5 ground and the others have none.
inline constexpr int kShapeCustom = 2;
// The low two bits of the lamp word are 0 for an object that is no lamp.
inline constexpr int kLampTypeMask = 3;
// Most points, edges or faces a PNTS, EDGE or FACE chunk can count; the
// PNT2, EDG2 and FAC2 chunks of Imagine for Windows count in 32 bits.
inline constexpr std::uint32_t kMaxShortCount = 65535;

// A FRACT is a signed 32-bit number with 16 fraction bits: value * 65536.
inline constexpr double kFractScale = 65536.0;
inline constexpr double kFractMin = -32768.0;
inline constexpr double kFractMax = 2147483647.0 / kFractScale;  // 32767.99998...

inline double FractToDouble(std::int32_t fract) {
    return static_cast<double>(fract) / kFractScale;
}

// v as the nearest FRACT. Returns false, leaving out alone, when v is not a
// finite number or lies outside what a FRACT holds.
inline bool DoubleToFract(double v, std::int32_t& out) {
    if (!std::isfinite(v)) {
        return false;
    }
    const double scaled = std::nearbyint(v * kFractScale);
    if (scaled < -2147483648.0 || scaled > 2147483647.0) {
        return false;
    }
    out = static_cast<std::int32_t>(scaled);
    return true;
}

inline std::uint16_t GetU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}

inline std::uint32_t GetU32(const std::uint8_t* p) {
    return (static_cast<std::uint32_t>(p[0]) << 24) | (static_cast<std::uint32_t>(p[1]) << 16) |
           (static_cast<std::uint32_t>(p[2]) << 8) | static_cast<std::uint32_t>(p[3]);
}

inline void PutU16(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

inline void PutU32(Bytes& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v >> 24));
    out.push_back(static_cast<std::uint8_t>(v >> 16));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
    out.push_back(static_cast<std::uint8_t>(v));
}

inline void PutId(Bytes& out, std::string_view id) {
    for (std::size_t i = 0; i < 4; ++i) {
        out.push_back(static_cast<std::uint8_t>(i < id.size() ? id[i] : ' '));
    }
}

}  // namespace plugins::tddd
