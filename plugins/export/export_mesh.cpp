#include "export/export_mesh.h"

#include <algorithm>

namespace plugins {

namespace {

// A mesh's bounds, extended corner by corner as adding triangles extends
// them, held apart from the mesh until Store.
struct Bounds {
    explicit Bounds(const Mesh3d& mesh) : unset(mesh.boundsUnset), min(mesh.min), max(mesh.max) {}

    void Extend(const Vector3d& p) {
        if (unset == 1) {
            min = p;
            max = p;
            unset = 0;
        } else {
            min = {std::min(min.x, p.x), std::min(min.y, p.y), std::min(min.z, p.z)};
            max = {std::max(max.x, p.x), std::max(max.y, p.y), std::max(max.z, p.z)};
        }
    }
    void Store(Mesh3d& mesh) const {
        mesh.boundsUnset = unset;
        mesh.min = min;
        mesh.max = max;
    }

    int unset;
    Vector3d min;
    Vector3d max;
};

// The vertex numbers of a face in ascending order.
struct SortedCorners {
    explicit SortedCorners(const FaceCorners& k) : a(k[0]), b(k[1]), c(k[2]) {
        if (a > b) std::swap(a, b);
        if (b > c) std::swap(b, c);
        if (a > b) std::swap(a, b);
    }
    bool operator==(const SortedCorners& other) const {
        return a == other.a && b == other.b && c == other.c;
    }

