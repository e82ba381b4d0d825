// Whole polygons: the kept-state search must cut exactly the triangles that
// the literal rule (TriangulateStep, repeated) cuts, on every kind of polygon.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "objread/ear_clipping.h"
#include "objread/triangulate.h"

namespace plugins {

namespace {

using objread::CornerTriangle;

std::vector<CornerTriangle> Literal(const std::vector<Vector3d>& points,
                                    std::vector<std::uint32_t> corners) {
    std::vector<CornerTriangle> triangles;
    std::uint32_t count = static_cast<std::uint32_t>(corners.size());
    std::uint32_t t[3];
    while (objread::TriangulateStep(corners.data(), count, points.data(), t)) {
        triangles.push_back({t[0], t[1], t[2]});
    }
    return triangles;
}

struct Polygon {
    std::vector<Vector3d> points;
    std::vector<std::uint32_t> corners;
};

// Random polygons in a plane of constant x, y or z at a random level.
class Generator {
  public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double Real(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng_);
    }

    // In-plane coordinates (p, q) placed on a random axis plane.
    Vector3d Place(double p, double q) const {
        switch (axis_) {
            case 0:
                return {level_, p, q};
            case 1:
                return {q, level_, p};
            default:
                return {p, q, level_};
        }
    }

    void NewPlane() {
        axis_ = Int(0, 2);
        level_ = levels_[static_cast<std::size_t>(Int(0, 4))];
    }

    // A star around the origin: simple, with reflex corners wherever a
    // radius dips.
    Polygon Star(int n) {
        NewPlane();
        std::vector<double> angles(static_cast<std::size_t>(n));
        for (double& a : angles) a = Real(0, 2 * M_PI);
        std::sort(angles.begin(), angles.end());
        Polygon poly;
        for (double a : angles) {
            const double r = Real(0.2, 1.0);
            poly.points.push_back(Place(r * std::cos(a), r * std::sin(a)));
        }
        Identity(poly);
        MaybeReverse(poly);
        return poly;
    }

    // Corners on a small integer grid in random order: crossing edges,
    // collinear runs, repeated points and centroids on edges are common.
    Polygon Tangle(int n) {
        NewPlane();
        const int size = Int(2, 6);
        Polygon poly;
        for (int i = 0; i < n; ++i) {
            poly.points.push_back(Place(Int(0, size), Int(0, size)));
        }
        Identity(poly);
        return poly;
    }

    // A simple polygon that touches itself: a comb of rectangles joined at
    // single points and along shared stretches, walked so that some corner
    // numbers repeat.
    Polygon Touching(int teeth) {
        NewPlane();
        Polygon poly;
        auto add = [&](double p, double q) {
            poly.points.push_back(Place(p, q));
            return static_cast<std::uint32_t>(poly.points.size() - 1);
        };
        const std::uint32_t origin = add(0, 0);
        poly.corners.push_back(origin);
        for (int t = 0; t < teeth; ++t) {
            const double x = 2.0 * t;
            const double h = Int(1, 3);
            poly.corners.push_back(add(x + 1, 0));
            poly.corners.push_back(add(x + 1, h));
            poly.corners.push_back(add(x + 2, h));
            // Teeth that touch the base at a point shared by two corners.
            poly.corners.push_back(Int(0, 1) == 0 ? add(x + 2, 0) : poly.corners[1]);
        }
        poly.corners.push_back(add(2.0 * teeth + 1, -1));
        poly.corners.push_back(add(0, -1));
        poly.corners.push_back(origin);  // the start again: a touching seam
        poly.corners.push_back(add(-1, -0.5));
        MaybeReverse(poly);
        return poly;
    }

    // A random walk that turns by right angles and may cross its own path.
    Polygon Walk(int n) {
        NewPlane();
        Polygon poly;
        double p = 0;
        double q = 0;
        int direction = 0;
        for (int i = 0; i < n; ++i) {
            poly.points.push_back(Place(p, q));
            direction = (direction + Int(-1, 1) + 4) % 4;
            const double step = Int(1, 3) * 0.5;
            p += direction == 0 ? step : direction == 2 ? -step : 0;
            q += direction == 1 ? step : direction == 3 ? -step : 0;
        }
        Identity(poly);
        return poly;
    }

  private:
    static void Identity(Polygon& poly) {
        for (std::uint32_t i = 0; i < poly.points.size(); ++i) {
            poly.corners.push_back(i);
        }
    }
    void MaybeReverse(Polygon& poly) {
        if (Int(0, 1) == 1) {
            std::reverse(poly.corners.begin(), poly.corners.end());
        }
    }

