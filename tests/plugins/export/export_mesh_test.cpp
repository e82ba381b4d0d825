#include "export/export_mesh.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/memory.h"
#include "mesh_fixtures.h"

namespace plugins {

namespace {

using exporttest::BumpyGrid;
using exporttest::CubeTriangles;
using exporttest::MakeTableMesh;
using exporttest::MeshPtr;

using Corners = std::array<std::int32_t, 3>;

// Compact arrays as a host may hand them over: any points, any indices.
struct CompactArrays {
    std::string name;
    std::vector<Vector3d> points;
    std::vector<Corners> triangles;
    int triangleCount = -1;  // the count the mesh claims; -1: triangles.size()
};

MeshPtr MakeMesh(const CompactArrays& arrays) {
    MeshPtr mesh(new Mesh3d(1, arrays.name.c_str()));
    mesh->FreeTables();
    mesh->points = static_cast<Vector3d*>(SafeAllocZeroed(arrays.points.size(), sizeof(Vector3d)));
    std::copy(arrays.points.begin(), arrays.points.end(), mesh->points);
    mesh->triangles = static_cast<TriangleIndices*>(
        SafeAllocZeroed(arrays.triangles.size(), sizeof(TriangleIndices)));
    for (std::size_t i = 0; i < arrays.triangles.size(); ++i) {
        const Corners& k = arrays.triangles[i];
        mesh->triangles[i] = {k[0], k[1], k[2], 0};
    }
    mesh->pointCount = static_cast<int>(arrays.points.size());
    mesh->triangleCount = arrays.triangleCount >= 0 ? arrays.triangleCount
                                                    : static_cast<int>(arrays.triangles.size());
    return mesh;
}

CompactArrays FromTriangles(const char* name, const std::vector<Triangle3d>& triangles) {
    MeshPtr mesh(exporttest::MakeCompactMesh(name, triangles));
    CompactArrays arrays{name, {}, {}};
    arrays.points.assign(mesh->points, mesh->points + mesh->pointCount);
    for (int i = 0; i < mesh->triangleCount; ++i) {
        const TriangleIndices& t = mesh->triangles[i];
        arrays.triangles.push_back({t.k0, t.k1, t.k2});
    }
    return arrays;
}

bool SameBits(const Vector3d& a, const Vector3d& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// A point near p, within the vertex tolerance in x, that falls into the
// same bucket of a table made with hint n.
Vector3d SameBucketNear(const Vector3d& p, double dx, std::uint64_t n) {
    const std::uint32_t buckets = VertexTable::BucketCount(n);
    const std::uint32_t wanted = VertexTable::BucketOf(p, buckets);
    for (int i = 1;; ++i) {
        const Vector3d q{p.x + dx, p.y + i * 1e-12, p.z};
        if (VertexTable::BucketOf(q, buckets) == wanted) {
            return q;
        }
    }
}

// The meshes that show where Expand's numbering is subtle.
std::vector<CompactArrays> Cases() {
    std::vector<CompactArrays> cases;
    cases.push_back(FromTriangles("cube", CubeTriangles()));
    cases.push_back(FromTriangles("grid", BumpyGrid(9)));

    const std::vector<Vector3d> square = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {5, 5, 5}};
    // The same face again in stored order, rotated and with the other
    // winding: it merges. Degenerate faces are kept, (a, a, b) and
    // (a, b, b) apart.
    cases.push_back({"repeats",
                     square,
                     {{0, 1, 2},
                      {0, 1, 2},
                      {1, 2, 0},
                      {2, 1, 0},
                      {0, 2, 3},
                      {0, 0, 1},
                      {0, 1, 1},
                      {1, 0, 0},
                      {3, 3, 3},
                      {3, 3, 3},
                      {2, 3, 0}}});
    // Indices outside the array are skipped; unused points vanish and the
    // others are numbered by first use.
    cases.push_back({"holes", square, {{3, 2, 4}, {-1, 0, 1}, {0, 1, 5}, {1, 0, 3}, {4, 2, 0}}});
    cases.push_back({"claims fewer", square, {{0, 1, 2}, {0, 2, 3}}, 1});
    cases.push_back({"claims none", square, {{0, 1, 2}}, 0});
    cases.push_back({"no points", {}, {{0, 1, 2}}});

    // Equal and nearly equal points at different indices. B lies within
    // the tolerance of A in A's bucket, so it becomes A; C lies within the
    // tolerance of B but not of A, in the same bucket, so it is stored, and
    // from then on B becomes C, the newest point nearly equal to it.
    const std::uint64_t hint = 6;
    const Vector3d a{0.25, 0.5, 0.75};
    const Vector3d b = SameBucketNear(a, 0.6e-6, hint);
    const Vector3d c = SameBucketNear(a, 1.2e-6, hint);
    const Vector3d far1{9, 0, 0};
    const Vector3d far2{0, 9, 0};
    cases.push_back({"nearly equal",
                     {a, b, c, far1, far2, a, b},
                     {{0, 3, 4}, {1, 4, 3}, {2, 3, 4}, {1, 3, 4}, {6, 4, 3}, {5, 4, 1}}});

    // Points that are not nearly equal to themselves never merge; the signs
    // of zero hash apart.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    cases.push_back({"not finite",
                     {{nan, 0, 0}, {inf, 1, 0}, {0, 0, 0}, {-0.0, 0, 0}, {1, 1, 1}},
                     {{0, 1, 2}, {0, 1, 2}, {1, 3, 4}, {3, 4, 1}, {2, 3, 4}, {0, 0, 4}}});

