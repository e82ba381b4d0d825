// The tables must come out exactly as the design builds them, triangle by
// triangle, however the triangles arrive: one at a time or in batches of
// any size. The design's tables are kept here as plainly as they are
// described, with standard containers, and compared entry by entry with
// the mesh's after the same triangles.
#include <algorithm>
#include <array>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "framework/mesh.h"
#include "framework/triangle_feeder.h"

namespace plugins {

namespace {

// Bucket counts as the design derives them from the capacity hint.
std::uint32_t AtLeast2048(std::uint32_t b) {
    return b < 2048 ? 2048 : b;
}

struct ReferenceMesh {
    explicit ReferenceMesh(std::uint32_t hint)
        : vertexBuckets(AtLeast2048(hint * 2u * 7u / 10u)),
          faceBuckets(AtLeast2048(hint * 2u)),
          edgeBuckets(AtLeast2048(hint * 3u)) {}

    int Vertex(const Vector3d& p) {
        std::uint32_t h = HashBytes(0, &p.x, 8, vertexBuckets);
        h = HashBytes(h, &p.y, 8, vertexBuckets);
        h = HashBytes(h, &p.z, 8, vertexBuckets);
        for (int i : vertexChains[h]) {
            if (NearlyEqual(points[static_cast<std::size_t>(i)], p)) {
                return i;
            }
        }
        points.push_back(p);
        faceLists.emplace_back();
        vertexChains[h].insert(vertexChains[h].begin(), static_cast<int>(points.size()) - 1);
        return static_cast<int>(points.size()) - 1;
    }

    static std::uint32_t IntKey(std::vector<std::int32_t> k, std::uint32_t buckets) {
        std::sort(k.begin(), k.end());
        std::uint32_t h = 0;
        for (std::int32_t v : k) {
            h = HashBytes(h, &v, 4, buckets);
        }
        return h;
    }

    static std::vector<int> Sorted(std::vector<int> k) {
        std::sort(k.begin(), k.end());
        return k;
    }

    int Face(int a, int b, int c) {
        const std::uint32_t h = IntKey({a, b, c}, faceBuckets);
        for (int i : faceChains[h]) {
            const auto& f = faces[static_cast<std::size_t>(i)];
            if (Sorted({f[0], f[1], f[2]}) == Sorted({a, b, c})) {
                return i;
            }
        }
        faces.push_back({a, b, c, -1, -1, -1});
        faceChains[h].insert(faceChains[h].begin(), static_cast<int>(faces.size()) - 1);
        return static_cast<int>(faces.size()) - 1;
    }

    int Edge(int a, int b) {
        const std::uint32_t h = IntKey({a, b}, edgeBuckets);
        for (int i : edgeChains[h]) {
            const auto& e = edges[static_cast<std::size_t>(i)];
            if (Sorted({e[0], e[1]}) == Sorted({a, b})) {
                return i;
            }
        }
        edges.push_back({a, b, -1, -1});
        edgeChains[h].insert(edgeChains[h].begin(), static_cast<int>(edges.size()) - 1);
        return static_cast<int>(edges.size()) - 1;
    }

    void Add(const Triangle3d& t) {
        for (const Vector3d* p : {&t.P0, &t.P1, &t.P2}) {
            if (boundsUnset) {
                min = max = *p;
                boundsUnset = false;
            } else {
                min = {std::min(min.x, p->x), std::min(min.y, p->y), std::min(min.z, p->z)};
                max = {std::max(max.x, p->x), std::max(max.y, p->y), std::max(max.z, p->z)};
            }
        }
        const int a = Vertex(t.P0);
        const int b = Vertex(t.P1);
        const int c = Vertex(t.P2);
        const int f = Face(a, b, c);
        const int e[3] = {Edge(a, b), Edge(b, c), Edge(c, a)};
        for (int v : {a, b, c}) {
            auto& list = faceLists[static_cast<std::size_t>(v)];
            if (std::find(list.begin(), list.end(), f) == list.end()) {
                list.insert(list.begin(), f);
            }
        }
        for (int r = 0; r < 3; ++r) {
            faces[static_cast<std::size_t>(f)][3 + r] = e[r];
        }
        for (int edge : e) {
            auto& record = edges[static_cast<std::size_t>(edge)];
            (record[2] == -1 ? record[2] : record[3]) = f;
        }
    }

