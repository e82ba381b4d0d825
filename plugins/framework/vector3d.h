// Value types of the mesh model and the vector operations the mesh code and
// the exporters share.
//
// Header only and free of library dependencies, so a host that reads the
// compact form of a mesh can include it without linking the framework.
// The constants are fixed: results must match to the last bit wherever
// meshes are compared, merged or oriented.
#pragma once

#include <cmath>
#include <utility>

namespace plugins {

struct Vector3d {
    double x;
    double y;
    double z;
};

// A triangle by its three corners, in winding order.
struct Triangle3d {
    Vector3d P0;
    Vector3d P1;
    Vector3d P2;
};

// Four rows of four. Meshes carry an identity transform that nothing reads.
struct Matrix4d {
    double m[4][4];
};

static_assert(sizeof(Vector3d) == 24, "points are stored as three packed doubles");

inline Vector3d Add(const Vector3d& a, const Vector3d& b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}

inline Vector3d Subtract(const Vector3d& a, const Vector3d& b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}

inline Vector3d Scale(const Vector3d& a, double factor) {
    return {a.x * factor, a.y * factor, a.z * factor};
}

inline double Dot(const Vector3d& a, const Vector3d& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline Vector3d Cross(const Vector3d& a, const Vector3d& b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

inline double Length(const Vector3d& a) {
    return std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
}

// Scales a to unit length; a zero (or NaN-length) vector is returned unchanged.
inline Vector3d Normalize(const Vector3d& a) {
    const double length = Length(a);
    if (length > 0.0) {
        return Scale(a, 1.0 / length);
    }
    return a;
}

// True when every component differs by less than 1e-6. This is the tolerance
// with which the vertex table merges points.
inline bool NearlyEqual(const Vector3d& a, const Vector3d& b) {
    constexpr double kTolerance = 1e-6;
    return std::fabs(a.x - b.x) < kTolerance && std::fabs(a.y - b.y) < kTolerance &&
           std::fabs(a.z - b.z) < kTolerance;
}

// Which two coordinates an axis swap exchanges. The swap_mode setting holds
// the number of each.
enum class SwapMode : int {
    None = 0,  // nothing is exchanged
    XY = 1,    // x and y
    XZ = 2,    // x and z
    YZ = 3,    // y and z
};

// The swap a stored swap_mode number names; any number outside 1 to 3
// exchanges nothing.
constexpr SwapMode SwapModeFromSetting(int swap_mode) {
    return swap_mode >= 1 && swap_mode <= 3 ? static_cast<SwapMode>(swap_mode) : SwapMode::None;
}

// Exchanges the two coordinates of v that mode names.
inline void SwapCoordinates(Vector3d& v, SwapMode mode) {
    switch (mode) {
        case SwapMode::None:
            break;
        case SwapMode::XY:
            std::swap(v.x, v.y);
            break;
        case SwapMode::XZ:
            std::swap(v.x, v.z);
            break;
        case SwapMode::YZ:
            std::swap(v.y, v.z);
            break;
    }
}

namespace vector3d_detail {

// Coordinates up to this size, and down to its inverse, are used as they
// are: their edge vectors and cross products stay far inside the range of
// a double.
inline constexpr double kPlainRange = 1e100;

// std::fmax without its call into the maths library, which normals of every
// face of a mesh would pay: the larger of a and b, and the one that is a
// number when the other is NaN.
inline double Larger(double a, double b) {
    return (b > a || std::isnan(a)) ? b : a;
}

}  // namespace vector3d_detail

// Unit normal Normalize((P2 - P0) x (P1 - P0)). With this operand order a
// triangle wound clockwise seen from +z has a normal pointing up. A triangle
// of huge or tiny (finite) coordinates is first scaled by a power of two,
// which changes no digit of them, so that neither its edges nor their cross
// product overflow or vanish: its normal is finite, and that of a triangle
// without area is (0, 0, 0).
inline Vector3d FaceNormal(const Triangle3d& t) {
    using vector3d_detail::kPlainRange;
    using vector3d_detail::Larger;
    const double largest =
        Larger(Larger(Larger(std::fabs(t.P0.x), std::fabs(t.P0.y)),
                      Larger(std::fabs(t.P0.z), std::fabs(t.P1.x))),
               Larger(Larger(std::fabs(t.P1.y), std::fabs(t.P1.z)),
                      Larger(Larger(std::fabs(t.P2.x), std::fabs(t.P2.y)), std::fabs(t.P2.z))));
    if ((largest > kPlainRange || largest < 1.0 / kPlainRange) && largest > 0.0 &&
        std::isfinite(largest)) {
        const double unit = std::ldexp(1.0, -std::ilogb(largest));
        const Triangle3d s{Scale(t.P0, unit), Scale(t.P1, unit), Scale(t.P2, unit)};
        return Normalize(Cross(Subtract(s.P2, s.P0), Subtract(s.P1, s.P0)));
    }
    return Normalize(Cross(Subtract(t.P2, t.P0), Subtract(t.P1, t.P0)));
}

// (P0 + P1 + P2) / 3, as a product with the double nearest to 1/3 so that
// every caller rounds the same way.
inline Vector3d Centroid(const Triangle3d& t) {
    constexpr double kOneThird = 0.3333333333333333;
    return Scale(Add(Add(t.P0, t.P1), t.P2), kOneThird);
}

namespace vector3d_detail {

// Cosine of the angle between a and b, or a flag that the angle is fixed.
// Returns 0 when either vector has zero length (the caller answers 0 then).
inline int CosineOf(const Vector3d& a, const Vector3d& b, double& c) {
    const double l = Length(a) * Length(b);
    if (l == 0.0) {
        return 0;
    }
    c = Dot(a, b) / l;
    if (c <= -1.0) {
        return -1;
    }
    if (c >= 1.0) {
        return 0;
    }
    return 1;
}

}  // namespace vector3d_detail

// Angle between a and b in degrees; 0 when either has zero length.
inline double AngleDegrees(const Vector3d& a, const Vector3d& b) {
    constexpr double kDegreesPerRadian = 57.29577951308232;
    double c = 0.0;
    switch (vector3d_detail::CosineOf(a, b, c)) {
        case -1:
            return 180.0;
        case 0:
            return 0.0;
        default:
            return std::acos(c) * kDegreesPerRadian;
    }
}

// Angle between a and b in radians; 0 when either has zero length.
inline double AngleRadians(const Vector3d& a, const Vector3d& b) {
    constexpr double kPi = 3.141592653589793;
    double c = 0.0;
    switch (vector3d_detail::CosineOf(a, b, c)) {
        case -1:
            return kPi;
        case 0:
            return 0.0;
        default:
            return std::acos(c);
    }
}

}  // namespace plugins