    std::int32_t a;
    std::int32_t b;
    std::int32_t c;
};

}  // namespace

ExportMesh ExportMesh::FromCompact(Mesh3d& mesh) {
    assert(mesh.vertices == nullptr && mesh.faces == nullptr && mesh.edges == nullptr);
    assert(mesh.points != nullptr && mesh.triangles != nullptr);
    ExportMesh result;
    result.name_ = mesh.name;
    const int count = mesh.triangleCount > 0 ? mesh.triangleCount : 0;
    const int pointCount = mesh.pointCount > 0 ? mesh.pointCount : 0;

    // The vertex table that Expand would make, with the same hint and so
    // the same buckets; it alone decides which points merge. Every corner
    // that names a point goes to the table, except that a point whose
    // lookup found a vertex of exactly its own coordinates keeps that
    // vertex: no point nearly equal to it can be stored in its bucket
    // afterwards (it would have merged with that vertex), so looking it up
    // again gives the same number. A point that is not nearly equal to
    // itself (infinite or NaN coordinates) never merges and is looked up
    // every time.
    VertexTable vertices(static_cast<std::uint64_t>(count));
    std::vector<std::int32_t> vertexOfPoint(static_cast<std::size_t>(pointCount), -1);
    result.faces_.reserve(static_cast<std::size_t>(count));
    auto valid = [pointCount](std::int32_t k) { return k >= 0 && k < pointCount; };
    Bounds bounds(mesh);
    for (int i = 0; i < count; ++i) {
        const TriangleIndices& t = mesh.triangles[i];
        if (!valid(t.k0) || !valid(t.k1) || !valid(t.k2)) {
            continue;  // Expand skips it
        }
        FaceCorners face;
        const std::int32_t corners[3] = {t.k0, t.k1, t.k2};
        for (int r = 0; r < 3; ++r) {
            const auto k = static_cast<std::size_t>(corners[r]);
            const Vector3d& p = mesh.points[k];
            bounds.Extend(p);
            std::int32_t v = vertexOfPoint[k];
            if (v < 0) {
                v = vertices.FindOrAdd(p);
                const Vector3d& q = vertices.Point(v);
                if (q.x == p.x && q.y == p.y && q.z == p.z && NearlyEqual(p, p)) {
                    vertexOfPoint[k] = v;
                }
            }
            face[static_cast<std::size_t>(r)] = v;
        }
        result.faces_.push_back(face);
    }
    bounds.Store(mesh);
    result.points_.resize(static_cast<std::size_t>(vertices.Count()));
    for (int v = 0; v < vertices.Count(); ++v) {
        result.points_[static_cast<std::size_t>(v)] = vertices.Point(v);
    }
    result.ListFacesOfVertices();

    // A triangle over the same three vertices as an earlier one, in any
    // order, is that face again and adds nothing. Such an earlier face is
    // in the list of each of its vertices.
    const int candidates = result.FaceCount();
    std::vector<bool> repeated;
    for (int f = 0; f < candidates; ++f) {
        const SortedCorners key(result.Face(f));
        for (std::int32_t g : result.FacesOf(key.a)) {
            if (g < f && SortedCorners(result.Face(g)) == key) {
                if (repeated.empty()) {
                    repeated.resize(static_cast<std::size_t>(candidates), false);
                }
                repeated[static_cast<std::size_t>(f)] = true;
                break;
            }
        }
    }
    if (!repeated.empty()) {
        std::size_t kept = 0;
        for (std::size_t f = 0; f < result.faces_.size(); ++f) {
            if (!repeated[f]) {
                result.faces_[kept++] = result.faces_[f];
            }
        }
        result.faces_.resize(kept);
        result.ListFacesOfVertices();
    }
    return result;
}

ExportMesh ExportMesh::FromTables(const Mesh3d& mesh) {
    ExportMesh result;
    result.name_ = mesh.name;
    const int vertexCount = plugins::VertexCount(mesh);
    const int faceCount = plugins::FaceCount(mesh);
    result.points_.reserve(static_cast<std::size_t>(vertexCount));
    for (int v = 0; v < vertexCount; ++v) {
        result.points_.push_back(VertexPoint(mesh, v));
    }
    result.faces_.reserve(static_cast<std::size_t>(faceCount));
    for (int f = 0; f < faceCount; ++f) {
        result.faces_.push_back(FaceVertexNumbers(mesh, f));
    }
    result.listStart_.assign(static_cast<std::size_t>(vertexCount) + 1, 0);
    for (int v = 0; v < vertexCount; ++v) {
        for (int f : mesh.vertices->FaceList(v)) {
            result.faceRefs_.push_back(f);
        }
        result.listStart_[static_cast<std::size_t>(v) + 1] = result.faceRefs_.size();
    }
    return result;
}

void ExportMesh::ListFacesOfVertices() {
    const std::size_t vertexCount = points_.size();
    listStart_.assign(vertexCount + 1, 0);
    // Each face once in the list of each of its distinct vertices.
    auto forEachVertex = [](const FaceCorners& k, auto&& use) {
        use(k[0]);
        if (k[1] != k[0]) {
            use(k[1]);
        }
        if (k[2] != k[0] && k[2] != k[1]) {
            use(k[2]);
        }
    };
    for (const FaceCorners& k : faces_) {
        forEachVertex(k, [this](int v) { ++listStart_[static_cast<std::size_t>(v) + 1]; });
    }
    for (std::size_t v = 0; v < vertexCount; ++v) {
        listStart_[v + 1] += listStart_[v];
    }
    faceRefs_.resize(listStart_[vertexCount]);
    // Filled from the last face back, so each list runs newest first.
    std::vector<std::size_t> next(listStart_.begin(), listStart_.end() - 1);
    for (std::size_t f = faces_.size(); f-- > 0;) {
        forEachVertex(faces_[f], [this, &next, f](int v) {
            faceRefs_[next[static_cast<std::size_t>(v)]++] = static_cast<std::int32_t>(f);
        });
    }
}

void ExportMesh::ScalePoints(double factor) {
    for (Vector3d& p : points_) {
        p = Scale(p, factor);
    }
}

void ExportMesh::SwapPointAxes(SwapMode mode) {
    for (Vector3d& p : points_) {
        SwapCoordinates(p, mode);
    }
}

}  // namespace plugins