    std::uint32_t vertexBuckets, faceBuckets, edgeBuckets;
    std::vector<Vector3d> points;
    std::vector<std::vector<int>> faceLists;
    std::vector<std::array<int, 6>> faces;
    std::vector<std::array<int, 4>> edges;
    std::map<std::uint32_t, std::vector<int>> vertexChains, faceChains, edgeChains;
    bool boundsUnset = true;
    Vector3d min{}, max{};
};

bool SameBits(const Vector3d& a, const Vector3d& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void ExpectSameTables(const Mesh3d& mesh, const ReferenceMesh& ref) {
    ASSERT_EQ(mesh.vertices->Count(), static_cast<int>(ref.points.size()));
    ASSERT_EQ(mesh.faces->Count(), static_cast<int>(ref.faces.size()));
    ASSERT_EQ(mesh.edges->Count(), static_cast<int>(ref.edges.size()));
    for (std::size_t v = 0; v < ref.points.size(); ++v) {
        ASSERT_TRUE(SameBits(mesh.vertices->Point(static_cast<int>(v)), ref.points[v])) << v;
        std::vector<int> list;
        for (int f : mesh.vertices->FaceList(static_cast<int>(v))) {
            list.push_back(f);
        }
        ASSERT_EQ(list, ref.faceLists[v]) << "faces of vertex " << v;
    }
    for (std::size_t f = 0; f < ref.faces.size(); ++f) {
        const FaceRecord& r = mesh.faces->Record(static_cast<int>(f));
        const std::array<int, 6> got = {r.k[0], r.k[1], r.k[2], r.edge[0], r.edge[1], r.edge[2]};
        ASSERT_EQ(got, ref.faces[f]) << "face " << f;
    }
    for (std::size_t e = 0; e < ref.edges.size(); ++e) {
        const EdgeRecord& r = mesh.edges->Record(static_cast<int>(e));
        const std::array<int, 4> got = {r.k0, r.k1, r.f0, r.f1};
        ASSERT_EQ(got, ref.edges[e]) << "edge " << e;
    }
    EXPECT_EQ(mesh.boundsUnset, ref.boundsUnset ? 1 : 0);
    EXPECT_TRUE(SameBits(mesh.min, ref.min));
    EXPECT_TRUE(SameBits(mesh.max, ref.max));
}

// Triangles over a small pool of points, so that points, faces (in either
// winding) and edges repeat; with nearly equal points, both zeros, corners
// that repeat within a triangle, and a NaN now and then.
std::vector<Triangle3d> Soup(std::size_t count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<Vector3d> pool;
    std::uniform_int_distribution<int> coordinate(-20, 20);
    for (int i = 0; i < 400; ++i) {
        pool.push_back({coordinate(rng) * 0.25, coordinate(rng) * 0.5, coordinate(rng) * 0.125});
    }
    pool.push_back({5e-7, 0.0, 0.0});
    pool.push_back({0.0, -0.0, 0.0});
    pool.push_back({-0.0, 0.0, 0.0});
    pool.push_back({std::nan(""), 1.0, 2.0});
    std::uniform_int_distribution<std::size_t> pick(0, pool.size() - 1);
    std::vector<Triangle3d> soup;
    while (soup.size() < count) {
        const std::size_t a = pick(rng);
        const std::size_t b = rng() % 16 == 0 ? a : pick(rng);
        const std::size_t c = pick(rng);
        soup.push_back({pool[a], pool[b], pool[c]});
        if (rng() % 8 == 0 && soup.size() < count) {
            soup.push_back({pool[c], pool[b], pool[a]});  // the same face reversed
        }
    }
    return soup;
}

TEST(AddTriangles, BuildsTheDesignsTablesInBatchesOfAnySize) {
    const struct {
        std::size_t triangles;
        std::uint32_t hint;
        std::size_t batch;  // 0: one AddTriangle call per triangle
    } cases[] = {
        {0, 1, 16},           // nothing added: bounds stay unset
        {1, 1, 0},            // one triangle
        {300, 1, 0},          // one by one, small buckets: long chains
        {300, 1, 1},          //
        {1000, 1, 7},         // batches that do not divide the rounds
        {1000, 1, 128},       //
        {1000, 1, 129},       //
        {5000, 1, 5000},      // one batch
        {5000, 100000, 333},  // many buckets: sparse heads that turn into an array
        {20000, 20000, 1000},
    };
    unsigned seed = 1;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.triangles) + " triangles, hint " + std::to_string(c.hint) +
                     ", batch " + std::to_string(c.batch));
        const std::vector<Triangle3d> soup = Soup(c.triangles, seed++);
        ReferenceMesh ref(c.hint);
        Mesh3d mesh(c.hint, "soup");
        for (const Triangle3d& t : soup) {
            ref.Add(t);
        }
        if (c.batch == 0) {
            for (const Triangle3d& t : soup) {
                mesh.AddTriangle(t);
            }
        } else {
            for (std::size_t at = 0; at < soup.size(); at += c.batch) {
                AddTriangles(mesh, soup.data() + at, std::min(c.batch, soup.size() - at));
            }
        }
        ExpectSameTables(mesh, ref);
    }
}

