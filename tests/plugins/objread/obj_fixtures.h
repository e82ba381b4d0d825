// Small OBJ files built in code, and a way to import them.
#pragma once

#include <string>
#include <vector>

#include "framework/contract.h"

namespace plugins::objtest {

// A mesh as handed over, copied out of the compact form.
struct MeshResult {
    std::string name;
    std::vector<Vector3d> points;
    std::vector<TriangleIndices> triangles;
    Vector3d min{};
    Vector3d max{};
};

// Copies every mesh of list.
std::vector<MeshResult> Meshes(const ObjectList& list);

// The names of the meshes, in order.
std::vector<std::string> Names(const std::vector<MeshResult>& meshes);

// Each triangle of mesh as its three points, in stored order.
std::vector<Triangle3d> Triangles(const MeshResult& mesh);

// "v x y z" lines for a grid of w x h vertices at z = 0 (row by row) and
// "f" lines for its (w-1) x (h-1) quads.
std::string GridObj(int w, int h);

}  // namespace plugins::objtest
