// The full mesh model for framework and plug-in code: the exchanged types
// of the host contract together with the tables of the table form.
#pragma once

#include <cstddef>

#include "framework/contract.h"
#include "framework/mesh_tables.h"

namespace plugins {

// Adds count triangles to mesh with exactly the outcome of count calls of
// mesh.AddTriangle in the same order (tables, numbering and bounds), but
// faster: the lookups of several triangles overlap their waits for memory.
// Does nothing unless the mesh is in table form.
void AddTriangles(Mesh3d& mesh, const Triangle3d* triangles, std::size_t count);

}  // namespace plugins
