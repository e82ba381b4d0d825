// Smoothed corner normals of a mesh in table form.
//
// Each corner of a face gets the normalised sum of the normals of the faces
// around its vertex that lie within smooth_angle degrees of the face's own
// normal (the face itself always counts). Whole face normals are added,
// unweighted, so a vertex on a sharp edge gets a different normal in the
// faces on either side of it.
#pragma once

#include <array>
#include <vector>

#include "export/export_mesh.h"
#include "framework/mesh.h"

namespace plugins {

// The three normals of a face, for its first, second and third corner in
// the face's stored order.
using CornerTriple = std::array<Vector3d, 3>;

// Computes the corner normals of one face from scratch. An angle whose
// absolute value is below 1e-6 (or NaN) gives flat shading: all three
// corners carry the face normal. A negative angle smooths like its absolute
// value. A mesh without its vertex or face table, or a face number out of
// range, gives three zero vectors.
CornerTriple CornerNormals(const Mesh3d& mesh, int face, double smooth_angle);

// The same values for every face of one mesh, read from its ExportMesh,
// with each face normal and its length computed once when the object is
// made rather than once per neighbouring corner. The ExportMesh must stay
// unchanged while this object is used. Corners only reads, so several
// threads may call it at once.
class CornerNormalSource {
  public:
    CornerNormalSource(const ExportMesh& mesh, double smooth_angle);

    // As CornerNormals(mesh, face, smooth_angle) for the mesh in table form
    // that mesh was made from (or that Expand makes of it); three zero
    // vectors for a face number out of range.
    CornerTriple Corners(int face) const;

  private:
    struct FaceNormalRecord {
        Vector3d normal;
        double length;  // Length(normal)
    };

    const ExportMesh& mesh_;
    double limit_;    // |smooth_angle|; 0 means flat shading
    double cosPass_;  // cosines above this certainly pass the limit
    double cosFail_;  // cosines below this certainly fail it
    double dotPass_;  // dot products above this times the lengths certainly pass
    double dotFail_;  // dot products below this times the lengths certainly fail
    std::vector<FaceNormalRecord> normals_;
};

}  // namespace plugins
