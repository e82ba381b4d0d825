// Whole polygons cut into triangles.
//
// The rule is TriangulateStep's, repeated until it yields no triangle: each
// cut takes the first corner in array order whose ear is not degenerate, has
// its centroid inside the polygon and holds no other corner. Done literally,
// every cut tests every candidate against the whole polygon, a cube of the
// corner count in all: a face of 100,000 corners would take most of an hour.
//
// Large polygons that lie flat in one plane (as the big faces of real files
// do: caps, floors, outlines) therefore take a search that gives the same
// triangles in the same order at a fraction of the cost. It keeps, per
// candidate ear, what it found out about it, and after a cut looks again only
// at what the cut can have changed: the two ears next to it, the ears that
// the removed corner blocked, and the ears whose centroid lies in or near the
// triangle cut off (only there does the polygon's inside change). Corners and
// edges are kept in a grid over the plane, so a test looks only at what is
// near it, and whether a centroid lies inside is answered by counting the
// edges a ray from it crosses. Each such answer is used only where it is
// certain to agree with the angle sum of PointInPolygon, which the literal
// rule computes in space: the centroid must lie clear of every edge, and the
// bound on how far the heights off the plane (the centroid's rounding, and in
// a plane other than one of constant x, y or z the corners' own) can move the
// sum must stay far below the margin. Otherwise, and for answers of the angle
// sum itself that lie close to half a turn, the angle sum is computed as the
// literal rule computes it, at the moment the rule would. Cuts far from a
// centroid still move its sum a little; when they could have moved any sum
// by a set budget in all, every answer kept is sought again.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "framework/vector3d.h"

namespace plugins::objread {

using CornerTriangle = std::array<std::uint32_t, 3>;

// Cuts the polygon corners[0..count) of points into triangles: exactly the
// triangles, in the same order and corner order, that repeating
// TriangulateStep on a copy of the corners yields until it yields none.
// points must hold every position that a corner number names.
void Triangulate(const std::uint32_t* corners, std::uint32_t count, const Vector3d* points,
                 std::vector<CornerTriangle>& triangles);

// The kept-state search on its own, for polygons of any size. Returns false,
// with triangles empty, when the polygon does not lie flat in one plane (its
// corners within 1e-7 of its extent of it), has no area to give the plane
// by, or lies so far from the origin for its size that the search could not
// be sure of its answers; TriangulateStep decides then.
bool TriangulateInPlane(const std::uint32_t* corners, std::uint32_t count, const Vector3d* points,
                        std::vector<CornerTriangle>& triangles);

}  // namespace plugins::objread
