#include <array>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "framework/memory.h"
#include "framework/mesh.h"

namespace plugins {

namespace {

Triangle3d Tri(Vector3d a, Vector3d b, Vector3d c) {
    return Triangle3d{a, b, c};
}

bool SameBits(const Vector3d& a, const Vector3d& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Unit square in z = 0 as two triangles: 4 vertices, 2 faces.
void AddSquare(Mesh3d& mesh) {
    mesh.AddTriangle(Tri({0, 0, 0}, {1, 0, 0}, {1, 1, 0}));
    mesh.AddTriangle(Tri({0, 0, 0}, {1, 1, 0}, {0, 1, 0}));
}

}  // namespace

// ---------------------------------------------------------------------------
// ScaleMesh and SwapAxes

TEST(ScaleMeshTest, FactorsAndBounds) {
    struct Case {
        double factor;
        Vector3d point, min, max;
    } cases[] = {
        {2.0, {2, -4, 1}, {0, -4, 0}, {2, 0, 1}},
        {0.0, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}},
        // Mirrored bounds are put back in order.
        {-2.0, {-2, 4, -1}, {-2, 0, -1}, {0, 4, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.factor);
        Mesh3d mesh(1, "m");
        mesh.AddTriangle(Tri({0, 0, 0}, {1, -2, 0.5}, {0, 0, 0.5}));
        mesh.ScaleMesh(c.factor);
        Vector3d p{};
        mesh.vertices->Get(1, p);
        EXPECT_EQ(p.x, c.point.x);
        EXPECT_EQ(p.y, c.point.y);
        EXPECT_EQ(p.z, c.point.z);
        EXPECT_EQ(mesh.min.x, c.min.x);
        EXPECT_EQ(mesh.min.y, c.min.y);
        EXPECT_EQ(mesh.min.z, c.min.z);
        EXPECT_EQ(mesh.max.x, c.max.x);
        EXPECT_EQ(mesh.max.y, c.max.y);
        EXPECT_EQ(mesh.max.z, c.max.z);
    }
}

TEST(ScaleMeshTest, OneLeavesEverythingBitIdentical) {
    Mesh3d mesh(1, "m");
    const Vector3d odd{0.1, -0.0, 1e300};
    mesh.AddTriangle(Tri(odd, {0.3, 0.7, 0.9}, {-0.0, 2, 3}));
    const Vector3d min = mesh.min;
    mesh.ScaleMesh(1.0);
    Vector3d p{};
    mesh.vertices->Get(0, p);
    EXPECT_TRUE(SameBits(p, odd));
    EXPECT_TRUE(SameBits(mesh.min, min));
}

TEST(SwapAxesTest, Modes) {
    struct Case {
        int mode;  // as stored
        Vector3d expected;
    } cases[] = {
        {0, {1, 2, 3}}, {1, {2, 1, 3}}, {2, {3, 2, 1}},
        {3, {1, 3, 2}}, {5, {1, 2, 3}}, {-1, {1, 2, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        Mesh3d mesh(1, "m");
        mesh.AddTriangle(Tri({1, 2, 3}, {1, 2, 3}, {1, 2, 3}));
        const int face = 0;
        mesh.SwapAxes(SwapModeFromSetting(c.mode));
        Vector3d p{};
        mesh.vertices->Get(0, p);
        EXPECT_TRUE(SameBits(p, c.expected));
        EXPECT_TRUE(SameBits(mesh.min, c.expected));
        EXPECT_TRUE(SameBits(mesh.max, c.expected));
        FaceVertices f{};
        mesh.faces->Get(face, f);
        EXPECT_EQ(f.k0, 0);  // windings are not touched
    }
}

TEST(SwapAxesTest, ExchangingAxesMirrorsTheNormal) {
    Mesh3d mesh(1, "m");
    mesh.AddTriangle(Tri({0, 0, 0}, {1, 0.5, 0}, {0.25, 1, 2}));
    const Vector3d before = FaceNormal(mesh.GetTriangle(0));
    mesh.SwapAxes(SwapMode::XZ);
    const Vector3d after = FaceNormal(mesh.GetTriangle(0));
    EXPECT_NEAR(after.x, -before.z, 1e-12);
    EXPECT_NEAR(after.y, -before.y, 1e-12);
    EXPECT_NEAR(after.z, -before.x, 1e-12);
}

// ---------------------------------------------------------------------------
// Compact and Expand

TEST(CompactTest, CopiesTablesInNumberOrder) {
    Mesh3d mesh(4, "square");
    AddSquare(mesh);
    ASSERT_EQ(mesh.Compact(), 2);
    ASSERT_EQ(mesh.pointCount, 4);
    ASSERT_EQ(mesh.triangleCount, 2);
    EXPECT_TRUE(SameBits(mesh.points[2], Vector3d{1, 1, 0}));
    const TriangleIndices second = mesh.triangles[1];
    EXPECT_EQ(second.k0, 0);
    EXPECT_EQ(second.k1, 2);
    EXPECT_EQ(second.k2, 3);
    EXPECT_EQ(second.reserved, 0);
    EXPECT_NE(mesh.vertices, nullptr);  // tables stay until FreeTables

    // A second Compact replaces the arrays (the sanitizer build sees a leak
    // otherwise) and follows the tables.
    mesh.AddTriangle(Tri({5, 5, 5}, {6, 5, 5}, {5, 6, 5}));
    EXPECT_EQ(mesh.Compact(), 3);
    EXPECT_EQ(mesh.pointCount, 7);

    mesh.FreeTables();
    EXPECT_EQ(mesh.Compact(), 0);
    EXPECT_EQ(mesh.triangleCount, 3);
}

TEST(CompactTest, ExpandRebuildsTheTablesFromCompactForm) {
    Mesh3d mesh(4, "square");
    AddSquare(mesh);
    mesh.Compact();
    mesh.FreeTables();
    mesh.Expand();
    ASSERT_NE(mesh.faces, nullptr);
    EXPECT_EQ(mesh.vertices->Count(), 4);
    EXPECT_EQ(mesh.faces->Count(), 2);
    EXPECT_EQ(mesh.edges->Count(), 5);
    FaceVertices f{};
    mesh.faces->Get(1, f);
    EXPECT_EQ(f.k1, 2);

    // With tables present Expand does nothing, also not to the bounds.
    mesh.max = {9, 9, 9};
    mesh.Expand();
    EXPECT_EQ(mesh.faces->Count(), 2);
    EXPECT_EQ(mesh.max.x, 9.0);
}

namespace {

// A compact-form mesh as a host would hand it over.
void SetCompact(Mesh3d& mesh, std::vector<Vector3d> points,
                std::vector<TriangleIndices> triangles) {
    mesh.FreeTables();
    mesh.points = static_cast<Vector3d*>(SafeAlloc(points.size() * sizeof(Vector3d)));
    std::memcpy(mesh.points, points.data(), points.size() * sizeof(Vector3d));
    mesh.pointCount = static_cast<int>(points.size());
    mesh.triangles =
        static_cast<TriangleIndices*>(SafeAlloc(triangles.size() * sizeof(TriangleIndices)));
    std::memcpy(mesh.triangles, triangles.data(), triangles.size() * sizeof(TriangleIndices));
    mesh.triangleCount = static_cast<int>(triangles.size());
}

}  // namespace

TEST(CompactTest, ExpandNumbersByFirstUseAndSkipsBadIndices) {
    Mesh3d mesh(1, "host");
    SetCompact(mesh, {{9, 9, 9}, {0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 0}},  // 0 unused, 4 = 1
               {{3, 2, 1, 0},
                {4, 2, 3, 0},   // the same vertex set again: dropped
                {1, 2, 5, 0},   // past the point array
                {-1, 1, 2, 0},  // negative
                {2, 1, 0, 0}});
    mesh.Expand();
    EXPECT_EQ(mesh.vertices->Count(), 4);
    EXPECT_EQ(mesh.faces->Count(), 2);
    Vector3d first{};
    mesh.vertices->Get(0, first);
    EXPECT_TRUE(SameBits(first, Vector3d{0, 1, 0}));
    // Bounds grow from what they were; the compact arrays are untouched.
    EXPECT_EQ(mesh.max.x, 9.0);
    EXPECT_EQ(mesh.triangles[1].k0, 4);
    EXPECT_EQ(mesh.pointCount, 5);

    Mesh3d incomplete(1, "no triangles");
    incomplete.FreeTables();
    incomplete.points = static_cast<Vector3d*>(SafeAlloc(sizeof(Vector3d)));
    incomplete.pointCount = 1;
    incomplete.Expand();
    EXPECT_EQ(incomplete.vertices, nullptr);
}

// ---------------------------------------------------------------------------
// UnifyOrientation

namespace {

struct ProgressLog {
    static std::vector<std::pair<unsigned, unsigned>> calls;
    static void Record(unsigned done, unsigned total) { calls.emplace_back(done, total); }
};
std::vector<std::pair<unsigned, unsigned>> ProgressLog::calls;

// The 12 triangles of an axis-aligned cube at offset, each wound by the
// corresponding bit of windings.
void AddCube(Mesh3d& mesh, Vector3d offset, unsigned windings) {
    static const int quads[6][4] = {{0, 1, 3, 2}, {4, 6, 7, 5}, {0, 4, 5, 1},
                                    {2, 3, 7, 6}, {0, 2, 6, 4}, {1, 5, 7, 3}};
    auto corner = [&](int i) {
        return Vector3d{offset.x + (i & 1), offset.y + ((i >> 1) & 1), offset.z + ((i >> 2) & 1)};
    };
    int n = 0;
    for (const auto& q : quads) {
        for (const auto& t : {std::array<int, 3>{q[0], q[1], q[2]}, {q[0], q[2], q[3]}}) {
            const bool reverse = ((windings >> n++) & 1) != 0;
            if (reverse) {
                mesh.AddTriangle(Tri(corner(t[2]), corner(t[1]), corner(t[0])));
            } else {
                mesh.AddTriangle(Tri(corner(t[0]), corner(t[1]), corner(t[2])));
            }
        }
    }
}

// Every edge with two faces is run in opposite directions by them.
void ExpectConsistent(const Mesh3d& mesh) {
    for (int e = 0; e < mesh.edges->Count(); ++e) {
        EdgeVertices v{};
        EdgeFaces f{};
        mesh.edges->Get(e, v);
        mesh.edges->Faces(e, f);
        ASSERT_NE(f.f1, -1);
        int along = 0;
        for (int face : {f.f0, f.f1}) {
            FaceVertices k{};
            mesh.faces->Get(face, k);
            const int seq[4] = {k.k0, k.k1, k.k2, k.k0};
            for (int i = 0; i < 3; ++i) {
                if (seq[i] == v.k0 && seq[i + 1] == v.k1) ++along;
            }
        }
        EXPECT_EQ(along, 1) << "edge " << e;
    }
}

}  // namespace

TEST(UnifyOrientationTest, CubesWithRandomWindings) {
    for (unsigned windings : {0u, 0xFFFu, 0xA5Cu, 0x3F0u, 0x0C3u}) {
        SCOPED_TRACE(windings);
        Mesh3d mesh(24, "cubes");
        AddCube(mesh, {0, 0, 0}, windings);
        AddCube(mesh, {5, 0, 0}, ~windings);
        ProgressLog::calls.clear();
        mesh.UnifyOrientation(ProgressLog::Record);
        ExpectConsistent(mesh);
        // The top faces of both cubes end up facing up, and so every face
        // faces out of its cube.
        for (int f = 0; f < mesh.faces->Count(); ++f) {
            const Triangle3d t = mesh.GetTriangle(f);
            if (Centroid(t).z > 0.9) {
                EXPECT_GT(FaceNormal(t).z, 0.0) << f;
            }
            const Vector3d centre =
                Centroid(t).x < 2.5 ? Vector3d{0.5, 0.5, 0.5} : Vector3d{5.5, 0.5, 0.5};
            EXPECT_GT(Dot(FaceNormal(t), Subtract(Centroid(t), centre)), 0.0) << f;
        }
        // Once per part, then once at the end.
        ASSERT_EQ(ProgressLog::calls.size(), 3u);
        EXPECT_EQ(ProgressLog::calls[0], std::make_pair(0u, 24u));
        EXPECT_EQ(ProgressLog::calls[1], std::make_pair(12u, 24u));
        EXPECT_EQ(ProgressLog::calls[2], std::make_pair(24u, 24u));
    }
}

TEST(UnifyOrientationTest, LoneFacesTurnUpUnlessUpright) {
    struct Case {
        Triangle3d t;
        bool reversed;
    } cases[] = {
        {Tri({0, 0, 1}, {0, 1, 1}, {1, 0, 1}), false},  // normal (0, 0, 1)
        {Tri({0, 0, 1}, {1, 0, 1}, {0, 1, 1}), true},   // normal (0, 0, -1)
        {Tri({0, 0, 0}, {1, 0, 0}, {0, 0, 1}), false},  // upright: normal z = 0
        {Tri({0, 0, 0}, {1, 1, 1}, {2, 2, 2}), false},  // no normal at all
    };
    for (const Case& c : cases) {
        Mesh3d mesh(1, "one");
        mesh.AddTriangle(c.t);
        mesh.UnifyOrientation(nullptr);  // a missing progress function is allowed
        FaceVertices f{};
        mesh.faces->Get(0, f);
        EXPECT_EQ(f.k0, c.reversed ? 1 : 0);
        EXPECT_EQ(f.k1, c.reversed ? 0 : 1);
    }
}

TEST(UnifyOrientationTest, MeshWithoutTablesIsLeftAlone) {
    Mesh3d mesh(1, "none");
    mesh.FreeTables();
    ProgressLog::calls.clear();
    mesh.UnifyOrientation(ProgressLog::Record);
    EXPECT_TRUE(ProgressLog::calls.empty());

    Mesh3d empty(1, "empty");
    empty.UnifyOrientation(ProgressLog::Record);
    ASSERT_EQ(ProgressLog::calls.size(), 1u);
    EXPECT_EQ(ProgressLog::calls[0], std::make_pair(0u, 0u));
}

TEST(UnifyOrientationTest, TablesFilledByHandAreReadSafely) {
    // Face and edge numbers that point past their tables are ignored (the
    // sanitizer build would report any read beyond them).
    Mesh3d mesh(1, "hand");
    mesh.AddTriangle(Tri({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    mesh.AddTriangle(Tri({1, 0, 0}, {1, 1, 0}, {0, 1, 0}));
    mesh.edges->AddFace(99, 0);
    mesh.edges->AddFace(-7, 1);
    mesh.faces->SetEdges(0, 1000, -3, 2);
    ProgressLog::calls.clear();
    mesh.UnifyOrientation(ProgressLog::Record);
    EXPECT_EQ(ProgressLog::calls.back(), std::make_pair(2u, 2u));
}

}  // namespace plugins
