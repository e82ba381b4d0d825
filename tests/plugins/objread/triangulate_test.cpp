// Ear clipping of single polygons.
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <random>
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

// The error bound that PointInPolygon's shortcut rests on, over the whole
// range, densely and right next to its ends.
TEST(ApproximateArcCosine, StaysWithinItsBoundOfAcos) {
    double worst = 0.0;
    auto check = [&](double c) {
        worst = std::max(worst, std::fabs(objread::ApproximateArcCosine(c) - std::acos(c)));
    };
    for (int i = -1000000; i <= 1000000; ++i) {
        check(i / 1000000.0 * 0.9999999);
    }
    for (double end : {1.0, -1.0}) {
        double c = end;
        for (int i = 0; i < 100000; ++i) {
            c = std::nextafter(c, 0.0);
            check(c);
        }
        for (double step = 1e-15; step < 1e-3; step *= 1.5) {
            check(end - std::copysign(step, end));
        }
    }
    EXPECT_LT(worst, objread::kArcCosineError / 2) << worst;
}

// The angle sum by its definition, edge by edge, each offset and length
// computed afresh: the sum of the unit normals of the edges' planes times
// the angles the edges subtend at x.
double AngleSumByDefinition(const std::vector<Vector3d>& points, const Vector3d& x) {
    Vector3d sum{0.0, 0.0, 0.0};
    const std::size_t n = points.size();
    for (std::size_t k = 0; k < n; ++k) {
        const Vector3d u = Subtract(x, points[k]);
        const Vector3d v = Subtract(x, points[(k + 1) % n]);
        sum = Add(sum, Scale(Normalize(Cross(u, v)), AngleRadians(u, v)));
    }
    return Length(sum);
}

// The shortcut must give the exact sum's answer everywhere, and above all
// where the two are close: points on and next to edges and corners, just
// off the plane, far off it, and polygons that are not flat. The exact sum
// itself must be its definition to the last bit, whatever it shares
// between edges.
TEST(PointInPolygon, AnswersAsTheExactAngleSumDoes) {
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    int closeCalls = 0;
    for (int polygon = 0; polygon < 3000; ++polygon) {
        const std::uint32_t n = 3 + rng() % 10;
        std::vector<Vector3d> points;
        const double bend = polygon % 3 == 0 ? 0.0 : 0.3 * unit(rng);
        for (std::uint32_t k = 0; k < n; ++k) {
            const double angle = 6.283185307179586 * k / n;
            const double r = (k % 2 == 1 && polygon % 4 == 1) ? 0.4 : 1.0 + 0.2 * unit(rng);
            points.push_back({r * std::cos(angle), r * std::sin(angle), bend * unit(rng)});
        }
        const std::vector<std::uint32_t> corners = Iota(n);
        for (int t = 0; t < 40; ++t) {
            Vector3d x{};
            switch (t % 4) {
                case 0:  // anywhere near
                    x = {1.5 * unit(rng), 1.5 * unit(rng), 0.5 * unit(rng)};
                    break;
                case 1: {  // on an edge, or a hair beside it
                    const Vector3d& a = points[rng() % n];
                    const Vector3d& b = points[rng() % n];
                    const double f = (unit(rng) + 1.0) / 2.0;
                    x = {a.x + f * (b.x - a.x) + 1e-9 * unit(rng),
                         a.y + f * (b.y - a.y) + 1e-9 * unit(rng), a.z + f * (b.z - a.z)};
                    break;
                }
                case 2:  // a corner
                    x = points[rng() % n];
                    break;
                default:  // off the plane by a little or a lot
                    x = {0.5 * unit(rng), 0.5 * unit(rng),
                         std::pow(10.0, -12 + static_cast<int>(rng() % 13))};
                    break;
            }
            const double sum = objread::PolygonAngleSum(corners.data(), points.data(), n, x);
            ASSERT_EQ(sum, AngleSumByDefinition(points, x))
                << "polygon " << polygon << ", point " << t;
            closeCalls += std::fabs(sum - objread::kHalfTurn) < 1e-3 ? 1 : 0;
            ASSERT_EQ(objread::PointInPolygon(corners.data(), points.data(), n, x),
                      sum > objread::kHalfTurn)
                << "polygon " << polygon << ", point " << t << ", sum " << sum;
        }
    }
    EXPECT_GT(closeCalls, 0);  // the exact path was taken too
}

}  // namespace

}  // namespace plugins
