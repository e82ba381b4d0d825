// Ear clipping of single polygons.
#include <array>
#include <cstdint>
#include <vector>

#include <gtest/gtest.h>

#include "objread/triangulate.h"

namespace plugins {

namespace {

using Tri = std::array<std::uint32_t, 3>;

std::vector<Tri> Triangulate(const std::vector<Vector3d>& points,
                             std::vector<std::uint32_t> corners) {
    std::vector<Tri> triangles;
    std::uint32_t count = static_cast<std::uint32_t>(corners.size());
    std::uint32_t t[3];
    while (objread::TriangulateStep(corners.data(), count, points.data(), t)) {
        triangles.push_back({t[0], t[1], t[2]});
    }
    return triangles;
}

std::vector<std::uint32_t> Iota(std::uint32_t n) {
    std::vector<std::uint32_t> v(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        v[i] = i;
    }
    return v;
}

TEST(TriangulateStep, CutsPolygonsIntoEarsInsideThem) {
    struct Case {
        const char* name;
        std::vector<Vector3d> points;
        std::vector<Tri> triangles;
    };
    const Case cases[] = {
        {"square", {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}}, {{0, 1, 2}, {0, 2, 3}}},
        // The L: corner 3 is reflex, so every ear is cut from corner 0.
        {"L shape",
         {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {1, 1, 0}, {1, 2, 0}, {0, 2, 0}},
         {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 5}}},
        // An L standing upright in the y-z plane, wound the other way; the
        // four triangles cover its area of 3 exactly and stay inside it.
        {"L shape in yz, reversed",
         {{0, 0, 2}, {0, 1, 2}, {0, 1, 1}, {0, 2, 1}, {0, 2, 0}, {0, 0, 0}},
         {{0, 1, 2}, {2, 3, 4}, {2, 4, 5}, {0, 2, 5}}},
        {"collinear triangle", {{0, 0, 0}, {1, 1, 1}, {2, 2, 2}}, {}},
        {"triangle", {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 2}}},
        // A concave arrow head: the reflex corner 2 must never be an ear tip's
        // neighbour that leaves the polygon.
        {"arrow", {{0, 0, 0}, {4, 2, 0}, {0, 4, 0}, {1, 2, 0}}, {{1, 2, 3}, {0, 1, 3}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Triangulate(c.points, Iota(static_cast<std::uint32_t>(c.points.size()))),
                  c.triangles);
    }
}

TEST(TriangulateStep, StopsOnDegenerateRestAndShortPolygons) {
    // Four collinear corners offer no ear at all.
    const std::vector<Vector3d> line = {{0, 0, 0}, {1, 0, 0}, {2, 0, 0}, {3, 0, 0}};
    EXPECT_TRUE(Triangulate(line, Iota(4)).empty());
    EXPECT_TRUE(Triangulate(line, {0, 1}).empty());
    EXPECT_TRUE(Triangulate(line, {}).empty());
}

TEST(PointInPolygon, InsideOutsideAndOnACorner) {
    const std::vector<Vector3d> square = {{0, 0, 5}, {2, 0, 5}, {2, 2, 5}, {0, 2, 5}};
    const std::uint32_t corners[] = {0, 1, 2, 3};
    EXPECT_TRUE(objread::PointInPolygon(corners, square.data(), 4, {1, 1, 5}));
    EXPECT_FALSE(objread::PointInPolygon(corners, square.data(), 4, {3, 1, 5}));
    EXPECT_FALSE(objread::PointInPolygon(corners, square.data(), 4, {0, 0, 5}));
}

}  // namespace

}  // namespace plugins
