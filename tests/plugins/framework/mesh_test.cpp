#include "framework/mesh.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/log_file.h"
#include "support/temp_dir.h"

namespace plugins {

namespace {

Triangle3d Tri(Vector3d a, Vector3d b, Vector3d c) {
    return Triangle3d{a, b, c};
}

FaceVertices FaceOf(const Mesh3d& mesh, int i) {
    FaceVertices f{-9, -9, -9};
    EXPECT_EQ(mesh.faces->Get(i, f), 0);
    return f;
}

EdgeFaces FacesOfEdge(const Mesh3d& mesh, int a, int b) {
    for (int e = 0; e < mesh.edges->Count(); ++e) {
        EdgeVertices v{};
        mesh.edges->Get(e, v);
        if ((v.k0 == a && v.k1 == b) || (v.k0 == b && v.k1 == a)) {
            EdgeFaces f{};
            mesh.edges->Faces(e, f);
            return f;
        }
    }
    ADD_FAILURE() << "no edge " << a << "-" << b;
    return {-9, -9};
}

std::vector<int> FacesOfVertex(const Mesh3d& mesh, int v) {
    std::vector<int> list;
    for (int f : mesh.vertices->FaceList(v)) {
        list.push_back(f);
    }
    return list;
}

bool SameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// Vector operations

TEST(VectorTest, AnglesCoverTheirFixedCases) {
    struct Case {
        Vector3d a, b;
        double degrees, radians;
    } cases[] = {
        {{1, 0, 0}, {0, 0, 0}, 0.0, 0.0},                   // zero length
        {{1, 0, 0}, {2, 0, 0}, 0.0, 0.0},                   // same direction
        {{1, 0, 0}, {-3, 0, 0}, 180.0, 3.141592653589793},  // opposite
        {{1, 0, 0}, {0, 5, 0}, 90.0, std::acos(0.0)},       // perpendicular
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(AngleDegrees(c.a, c.b), c.degrees);
        EXPECT_DOUBLE_EQ(AngleRadians(c.a, c.b), c.radians);
    }
    // The degree factor is the fixed constant, not a computed 180 / pi.
    EXPECT_TRUE(SameBits(AngleDegrees({1, 0, 0}, {0, 1, 0}), std::acos(0.0) * 57.29577951308232));
}

TEST(VectorTest, NormalCentroidAndTolerance) {
    // Clockwise seen from above: the normal points up.
    const Vector3d n = FaceNormal(Tri({0, 0, 0}, {0, 1, 0}, {1, 0, 0}));
    EXPECT_EQ(n.x, 0.0);
    EXPECT_EQ(n.y, 0.0);
    EXPECT_EQ(n.z, 1.0);
    // A degenerate triangle keeps its zero normal.
    const Vector3d zero = FaceNormal(Tri({1, 1, 1}, {1, 1, 1}, {2, 2, 2}));
    EXPECT_EQ(Length(zero), 0.0);

    const Vector3d c = Centroid(Tri({1, 0, 0}, {0, 0, 0}, {0, 0, 3}));
    EXPECT_TRUE(SameBits(c.x, 0.3333333333333333));
    EXPECT_TRUE(SameBits(c.z, 3 * 0.3333333333333333));

    EXPECT_TRUE(NearlyEqual({0, 0, 0}, {5e-7, -5e-7, 9.99e-7}));
    EXPECT_FALSE(NearlyEqual({0, 0, 0}, {0, 1e-6, 0}));
    EXPECT_FALSE(NearlyEqual({0, 0, 0}, {0, 0, NAN}));
}

// Finite corners always give a finite normal, however large or small: the
// edge vectors are brought into range before their cross product.
TEST(VectorTest, FaceNormalOfExtremeButFiniteTriangles) {
    struct Case {
        const char* name;
        Triangle3d t;
        Vector3d normal;
    } cases[] = {
        {"ordinary", Tri({0, 0, 0}, {0, 1, 0}, {1, 0, 0}), {0, 0, 1}},
        {"huge", Tri({1e200, 0, 0}, {0, 0, 0}, {0, 1e200, 0}), {0, 0, 1}},
        {"near the largest double",
         Tri({1.7e308, 0, 0}, {-1.7e308, 0, 0}, {0, 1.7e308, 0}),
         {0, 0, 1}},
        {"tiny", Tri({1e-200, 0, 0}, {0, 0, 0}, {0, 1e-200, 0}), {0, 0, 1}},
        {"huge, no area", Tri({1e200, 1e200, 0}, {-1e200, -1e200, 0}, {0, 0, 0}), {0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Vector3d n = FaceNormal(c.t);
        EXPECT_EQ(n.x, c.normal.x);
        EXPECT_EQ(n.y, c.normal.y);
        EXPECT_EQ(n.z, c.normal.z);
    }
}

// The normal's range check takes the largest magnitude of the coordinates
// as std::fmax does: the same value bit for bit, a NaN passed over for the
// other operand.
TEST(VectorTest, LargerIsFmaxOfMagnitudes) {
    const double values[] = {0.0, 1.0, 1e300, 1e-300, 5e-324, INFINITY, NAN};
    for (double a : values) {
        for (double b : values) {
            const double expected = std::fmax(a, b);
            const double got = vector3d_detail::Larger(a, b);
            if (std::isnan(expected)) {
                EXPECT_TRUE(std::isnan(got)) << a << " " << b;
            } else {
                EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << a << " " << b;
            }
        }
    }
}

// ---------------------------------------------------------------------------
// Hashing and the tables

TEST(MeshTablesTest, HashBytesWidensSignedBytesAndChainsSeeds) {
    const unsigned char bytes[] = {0x01, 0xFF};
    // 0 * 31 + 1 = 1; 1 * 31 + (-1) = 30.
    EXPECT_EQ(HashBytes(0, bytes, 2, 1000), 30u);
    // The product wraps at 2^32 before the modulus.
    const unsigned char one[] = {0x05};
    EXPECT_EQ(HashBytes(0x80000000u, one, 1, 0xFFFFFFFFu), (0x80000000u * 31u + 5u) % 0xFFFFFFFFu);
    EXPECT_EQ(HashBytes(7, nullptr, 0, 5), 2u);
}

namespace {

std::uint32_t VertexBucket(const Vector3d& p, std::uint32_t buckets) {
    std::uint32_t h = HashBytes(0, &p.x, 8, buckets);
    h = HashBytes(h, &p.y, 8, buckets);
    return HashBytes(h, &p.z, 8, buckets);
}

// A value of x in [from, from + span) whose point lands in bucket.
double FindX(double from, double span, std::uint32_t bucket, std::uint32_t buckets) {
    for (double x = from; x < from + span; x += 1e-11) {
        if (VertexBucket({x, 0, 0}, buckets) == bucket) {
            return x;
        }
    }
    ADD_FAILURE() << "no value for bucket " << bucket;
    return from;
}

}  // namespace

// Which points merge depends on the vertex buckets, so they are the
// design's. Faces and edges are found by their vertex numbers exactly, which
// no bucket layout changes; the lookups themselves are tested below and
// against the design's tables in add_triangles_test.cpp.
TEST(MeshTablesTest, VertexBucketsAreHashBytesOverTheCoordinates) {
    // Hints that give the minimum bucket count and larger, odd counts.
    for (std::uint64_t hint : {1u, 5000u, 77777u}) {
        VertexTable vertices(hint);
        const auto n = static_cast<std::uint32_t>(hint);
        const std::uint32_t vb = std::max<std::uint32_t>(n * 2u * 7u / 10u, 2048u);
        std::mt19937 rng(static_cast<unsigned>(hint));
        std::uniform_real_distribution<double> coordinate(-1e6, 1e6);
        for (int i = 0; i < 2000; ++i) {
            const Vector3d p{coordinate(rng), -coordinate(rng) * 1e-9, coordinate(rng) * 1e100};
            EXPECT_EQ(vertices.BucketOf(p), VertexBucket(p, vb));
        }
    }
}

TEST(MeshTablesTest, VertexMergeFollowsBucketsAndPrefersTheNewest) {
    // A hint of 1 gives the minimum of 2048 buckets.
    constexpr std::uint32_t kBuckets = 2048;
    const double q = 1.0;
    const std::uint32_t bucket = VertexBucket({q, 0, 0}, kBuckets);
    const double below = FindX(q - 0.99e-6, 0.39e-6, bucket, kBuckets);
    const double above = FindX(q + 0.41e-6, 0.39e-6, bucket, kBuckets);
    ASSERT_GE(above - below, 1e-6);  // far enough apart to stay two vertices

    VertexTable table(1);
    EXPECT_EQ(table.FindOrAdd({below, 0, 0}), 0);
    EXPECT_EQ(table.FindOrAdd({above, 0, 0}), 1);
    // q is within the tolerance of both; the newer one wins.
    EXPECT_EQ(table.FindOrAdd({q, 0, 0}), 1);
    EXPECT_EQ(table.Count(), 2);

    // Nearly equal points in different buckets stay apart: +0 and -0 differ
    // in their sign byte.
    const Vector3d plus{0.0, 0.0, 0.0};
    const Vector3d minus{-0.0, 0.0, 0.0};
    ASSERT_NE(VertexBucket(plus, kBuckets), VertexBucket(minus, kBuckets));
    const int a = table.FindOrAdd(plus);
    EXPECT_NE(table.FindOrAdd(minus), a);
    EXPECT_EQ(table.FindOrAdd(plus), a);
}

TEST(MeshTablesTest, TablesGrowPastTheirHintAndKeepNumbering) {
    VertexTable vertices(1);
    FaceTable faces(1);
    EdgeTable edges(1);
    // Numbers far apart and negative ones too: tables filled by hand may
    // hold any int.
    auto far = [](int i) { return (i % 2 == 0 ? 1 : -1) * (i * 4099 + 7); };
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(vertices.FindOrAdd({double(i), 0.5 * i, -1.0 * i}), i);
        ASSERT_EQ(faces.FindOrAdd(i, i + 1, i + 2), 2 * i);
        ASSERT_EQ(faces.FindOrAdd(far(i), i, far(i + 1)), 2 * i + 1);
        ASSERT_EQ(edges.FindOrAdd(i + 1, i), 2 * i);
        ASSERT_EQ(edges.FindOrAdd(far(i), i), 2 * i + 1);
    }
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(vertices.FindOrAdd({double(i), 0.5 * i, -1.0 * i}), i);
        ASSERT_EQ(faces.FindOrAdd(i + 2, i, i + 1), 2 * i);
        ASSERT_EQ(faces.FindOrAdd(i, far(i + 1), far(i)), 2 * i + 1);
        ASSERT_EQ(edges.FindOrAdd(i, i + 1), 2 * i);
        ASSERT_EQ(edges.FindOrAdd(i, far(i)), 2 * i + 1);
    }
    Vector3d p{};
    ASSERT_EQ(vertices.Get(4999, p), 0);
    EXPECT_EQ(p.x, 4999.0);
    EdgeVertices e{};
    ASSERT_EQ(edges.Get(14, e), 0);
    EXPECT_EQ(e.k0, 8);  // stored as first given
    EXPECT_EQ(e.k1, 7);
}

// The hint fixes the bucket counts but not the memory: a file of many small
// groups gives every group's mesh the hint of the whole file.
TEST(MeshTablesTest, MemoryFollowsTheEntriesNotTheHint) {
    for (std::uint64_t hint : {std::uint64_t{1}, std::uint64_t{1} << 20, std::uint64_t{INT_MAX}}) {
        SCOPED_TRACE(hint);
        Mesh3d mesh(hint, "small");
        mesh.AddTriangle(Tri({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
        const std::size_t held =
            mesh.vertices->HeldBytes() + mesh.faces->HeldBytes() + mesh.edges->HeldBytes();
        EXPECT_LT(held, 4096u);
    }
    // A table that fills up takes its full bucket array and keeps finding
    // every entry it held before.
    VertexTable table(std::uint64_t{1} << 20);
    std::vector<Vector3d> points;
    for (int i = 0; i < 200'000; ++i) {
        points.push_back({i * 0.5, -i * 0.25, 1e-3 * i});
        ASSERT_EQ(table.FindOrAdd(points.back()), i);
    }
    for (int i = 0; i < 200'000; ++i) {
        ASSERT_EQ(table.FindOrAdd(points[static_cast<std::size_t>(i)]), i);
    }
    EXPECT_LT(table.HeldBytes(), std::size_t{200'000} * 128);
}

TEST(MeshTablesTest, AccessorsRejectNumbersOutOfRange) {
    VertexTable vertices(4);
    FaceTable faces(4);
    EdgeTable edges(4);
    vertices.FindOrAdd({1, 2, 3});
    faces.FindOrAdd(0, 0, 0);
    edges.FindOrAdd(0, 0);

    Vector3d p{7, 7, 7};
    FaceVertices f{7, 7, 7};
    EdgeVertices ev{7, 7};
    EdgeFaces ef{7, 7};
    for (int i : {-1, 1, INT_MAX}) {
        EXPECT_EQ(vertices.Get(i, p), -1);
        EXPECT_EQ(vertices.AddFaceRef(0, i), -1);
        EXPECT_TRUE(vertices.FaceList(i).empty());
        EXPECT_EQ(faces.Get(i, f), -1);
        EXPECT_EQ(edges.Get(i, ev), -1);
        EXPECT_EQ(edges.Faces(i, ef), -1);
        EXPECT_EQ(edges.AddFace(0, i), -1);
        faces.Flip(i);
    }
    EXPECT_EQ(p.x, 7.0);
    EXPECT_EQ(f.k0, 7);
    EXPECT_EQ(ev.k0, 7);
    EXPECT_EQ(ef.f0, 7);
}

// ---------------------------------------------------------------------------
// Mesh3d in table form

TEST(MeshTest, TwoTrianglesSharingAnEdge) {
    Mesh3d mesh(10, "quad");
    mesh.AddTriangle(Tri({0, 0, 0}, {1, 0, 0}, {1, 1, 0}));
    mesh.AddTriangle(Tri({0, 0, 0}, {1, 1, 0}, {0, 1, 0}));

    EXPECT_EQ(mesh.vertices->Count(), 4);
    EXPECT_EQ(mesh.faces->Count(), 2);
    EXPECT_EQ(mesh.edges->Count(), 5);
    const FaceVertices second = FaceOf(mesh, 1);
    EXPECT_EQ(second.k0, 0);
    EXPECT_EQ(second.k1, 2);
    EXPECT_EQ(second.k2, 3);

    const EdgeFaces shared = FacesOfEdge(mesh, 0, 2);
    EXPECT_EQ(shared.f0, 0);
    EXPECT_EQ(shared.f1, 1);
    const EdgeFaces outer = FacesOfEdge(mesh, 2, 3);
    EXPECT_EQ(outer.f0, 1);
    EXPECT_EQ(outer.f1, -1);

    // Per-vertex face lists: newest first, each face once.
    EXPECT_EQ(FacesOfVertex(mesh, 0), (std::vector<int>{1, 0}));
    EXPECT_EQ(FacesOfVertex(mesh, 1), (std::vector<int>{0}));
    EXPECT_EQ(FacesOfVertex(mesh, 3), (std::vector<int>{1}));

    const Triangle3d t = mesh.GetTriangle(1);
    EXPECT_EQ(t.P1.x, 1.0);
    EXPECT_EQ(t.P2.y, 1.0);
    EXPECT_EQ(mesh.GetTriangle(2).P0.x, 0.0);  // no face 2: all zero
}

TEST(MeshTest, RepeatedAndCrowdedTriangles) {
    Mesh3d mesh(1, "fan");
    const Vector3d a{0, 0, 0}, b{1, 0, 0}, c{0, 1, 0}, d{0, 0, 1}, e{0, -1, 0};
    mesh.AddTriangle(Tri(a, b, c));
    mesh.AddTriangle(Tri(c, b, a));  // reversed winding: the same face
    EXPECT_EQ(mesh.faces->Count(), 1);
    EXPECT_EQ(FaceOf(mesh, 0).k0, 0);  // the first winding stays
    // Adding the face again records it once more on its edges.
    EXPECT_EQ(FacesOfEdge(mesh, 0, 1).f1, 0);
    EXPECT_EQ(FacesOfVertex(mesh, 0), (std::vector<int>{0}));

    // A third and fourth face on the edge a-b overwrite the second slot.
    mesh.AddTriangle(Tri(a, b, d));
    mesh.AddTriangle(Tri(b, a, e));
    const EdgeFaces ab = FacesOfEdge(mesh, 0, 1);
    EXPECT_EQ(ab.f0, 0);
    EXPECT_EQ(ab.f1, 2);
    EXPECT_EQ(FacesOfVertex(mesh, 0), (std::vector<int>{2, 1, 0}));

    // Coinciding corners are kept as a face whose edge joins a vertex to itself.
    mesh.AddTriangle(Tri(d, d, e));
    EXPECT_EQ(mesh.faces->Count(), 4);
    EXPECT_EQ(FacesOfEdge(mesh, 3, 3).f0, 3);
}

TEST(MeshTest, BoundsStartAtTheFirstPoint) {
    Mesh3d mesh(1, "bounds");
    EXPECT_EQ(mesh.boundsUnset, 1);
    mesh.AddTriangle(Tri({-5, -6, -7}, {-5, -6, -7}, {-4, -9, -7}));
    EXPECT_EQ(mesh.boundsUnset, 0);
    EXPECT_EQ(mesh.min.x, -5.0);
    EXPECT_EQ(mesh.min.y, -9.0);
    EXPECT_EQ(mesh.max.x, -4.0);  // not held at the initial 0
    EXPECT_EQ(mesh.max.z, -7.0);
}

TEST(MeshTest, WithoutTablesNothingHappens) {
    Mesh3d mesh(1, "bare");
    mesh.AddTriangle(Tri({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
    mesh.FreeTables();
    EXPECT_EQ(mesh.vertices, nullptr);
    mesh.AddTriangle(Tri({5, 5, 5}, {6, 5, 5}, {5, 6, 5}));
    EXPECT_EQ(mesh.max.x, 1.0);
    EXPECT_EQ(mesh.GetTriangle(0).P1.x, 0.0);
    mesh.FreeTables();  // twice is harmless
}

TEST(MeshTest, NamesAndTransform) {
    Mesh3d mesh(1, "first");
    EXPECT_STREQ(mesh.name, "first");
    EXPECT_EQ(mesh.type, 0);
    mesh.SetName("second");
    EXPECT_STREQ(mesh.name, "second");
    mesh.SetName(nullptr);
    EXPECT_STREQ(mesh.name, "");
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            EXPECT_EQ(mesh.transform.m[r][c], r == c ? 1.0 : 0.0);
        }
    }
}

TEST(MeshDeathTest, CopyingAnObjectEndsTheProcess) {
    EXPECT_EXIT(
        {
            Mesh3d mesh(1, "m");
            Mesh3d copy(mesh);
        },
        ::testing::ExitedWithCode(1), "internal error: Obj3d::Obj3d\\(const Obj3d &\\) called!");
}

TEST(MeshDeathTest, HintBeyondIntEndsTheProcess) {
    EXPECT_EXIT(Mesh3d(std::uint64_t{1} << 31, "huge"), ::testing::ExitedWithCode(1), "");
}

// ---------------------------------------------------------------------------
// ObjectList

namespace {

// An object of a kind the plug-ins do not handle; counts its destruction.
class Marker : public Obj3d {
  public:
    Marker(int& destroyed) : Obj3d("marker", 7), destroyed_(destroyed) {}
    ~Marker() override { ++destroyed_; }

  private:
    int& destroyed_;
};

std::vector<const char*>* g_released = nullptr;

void RecordRelease(Obj3d* object) {
    g_released->push_back(object->name);
}

}  // namespace

TEST(ObjectListTest, AppendGetAndDestroyInOrder) {
    Obj3d a("a", 3), b("b", 3), c("c", 3);
    std::vector<const char*> released;
    g_released = &released;
    {
        ObjectList list(RecordRelease);
        EXPECT_EQ(list.Get(0), nullptr);
        list.Destroy();  // empty: only clears
        list.Init(RecordRelease);
        list.Append(&a);
        list.Append(&b);
        list.Append(&c);
        EXPECT_EQ(list.Count(), 3);
        EXPECT_EQ(list.Get(0), &a);
        EXPECT_EQ(list.Get(2), &c);
        EXPECT_EQ(list.Get(3), nullptr);
        EXPECT_EQ(list.Get(-1), nullptr);
        list.Destroy();
        EXPECT_EQ(list.Count(), 0);
        EXPECT_EQ(list.head, nullptr);
        EXPECT_EQ(list.tail, nullptr);
        EXPECT_EQ(list.release, nullptr);
    }
    g_released = nullptr;
    ASSERT_EQ(released.size(), 3u);
    EXPECT_STREQ(released[0], "a");
    EXPECT_STREQ(released[2], "c");
}

TEST(ObjectListTest, ImportReleaseDeletesOnlyMeshes) {
    int destroyed = 0;
    Marker marker(destroyed);
    {
        ObjectList list(ReleaseMeshObject);
        list.Append(new Mesh3d(1, "one"));
        list.Append(&marker);
        auto* mesh = new Mesh3d(1, "two");
        mesh->AddTriangle(Tri({0, 0, 0}, {1, 0, 0}, {0, 1, 0}));
        mesh->Compact();
        list.Append(mesh);
    }  // the sanitizer build reports any mesh left behind
    EXPECT_EQ(destroyed, 0);
}

// ---------------------------------------------------------------------------
// Statistics

TEST(MeshTest, WriteStatisticsOnlyWithTables) {
    pluginsupport::TempDir dir;
    const std::string path = dir.File("stats.log");
    {
        LogFile log(path.c_str());
        Mesh3d mesh(4, "square");
        mesh.AddTriangle(Tri({0, 0, 0}, {1, 0, 0}, {1, 1, -0.5}));
        mesh.AddTriangle(Tri({0, 0, 0}, {1, 1, -0.5}, {0, 1, 0}));
        mesh.WriteStatistics(log);
        mesh.FreeTables();
        mesh.WriteStatistics(log);  // nothing without tables
    }
    std::ifstream in(path, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text,
              "Statistic:\n"
              "Object   : square\n"
              "Faces    : 2\n"
              "Vertices : 4\n"
              "Min : <0.000000,0.000000,-0.500000>\n"
              "Max : <1.000000,1.000000,0.000000>\n");
}

}  // namespace plugins
