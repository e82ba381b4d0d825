// A deterministic generator of large WaveFront OBJ files for benchmarks.
#pragma once

#include <cstdint>
#include <string>

namespace objbench {

struct GeneratedObj {
    std::uint64_t bytes = 0;
    std::uint64_t vertices = 0;   // v lines
    std::uint64_t faces = 0;      // f lines
    std::uint64_t triangles = 0;  // triangles the faces make
};

// Writes an OBJ file of about `triangles` triangles to path: several
// sections, each opened by o, g, usemtl and s lines, holding a planar grid
// of shared vertices (cells as quads or as two triangles, corners written
// as v, v/t, v//n and v/t/n) and loose convex and concave polygons of up to
// ten corners, with vn and vt lines and comments in between. The same
// arguments always give the same bytes.
GeneratedObj GenerateObj(const std::string& path, std::uint64_t triangles);

}  // namespace objbench
