// Ear clipping of the polygons of OBJ face lines.
//
// A polygon is an array of corner numbers (0-based indices into the file's
// vertex positions). Each TriangulateStep cuts at most one triangle off the
// polygon, taking the first corner in array order whose ear is not
// degenerate, lies inside the polygon and contains no other corner. The
// tests work for polygons in any orientation in space.
#pragma once

#include <cstdint>

#include "framework/vector3d.h"

namespace plugins::objread {

// Cuts one triangle off the polygon corners[0..count). On success stores its
// three corner numbers in triangle (in polygon order), shrinks the polygon in
// place (count is updated) and returns true. Returns false when no further
// triangle can be cut: fewer than three corners, a last triangle that is
// degenerate (the polygon then ends, count becomes 0), or no qualifying ear.
// points must hold every position that a corner number names.
bool TriangulateStep(std::uint32_t* corners, std::uint32_t& count, const Vector3d* points,
                     std::uint32_t triangle[3]);

// Half a turn, the dividing line of PointInPolygon.
inline constexpr double kHalfTurn = 3.141592653589793;

// The length of the vector sum that PointInPolygon compares with half a
// turn, computed in exactly its way.
double PolygonAngleSum(const std::uint32_t* corners, const Vector3d* points, std::uint32_t count,
                       const Vector3d& x);

// acos(c) for -1 < c < 1 within kArcCosineError of std::acos, much faster.
double ApproximateArcCosine(double c);
inline constexpr double kArcCosineError = 1e-7;

// True when x lies inside the polygon corners[0..count) of points: the
// angles that the polygon's edges subtend at x, summed as vectors along the
// edges' normals, exceed half a turn (a full turn inside, nearly zero
// outside). Gives exactly the answer of comparing PolygonAngleSum with half
// a turn, but computes that sum only when the answer is close.
bool PointInPolygon(const std::uint32_t* corners, const Vector3d* points, std::uint32_t count,
                    const Vector3d& x);

// True when the triangle's area is (nearly) zero: |(a - b) x (a - c)| < 1e-8.
bool IsDegenerate(const Vector3d& a, const Vector3d& b, const Vector3d& c);

}  // namespace plugins::objread
