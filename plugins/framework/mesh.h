// The full mesh model for framework and plug-in code: the exchanged types
// of the host contract together with the tables of the table form.
#pragma once

#include <cstddef>
#include <cstdint>

#include "framework/contract.h"
#include "framework/mesh_tables.h"

namespace plugins {

// Adds count triangles to mesh with exactly the outcome of count calls of
// mesh.AddTriangle in the same order (tables, numbering and bounds), but
// faster: the lookups of several triangles overlap their waits for memory.
// Does nothing unless the mesh is in table form.
void AddTriangles(Mesh3d& mesh, const Triangle3d* triangles, std::size_t count);

// The two halves of AddTriangles, for callers that run them on two threads.
// FindTriangleVertices extends the bounds by the triangles' corners and
// looks them up in the vertex table, writing three vertex numbers per
// triangle to vertexNumbers; AddTriangleFaces takes such numbers and adds
// the faces, edges and face lists. Calling the first and then the second for
// each batch, batch after batch, is AddTriangles. The halves touch disjoint
// parts of the mesh: the second may run for earlier batches on one thread
// while the first runs for later ones on another, each half in batch order.
// Nothing else may use the mesh meanwhile. Both do nothing unless the mesh is
// in table form.
// FindTriangleVertices may be given the vertex table's buckets of the
// corners (three per triangle, as VertexTable::BucketOf gives them for this
// table's bucket count); it hashes the corners itself when buckets is null.
void FindTriangleVertices(Mesh3d& mesh, const Triangle3d* triangles, std::size_t count,
                          std::int32_t* vertexNumbers, const std::uint32_t* buckets = nullptr);
void AddTriangleFaces(Mesh3d& mesh, const std::int32_t* vertexNumbers, std::size_t count);

}  // namespace plugins
