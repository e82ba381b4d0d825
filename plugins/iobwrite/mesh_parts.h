// Cutting a triangle mesh into objects whose points, edges and faces stay
// within the counts an Imagine object can hold.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace plugins::iobwrite {

// One object's worth of a mesh, in Imagine's terms: points, the edges
// between them (each undirected edge once) and faces as triples of edges.
struct MeshPart {
    std::vector<std::uint32_t> points;                // vertex numbers of the mesh
    std::vector<std::array<std::uint32_t, 2>> edges;  // numbers into points
    // Numbers into edges. The edges of face (a, b, c) are listed as (a, b),
    // (b, c), (c, a), so the order of the three edges keeps the winding.
    std::vector<std::array<std::uint32_t, 3>> faces;
};

// Splits triangles (vertex numbers, no two equal in one triangle) into
// parts, in order, starting a new part whenever the next triangle would
// take the current one past limit points, edges or faces. A point or edge
// on the border between two parts is in both. One triangle always fits
// (limit is at least 3).
std::vector<MeshPart> SplitIntoParts(const std::vector<std::array<std::uint32_t, 3>>& triangles,
                                     std::uint32_t limit);

}  // namespace plugins::iobwrite