// The vertex half of each batch on this thread, the face half on another,
// one batch behind at least: the tables come out the same.
TEST(AddTriangles, HalvesOnTwoThreadsBuildTheSameTables) {
    const std::vector<Triangle3d> soup = Soup(20000, 77);
    ReferenceMesh ref(5000);
    for (const Triangle3d& t : soup) {
        ref.Add(t);
    }
    Mesh3d mesh(5000, "two threads");
    constexpr std::size_t kBatch = 300;
    std::mutex lock;
    std::condition_variable ready;
    std::deque<std::vector<std::int32_t>> queue;
    bool finished = false;
    std::thread faces([&] {
        for (;;) {
            std::unique_lock<std::mutex> hold(lock);
            ready.wait(hold, [&] { return finished || !queue.empty(); });
            if (queue.empty()) {
                return;
            }
            std::vector<std::int32_t> numbers = std::move(queue.front());
            queue.pop_front();
            hold.unlock();
            AddTriangleFaces(mesh, numbers.data(), numbers.size() / 3);
        }
    });
    for (std::size_t at = 0; at < soup.size(); at += kBatch) {
        const std::size_t n = std::min(kBatch, soup.size() - at);
        std::vector<std::int32_t> numbers(3 * n);
        FindTriangleVertices(mesh, soup.data() + at, n, numbers.data());
        std::lock_guard<std::mutex> hold(lock);
        queue.push_back(std::move(numbers));
        ready.notify_one();
    }
    {
        std::lock_guard<std::mutex> hold(lock);
        finished = true;
        ready.notify_one();
    }
    faces.join();
    ExpectSameTables(mesh, ref);
}

// Triangles for two meshes in runs of any length, with the second thread
// on (its queue as deep as in use; three batches deep, where the reader may
// do lookups itself from one waiting batch on; one batch deep, where it
// waits) and off, and a Finish in the middle: each mesh gets its own
// triangles in their order.
TEST(TriangleFeeder, EachMeshGetsItsTrianglesInOrder) {
    struct Case {
        bool useThread;
        std::size_t inFlight;
    };
    for (const Case& c :
         {Case{true, TriangleFeeder::kInFlight}, Case{true, 3}, Case{true, 1}, Case{false, 1}}) {
        const bool useThread = c.useThread;
        SCOPED_TRACE(testing::Message()
                     << (useThread ? "two threads, " : "one thread, ") << c.inFlight);
        const std::vector<Triangle3d> soup = Soup(30000, 5);
        // Runs of triangles for one mesh or the other, in two halves.
        struct Run {
            std::size_t at;
            std::size_t length;
            int target;
        };
        std::vector<Run> halves[2];
        std::mt19937 rng(11);
        for (std::size_t at = 0; at < soup.size();) {
            const std::size_t run = std::min<std::size_t>(1 + rng() % 3000, soup.size() - at);
            halves[at < soup.size() / 2 ? 0 : 1].push_back({at, run, static_cast<int>(rng() % 2)});
            at += run;
        }
        ReferenceMesh ref[2] = {ReferenceMesh(3000), ReferenceMesh(3000)};
        Mesh3d a(3000, "a");
        Mesh3d b(3000, "b");
        Mesh3d* meshes[2] = {&a, &b};
        TriangleFeeder feeder(useThread, c.inFlight);
        for (const std::vector<Run>& half : halves) {
            // The reference first, so that the triangles then reach the
            // feeder faster than its thread adds them.
            for (const Run& r : half) {
                for (std::size_t i = r.at; i < r.at + r.length; ++i) {
                    ref[r.target].Add(soup[i]);
                }
            }
            for (const Run& r : half) {
                for (std::size_t i = r.at; i < r.at + r.length; ++i) {
                    feeder.Add(*meshes[r.target], soup[i]);
                }
            }
            feeder.Finish();
            ExpectSameTables(a, ref[0]);
            ExpectSameTables(b, ref[1]);
        }
    }
}

TEST(AddTriangles, DoesNothingWithoutTables) {
    Mesh3d mesh(1, "compact");
    mesh.FreeTables();
    const Triangle3d t{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    AddTriangles(mesh, &t, 1);
    EXPECT_EQ(mesh.boundsUnset, 1);
    EXPECT_EQ(mesh.vertices, nullptr);
}

}  // namespace

}  // namespace plugins
