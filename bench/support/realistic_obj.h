// A deterministic generator of OBJ files shaped like the ones modelling
// programs export, for the benchmarks and for the tests that pin the
// converters' results.
#pragma once

#include <cstdint>
#include <string>

#include "obj_generator.h"

namespace objbench {

// What a realistic file holds besides the totals of GeneratedObj.
struct RealisticObj {
    GeneratedObj totals;
    std::uint64_t lines = 0;
    std::uint64_t polygons = 0;  // faces of 5 to 12 corners
    std::uint64_t concave = 0;   // of which concave
    std::uint64_t groups = 0;    // g lines
};

// Writes an OBJ file of about `triangles` triangles (at least a few
// hundred) to path and returns what it holds; throws std::runtime_error
// when the file cannot be written.
//
// The file has 8 objects (o lines), each with 2 materials (usemtl) that
// alternate over many groups (g lines, a new one every 1,500 faces or so),
// and smoothing groups (s 1 .. s 4, now and then s off). Each object is a
// bumpy torus of shared vertices with seam vertices written twice, as
// exporters do, tessellated into quads and triangle pairs with runs of cells
// merged into polygons of 5 to 12 corners and L-shaped concave octagons, a
// few faces wound the wrong way; and a scatter of closed prisms whose caps
// are convex polygons or concave stars of 5 to 12 corners. Coordinates have
// six decimals; every vertex has a vt and a vn line; corners are written as
// v/vt/vn, except in the last two objects (v//vn and plain v).
//
// The text depends on integer arithmetic and the four basic floating-point
// operations only, so the same arguments give the same bytes on every
// machine and with every compiler setting.
RealisticObj GenerateRealisticObj(const std::string& path, std::uint64_t triangles,
                                  std::uint64_t seed = 20260611);

}  // namespace objbench