    std::mt19937 rng_;
    int axis_ = 2;
    double level_ = 0;
    const double levels_[5] = {0.0, 1.0, -3.5, 0.1, 250.0};
};

struct KindCase {
    const char* name;
    Polygon (*make)(Generator&, int);
    int max_corners;
    unsigned polygons;
};

void PrintTo(const KindCase& c, std::ostream* os) {
    *os << c.name;
}

class EarClippingTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(EarClippingTest, SameTrianglesAsTheLiteralRule) {
    int unfinished = 0;  // polygons the rule leaves with corners uncut
    for (unsigned seed = 1; seed <= GetParam().polygons; ++seed) {
        Generator g(seed * 7919u + static_cast<unsigned>(GetParam().max_corners));
        const Polygon poly = GetParam().make(g, g.Int(4, GetParam().max_corners));
        const std::vector<CornerTriangle> want = Literal(poly.points, poly.corners);
        std::vector<CornerTriangle> got;
        ASSERT_TRUE(objread::TriangulateInPlane(poly.corners.data(),
                                                static_cast<std::uint32_t>(poly.corners.size()),
                                                poly.points.data(), got))
            << "seed " << seed;
        ASSERT_EQ(got, want) << "seed " << seed << ", " << poly.corners.size() << " corners";
        std::vector<CornerTriangle> chosen;
        objread::Triangulate(poly.corners.data(), static_cast<std::uint32_t>(poly.corners.size()),
                             poly.points.data(), chosen);
        ASSERT_EQ(chosen, want) << "seed " << seed;
        unfinished += want.size() + 2 < poly.corners.size() ? 1 : 0;
    }
    // The tangles must also exercise polygons that cannot be cut up whole.
    if (std::string(GetParam().name) == "Tangle") {
        EXPECT_GT(unfinished, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, EarClippingTest,
    ::testing::Values(KindCase{"Star", [](Generator& g, int n) { return g.Star(n); }, 60, 800},
                      KindCase{"LargeStar", [](Generator& g, int n) { return g.Star(n); }, 150, 60},
                      KindCase{"Tangle", [](Generator& g, int n) { return g.Tangle(n); }, 40, 800},
                      KindCase{"Touching",
                               [](Generator& g, int n) { return g.Touching(1 + n / 8); }, 60, 800},
                      KindCase{"Walk", [](Generator& g, int n) { return g.Walk(n); }, 60, 800}),
    [](const ::testing::TestParamInfo<KindCase>& info) { return std::string(info.param.name); });

TEST(EarClipping, PolygonsOffTheAxisPlanesTakeTheLiteralRule) {
    // A quadrilateral slightly folded, and a triangle of a tilted plane.
    const std::vector<Vector3d> points = {
        {0, 0, 0}, {2, 0, 0.01}, {2, 2, 0}, {0, 2, 0.02}, {1, 1, 1}};
    for (std::vector<std::uint32_t> corners :
         {std::vector<std::uint32_t>{0, 1, 2, 3, 4}, std::vector<std::uint32_t>{0, 1, 2, 3}}) {
        std::vector<CornerTriangle> got;
        EXPECT_FALSE(objread::TriangulateInPlane(
            corners.data(), static_cast<std::uint32_t>(corners.size()), points.data(), got));
        objread::Triangulate(corners.data(), static_cast<std::uint32_t>(corners.size()),
                             points.data(), got);
        EXPECT_EQ(got, Literal(points, corners));
    }
}

// A convex polygon is cut as a fan from its first corner, however many
// corners it has.
TEST(EarClipping, LargeConvexPolygonIsAFanFromItsFirstCorner) {
    const std::uint32_t n = 5'000;
    std::vector<Vector3d> points;
    std::vector<std::uint32_t> corners;
    for (std::uint32_t i = 0; i < n; ++i) {
        const double a = 2 * M_PI * i / n;
        points.push_back({5.0, 1000.0 * std::cos(a), 1000.0 * std::sin(a)});
        corners.push_back(i);
    }
    std::vector<CornerTriangle> got;
    objread::Triangulate(corners.data(), n, points.data(), got);
    ASSERT_EQ(got.size(), n - 2);
    for (std::uint32_t k = 0; k < n - 2; ++k) {
        ASSERT_EQ(got[k], (CornerTriangle{0, k + 1, k + 2})) << k;
    }
}

}  // namespace

}  // namespace plugins
