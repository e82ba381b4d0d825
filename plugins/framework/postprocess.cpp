// Whole-mesh operations between reading and writing: scaling, axis exchange
// and the conversions between table form and compact form. The orientation
// repair has a file of its own.
#include <utility>

#include "framework/memory.h"
#include "framework/mesh.h"
#include "framework/triangle_feeder.h"

namespace plugins {

void Mesh3d::ScaleMesh(double factor) {
    if (factor == 1.0 || vertices == nullptr) {
        return;
    }
    vertices->ScalePoints(factor);
    min = Scale(min, factor);
    max = Scale(max, factor);
    // A negative factor mirrors the bounds; keep them a minimum and a maximum.
    if (min.x > max.x) std::swap(min.x, max.x);
    if (min.y > max.y) std::swap(min.y, max.y);
    if (min.z > max.z) std::swap(min.z, max.z);
}

void Mesh3d::SwapAxes(SwapMode mode) {
    if (mode == SwapMode::None || vertices == nullptr) {
        return;
    }
    vertices->SwapPointAxes(mode);
    SwapCoordinates(min, mode);
    SwapCoordinates(max, mode);
}

int Mesh3d::Compact() {
    if (vertices == nullptr || faces == nullptr) {
        return 0;
    }
    const int vertexCount = vertices->Count();
    const int faceCount = faces->Count();

    // A second Compact replaces the arrays of the first instead of leaking them.
    if (points != nullptr) {
        SafeFree(points);
    }
    if (triangles != nullptr) {
        SafeFree(triangles);
    }
    points = static_cast<Vector3d*>(
        SafeAllocZeroed(static_cast<std::size_t>(vertexCount), sizeof(Vector3d)));
    triangles = static_cast<TriangleIndices*>(
        SafeAllocZeroed(static_cast<std::size_t>(faceCount), sizeof(TriangleIndices)));
    for (int i = 0; i < vertexCount; ++i) {
        points[i] = vertices->Point(i);
    }
    for (int i = 0; i < faceCount; ++i) {
        const FaceRecord& face = faces->Record(i);
        triangles[i] = TriangleIndices{face.k[0], face.k[1], face.k[2], 0};
    }
    pointCount = vertexCount;
    triangleCount = faceCount;
    return faceCount;
}

void Mesh3d::Expand() {
    if (vertices != nullptr || faces != nullptr || edges != nullptr || points == nullptr ||
        triangles == nullptr) {
        return;
    }
    const int count = triangleCount > 0 ? triangleCount : 0;
    vertices = new VertexTable(static_cast<std::uint64_t>(count));
    faces = new FaceTable(static_cast<std::uint64_t>(count));
    edges = new EdgeTable(static_cast<std::uint64_t>(count));

    // The arrays may come from a host: a triangle that points outside the
    // point array is skipped rather than read out of bounds.
    auto valid = [this](std::int32_t k) { return k >= 0 && k < pointCount; };
    TriangleFeeder feeder;
    for (int i = 0; i < count; ++i) {
        const TriangleIndices& t = triangles[i];
        if (!valid(t.k0) || !valid(t.k1) || !valid(t.k2)) {
            continue;
        }
        feeder.Add(*this, Triangle3d{points[t.k0], points[t.k1], points[t.k2]});
    }
    feeder.Finish();
}

}  // namespace plugins
