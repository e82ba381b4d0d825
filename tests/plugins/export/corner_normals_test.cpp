#include "export/corner_normals.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

#include <gtest/gtest.h>

#include "export/mesh_access.h"
#include "mesh_fixtures.h"

namespace plugins {

namespace {

using exporttest::BumpyGrid;
using exporttest::CubeTriangles;
using exporttest::MakeTableMesh;
using exporttest::MeshPtr;

bool Near(const Vector3d& a, const Vector3d& b) {
    return std::fabs(a.x - b.x) < 1e-12 && std::fabs(a.y - b.y) < 1e-12 &&
           std::fabs(a.z - b.z) < 1e-12;
}

bool SameBits(const CornerTriple& a, const CornerTriple& b) {
    return std::memcmp(a.data(), b.data(), sizeof(CornerTriple)) == 0;
}

// Normal of the cube side a face lies on, from the coordinate all three of
// its corners share.
Vector3d SideNormal(const Triangle3d& t) {
    if (t.P0.x == t.P1.x && t.P1.x == t.P2.x) {
        return {t.P0.x == 0 ? -1.0 : 1.0, 0, 0};
    }
    if (t.P0.y == t.P1.y && t.P1.y == t.P2.y) {
        return {0, t.P0.y == 0 ? -1.0 : 1.0, 0};
    }
    return {0, 0, t.P0.z == 0 ? -1.0 : 1.0};
}

bool Touches(const Triangle3d& t, const Vector3d& p) {
    auto same = [&](const Vector3d& q) { return q.x == p.x && q.y == p.y && q.z == p.z; };
    return same(t.P0) || same(t.P1) || same(t.P2);
}

TEST(CornerNormals, CubeIsFlatUpToNinetyDegreesAndFullySmoothAbove) {
    MeshPtr cube(MakeTableMesh("cube", CubeTriangles()));
    ASSERT_EQ(FaceCount(*cube), 12);
    for (double angle : {0.0, 70.0, -70.0, 100.0, -100.0}) {
        for (int f = 0; f < 12; ++f) {
            const Triangle3d t = cube->GetTriangle(f);
            const CornerTriple corners = CornerNormals(*cube, f, angle);
            const Vector3d points[3] = {t.P0, t.P1, t.P2};
            for (int r = 0; r < 3; ++r) {
                Vector3d expected = SideNormal(t);
                if (std::fabs(angle) > 90.0) {
                    // Every triangle at the vertex counts, so a side whose
                    // two triangles both touch it counts twice.
                    Vector3d sum{0, 0, 0};
                    for (int g = 0; g < 12; ++g) {
                        const Triangle3d other = cube->GetTriangle(g);
                        if (Touches(other, points[r])) {
                            sum = Add(sum, SideNormal(other));
                        }
                    }
                    expected = Normalize(sum);
                }
                EXPECT_TRUE(Near(corners[r], expected))
                    << "angle " << angle << " face " << f << " corner " << r << ": " << corners[r].x
                    << ", " << corners[r].y << ", " << corners[r].z;
            }
        }
    }
}

TEST(CornerNormals, SidesCountOncePerTriangleAtTheVertex) {
    // Vertex (1,0,0) is touched by one triangle of the z = 0 side, one of the
    // y = 0 side and both of the x = 1 side: the smoothed normal weighs the
    // sides 1 : 1 : 2.
    MeshPtr cube(MakeTableMesh("cube", CubeTriangles()));
    const Triangle3d first = cube->GetTriangle(0);
    ASSERT_EQ(first.P1.x, 1.0);
    ASSERT_EQ(first.P1.y + first.P1.z, 0.0);
    const Vector3d n = CornerNormals(*cube, 0, 100.0)[1];
    const double len = std::sqrt(6.0);
    EXPECT_TRUE(Near(n, {2.0 / len, -1.0 / len, -1.0 / len})) << n.x << " " << n.y << " " << n.z;
}

TEST(CornerNormals, CachedSourceGivesTheSameBitsAsTheDirectComputation) {
    MeshPtr grid(MakeTableMesh("grid", BumpyGrid(12)));
    MeshPtr cube(MakeTableMesh("cube", CubeTriangles()));
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // 90 is exactly the angle between cube sides: decided on the boundary.
    for (double angle :
         {0.0, 5e-7, 1e-6, 5.0, 20.0, 45.0, 70.0, 90.0, 100.0, 179.99, 180.0, 250.0, -20.0, nan}) {
        for (const Mesh3d* mesh : {grid.get(), cube.get()}) {
            const ExportMesh lean = ExportMesh::FromTables(*mesh);
            const CornerNormalSource source(lean, angle);
            for (int f = 0; f < FaceCount(*mesh); ++f) {
                ASSERT_TRUE(SameBits(source.Corners(f), CornerNormals(*mesh, f, angle)))
                    << mesh->name << " angle " << angle << " face " << f;
            }
        }
    }
}

// A mesh large enough that the face normals are computed on two threads.
TEST(CornerNormals, CachedSourceOfALargeMeshGivesTheSameBits) {
    MeshPtr grid(MakeTableMesh("grid", BumpyGrid(190)));
    ASSERT_GT(FaceCount(*grid), 1 << 16);
    const ExportMesh lean = ExportMesh::FromTables(*grid);
    const CornerNormalSource source(lean, 40.0);
    for (int f = 0; f < FaceCount(*grid); ++f) {
        ASSERT_TRUE(SameBits(source.Corners(f), CornerNormals(*grid, f, 40.0))) << f;
    }
}

TEST(CornerNormals, NegativeAngleSmoothsLikeItsAbsoluteValue) {
    MeshPtr grid(MakeTableMesh("grid", BumpyGrid(6)));
    bool some_smoothed = false;
    for (int f = 0; f < FaceCount(*grid); ++f) {
        const CornerTriple negative = CornerNormals(*grid, f, -30.0);
        ASSERT_TRUE(SameBits(negative, CornerNormals(*grid, f, 30.0)));
        for (const Vector3d& n : negative) {
            EXPECT_NEAR(Length(n), 1.0, 1e-12);
        }
        const Vector3d own = FaceNormal(grid->GetTriangle(f));
        some_smoothed = some_smoothed || !Near(negative[0], own);
    }
    EXPECT_TRUE(some_smoothed);
}

TEST(CornerNormals, NoTablesOrBadFaceGiveZeroVectors) {
    MeshPtr cube(MakeTableMesh("cube", CubeTriangles()));
    const CornerTriple zero{};
    EXPECT_TRUE(SameBits(CornerNormals(*cube, 12, 70.0), zero));
    EXPECT_TRUE(SameBits(CornerNormals(*cube, -1, 70.0), zero));
    const ExportMesh lean = ExportMesh::FromTables(*cube);
    EXPECT_TRUE(SameBits(CornerNormalSource(lean, 70.0).Corners(12), zero));
    EXPECT_TRUE(SameBits(CornerNormalSource(lean, 70.0).Corners(-1), zero));
    cube->Compact();
    cube->FreeTables();
    EXPECT_TRUE(SameBits(CornerNormals(*cube, 0, 70.0), zero));
    const ExportMesh empty = ExportMesh::FromTables(*cube);
    EXPECT_TRUE(SameBits(CornerNormalSource(empty, 70.0).Corners(0), zero));
}

}  // namespace

}  // namespace plugins
