// Adding triangles to the tables of a mesh, many at a time.
//
// Each lookup in a large table waits for memory: the bucket's head, then
// the entries of its chain. One triangle at a time there is little to do
// while waiting. Many at a time, the buckets of the lookups a few places
// ahead are fetched while the current one runs, so the waits overlap.
//
// The tables see exactly the operations that adding the triangles one by
// one gives them, in the same order: first every vertex lookup of a round,
// then, triangle by triangle, the face and edge lookups and the face
// references. No table reads another table's state, so doing one table's
// work of several triangles before the next table's changes nothing in any
// of them. For the same reason the two halves, vertex lookups and the rest,
// may run on two threads, one batch behind the other.
#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstdint>

#include "framework/mesh.h"

namespace plugins {

namespace {

// Triangles per round; the bucket numbers of a round live on the stack.
constexpr std::size_t kRound = 256;
// How many lookups ahead a bucket's head is fetched, and how many ahead the
// newest entry it names.
constexpr std::size_t kHeadAhead = 32;
constexpr std::size_t kEntryAhead = 16;
// The same, counted in triangles, for the face and edge lookups.
constexpr std::size_t kTriangleHeadAhead = 12;
constexpr std::size_t kTriangleEntryAhead = 6;

const Vector3d& Corner(const Triangle3d* t, std::size_t j) {
    const Triangle3d& triangle = t[j / 3];
    switch (j % 3) {
        case 0:
            return triangle.P0;
        case 1:
            return triangle.P1;
        default:
            return triangle.P2;
    }
}

void ExtendBounds(Mesh3d& mesh, const Triangle3d* t, std::size_t count) {
    for (std::size_t j = 0; j < 3 * count; ++j) {
        const Vector3d& p = Corner(t, j);
        if (mesh.boundsUnset == 1) {
            mesh.min = p;
            mesh.max = p;
            mesh.boundsUnset = 0;
        } else {
            mesh.min = {std::min(mesh.min.x, p.x), std::min(mesh.min.y, p.y),
                        std::min(mesh.min.z, p.z)};
            mesh.max = {std::max(mesh.max.x, p.x), std::max(mesh.max.y, p.y),
                        std::max(mesh.max.z, p.z)};
        }
    }
}

// The vertex numbers of the round's corners, in corner order; given holds
// their buckets, or is null.
void FindVertices(VertexTable& vertices, const Triangle3d* t, std::size_t count, std::int32_t* k,
                  const std::uint32_t* given) {
    const std::size_t corners = 3 * count;
    std::uint32_t bucket[3 * kRound];
    for (std::size_t j = 0; j < corners; ++j) {
        if (given != nullptr) {
            assert(given[j] == vertices.BucketOf(Corner(t, j)));
            bucket[j] = given[j];
        } else {
            bucket[j] = vertices.BucketOf(Corner(t, j));
        }
    }
    for (std::size_t j = 0; j < std::min(kHeadAhead, corners); ++j) {
        vertices.Prefetch(bucket[j]);
    }
    for (std::size_t j = 0; j < corners; ++j) {
        if (j + kHeadAhead < corners) {
            vertices.Prefetch(bucket[j + kHeadAhead]);
        }
        if (j + kEntryAhead < corners) {
            vertices.PrefetchPoint(vertices.Newest(bucket[j + kEntryAhead]));
        }
        k[j] = vertices.FindOrAdd(Corner(t, j), bucket[j]);
    }
}

// The key hashes of a triangle's face and edges.
struct TriangleBuckets {
    std::uint64_t face;
    std::uint64_t edge[3];
};

// Always inlined: as functions of their own, whose only effect is a hint,
// the compiler may count them as doing nothing and drop their calls.
[[gnu::always_inline]] inline void FetchHeads(const VertexTable& vertices, const FaceTable& faces,
                                              const EdgeTable& edges, const TriangleBuckets& b,
                                              const std::int32_t* k) {
    faces.Prefetch(b.face);
    for (int r = 0; r < 3; ++r) {
        edges.Prefetch(b.edge[r]);
        vertices.PrefetchFaceList(k[r]);
    }
}

[[gnu::always_inline]] inline void FetchEntries(const FaceTable& faces, const EdgeTable& edges,
                                                const TriangleBuckets& b) {
    faces.PrefetchRecord(faces.Newest(b.face));
    for (int r = 0; r < 3; ++r) {
        edges.PrefetchRecord(edges.Newest(b.edge[r]));
    }
}

bool HasTables(const Mesh3d& mesh) {
    return mesh.vertices != nullptr && mesh.faces != nullptr && mesh.edges != nullptr;
}

// Faces, edges and face references of one round of triangles.
void AddRoundFaces(VertexTable& vertices, FaceTable& faces, EdgeTable& edges, const std::int32_t* k,
                   std::size_t n) {
    TriangleBuckets buckets[kRound];
    for (std::size_t i = 0; i < n; ++i) {
        const std::int32_t* v = k + 3 * i;
        buckets[i] = {FaceTable::KeyHash(v[0], v[1], v[2]),
                      {EdgeTable::KeyHash(v[0], v[1]), EdgeTable::KeyHash(v[1], v[2]),
                       EdgeTable::KeyHash(v[2], v[0])}};
    }
    for (std::size_t i = 0; i < std::min(kTriangleHeadAhead, n); ++i) {
        FetchHeads(vertices, faces, edges, buckets[i], k + 3 * i);
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (i + kTriangleHeadAhead < n) {
            FetchHeads(vertices, faces, edges, buckets[i + kTriangleHeadAhead],
                       k + 3 * (i + kTriangleHeadAhead));
        }
        if (i + kTriangleEntryAhead < n) {
            FetchEntries(faces, edges, buckets[i + kTriangleEntryAhead]);
        }
        const int a = k[3 * i];
        const int b = k[3 * i + 1];
        const int c = k[3 * i + 2];
        const int stored = faces.Count();
        const int f = faces.FindOrAdd(a, b, c, buckets[i].face);
        const int e1 = edges.FindOrAdd(a, b, buckets[i].edge[0]);
        const int e2 = edges.FindOrAdd(b, c, buckets[i].edge[1]);
        const int e3 = edges.FindOrAdd(c, a, buckets[i].edge[2]);
        if (f == stored) {
            // A face stored just now is in no vertex's list yet; only a
            // corner that repeats an earlier one finds it there.
            vertices.AddNewFaceRef(f, a);
            if (b != a) {
                vertices.AddNewFaceRef(f, b);
            }
            if (c != a && c != b) {
                vertices.AddNewFaceRef(f, c);
            }
        } else {
            vertices.AddFaceRefUnchecked(f, a);
            vertices.AddFaceRefUnchecked(f, b);
            vertices.AddFaceRefUnchecked(f, c);
        }
        faces.SetEdges(f, e1, e2, e3);
        edges.AddFace(f, e1);
        edges.AddFace(f, e2);
        edges.AddFace(f, e3);
    }
}

}  // namespace

void FindTriangleVertices(Mesh3d& mesh, const Triangle3d* triangles, std::size_t count,
                          std::int32_t* vertexNumbers, const std::uint32_t* buckets) {
    if (!HasTables(mesh)) {
        return;
    }
    for (std::size_t start = 0; start < count; start += kRound) {
        const std::size_t n = std::min(kRound, count - start);
        ExtendBounds(mesh, triangles + start, n);
        FindVertices(*mesh.vertices, triangles + start, n, vertexNumbers + 3 * start,
                     buckets != nullptr ? buckets + 3 * start : nullptr);
    }
}

void AddTriangleFaces(Mesh3d& mesh, const std::int32_t* vertexNumbers, std::size_t count) {
    if (!HasTables(mesh)) {
        return;
    }
    for (std::size_t start = 0; start < count; start += kRound) {
        AddRoundFaces(*mesh.vertices, *mesh.faces, *mesh.edges, vertexNumbers + 3 * start,
                      std::min(kRound, count - start));
    }
}

void AddTriangles(Mesh3d& mesh, const Triangle3d* triangles, std::size_t count) {
    std::int32_t k[3 * kRound];
    for (std::size_t start = 0; start < count; start += kRound) {
        const std::size_t n = std::min(kRound, count - start);
        FindTriangleVertices(mesh, triangles + start, n, k);
        AddTriangleFaces(mesh, k, n);
    }
}

}  // namespace plugins
