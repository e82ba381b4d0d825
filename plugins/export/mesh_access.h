// The few reads of a mesh in table form that the exporters make.
//
// A mesh that lacks its tables reads as empty, so a writer handed a mesh that
// could not be expanded writes an empty block instead of failing.
#pragma once

#include <array>

#include "framework/mesh.h"

namespace plugins {

// Vertex numbers of a face, first to third corner in stored order.
using FaceCorners = std::array<int, 3>;

inline int VertexCount(const Mesh3d& mesh) {
    return mesh.vertices != nullptr ? mesh.vertices->Count() : 0;
}

inline int FaceCount(const Mesh3d& mesh) {
    return mesh.vertices != nullptr && mesh.faces != nullptr ? mesh.faces->Count() : 0;
}

// Point of vertex i, 0 <= i < VertexCount(mesh).
inline const Vector3d& VertexPoint(const Mesh3d& mesh, int i) {
    return mesh.vertices->Point(i);
}

// Vertex numbers of face i, 0 <= i < FaceCount(mesh).
inline FaceCorners FaceVertexNumbers(const Mesh3d& mesh, int i) {
    const FaceRecord& face = mesh.faces->Record(i);
    return {face.k[0], face.k[1], face.k[2]};
}

}  // namespace plugins