    // Many random references into few points, with repeats of every kind.
    std::mt19937 rng(15);
    CompactArrays random{"random", {}, {}};
    for (int i = 0; i < 60; ++i) {
        random.points.push_back({double(rng() % 4), double(rng() % 4), double(rng() % 3) * 1e-7});
    }
    for (int i = 0; i < 3000; ++i) {
        random.triangles.push_back({static_cast<std::int32_t>(rng() % 62) - 1,
                                    static_cast<std::int32_t>(rng() % 60),
                                    static_cast<std::int32_t>(rng() % 60)});
    }
    cases.push_back(random);
    return cases;
}

// FromCompact gives exactly what Expand puts into the tables: points,
// faces, face lists in their order, and the bounds it leaves on the mesh;
// and FromTables reads the same back from the expanded mesh.
TEST(ExportMesh, FromCompactIsWhatExpandMakesOfTheArrays) {
    for (const CompactArrays& arrays : Cases()) {
        SCOPED_TRACE(arrays.name);
        MeshPtr expanded = MakeMesh(arrays);
        MeshPtr compact = MakeMesh(arrays);
        expanded->Expand();
        const ExportMesh lean = ExportMesh::FromCompact(*compact);
        const ExportMesh copied = ExportMesh::FromTables(*expanded);

        ASSERT_NE(expanded->vertices, nullptr);
        EXPECT_EQ(compact->vertices, nullptr);
        EXPECT_STREQ(lean.Name(), arrays.name.c_str());
        for (const ExportMesh* mesh : {&lean, &copied}) {
            ASSERT_EQ(mesh->VertexCount(), expanded->vertices->Count());
            ASSERT_EQ(mesh->FaceCount(), expanded->faces->Count());
            for (int v = 0; v < mesh->VertexCount(); ++v) {
                ASSERT_TRUE(SameBits(mesh->Point(v), expanded->vertices->Point(v))) << v;
                std::vector<std::int32_t> expected;
                for (int f : expanded->vertices->FaceList(v)) {
                    expected.push_back(f);
                }
                const auto list = mesh->FacesOf(v);
                ASSERT_EQ(std::vector<std::int32_t>(list.begin(), list.end()), expected) << v;
            }
            for (int f = 0; f < mesh->FaceCount(); ++f) {
                const FaceRecord& record = expanded->faces->Record(f);
                ASSERT_EQ(mesh->Face(f), (FaceCorners{record.k[0], record.k[1], record.k[2]}));
            }
        }
        EXPECT_EQ(compact->boundsUnset, expanded->boundsUnset);
        EXPECT_TRUE(SameBits(compact->min, expanded->min));
        EXPECT_TRUE(SameBits(compact->max, expanded->max));
    }
}

TEST(ExportMesh, ScalingAndSwappingMoveEveryPointAsTheTablesDo) {
    MeshPtr table(MakeTableMesh("grid", BumpyGrid(4)));
    ExportMesh lean = ExportMesh::FromTables(*table);
    table->ScaleMesh(-2.5);
    table->SwapAxes(SwapMode::XZ);
    lean.ScalePoints(-2.5);
    lean.SwapPointAxes(SwapMode::XZ);
    ASSERT_EQ(lean.VertexCount(), table->vertices->Count());
    for (int v = 0; v < lean.VertexCount(); ++v) {
        ASSERT_TRUE(SameBits(lean.Point(v), table->vertices->Point(v))) << v;
    }
}

}  // namespace

}  // namespace plugins
