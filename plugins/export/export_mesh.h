// A mesh as the text writers read it: its vertices, its faces and the faces
// around each vertex, in the numbering and order of the mesh's table form.
//
// An export gets its meshes in compact form. The table form that Expand
// makes of one holds far more than a text writer reads (edges, lookup
// indexes) and costs a hashed lookup for every corner. FromCompact builds
// just the parts a writer reads, with the very numbers and orders Expand
// gives them, so every byte written from it is the same; FromTables copies
// them from a mesh that is in table form already.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "export/mesh_access.h"
#include "framework/mesh.h"

namespace plugins {

class ExportMesh {
  public:
    // What Expand makes of mesh's compact arrays, which must exist while
    // mesh has no tables: a vertex for each point that the vertex table
    // keeps apart (same bucket function, same tolerance, same numbering),
    // each triangle whose indices lie in the point array and that is not
    // the same three vertices as an earlier one as a face, and the faces of
    // each vertex newest first. Like Expand, extends mesh's bounds by the
    // corners of those triangles. mesh's arrays are only read.
    static ExportMesh FromCompact(Mesh3d& mesh);
    // The parts of a mesh in table form; a mesh without its vertex or face
    // table gives an empty one.
    static ExportMesh FromTables(const Mesh3d& mesh);

    const char* Name() const { return name_; }
    int VertexCount() const { return static_cast<int>(points_.size()); }
    int FaceCount() const { return static_cast<int>(faces_.size()); }
    // Point of vertex i, 0 <= i < VertexCount().
    const Vector3d& Point(int i) const {
        assert(i >= 0 && i < VertexCount());
        return points_[static_cast<std::size_t>(i)];
    }
    const std::vector<Vector3d>& Points() const { return points_; }
    // Vertex numbers of face i in stored winding, 0 <= i < FaceCount().
    const FaceCorners& Face(int i) const {
        assert(i >= 0 && i < FaceCount());
        return faces_[static_cast<std::size_t>(i)];
    }
    // Points of face i in stored winding, as Mesh3d::GetTriangle gives them.
    Triangle3d Triangle(int i) const {
        const FaceCorners& k = Face(i);
        return {Point(k[0]), Point(k[1]), Point(k[2])};
    }
    // The faces that use vertex v, newest first, each once, as the vertex
    // table's face list of v; 0 <= v < VertexCount().
    std::span<const std::int32_t> FacesOf(int v) const {
        assert(v >= 0 && v < VertexCount());
        const auto at = static_cast<std::size_t>(v);
        return {faceRefs_.data() + listStart_[at], listStart_[at + 1] - listStart_[at]};
    }

    // Every point times factor, as Mesh3d::ScaleMesh does to the table
    // points.
    void ScalePoints(double factor);
    // Exchanges the coordinates that mode names in every point, as
    // Mesh3d::SwapAxes does to the table points.
    void SwapPointAxes(SwapMode mode);

  private:
    // Fills listStart_ and faceRefs_ from faces_.
    void ListFacesOfVertices();

    const char* name_ = "";
    std::vector<Vector3d> points_;
    std::vector<FaceCorners> faces_;
    std::vector<std::size_t> listStart_;  // VertexCount() + 1 offsets into faceRefs_
    std::vector<std::int32_t> faceRefs_;
};

}  // namespace plugins
