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

// Random polygons in a plane of constant x, y or z at a random level, or in
// a tilted plane away from the origin: computed there in doubles, or scaled
// up and written with six decimals as OBJ files hold them.
class Generator {
  public:
    explicit Generator(unsigned seed) : rng_(seed) {}

    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
    double Real(double lo, double hi) {
        return std::uniform_real_distribution<double>(lo, hi)(rng_);
    }

    // In-plane coordinates (p, q) placed on the plane.
    Vector3d Place(double p, double q) const {
        if (tilted_) {
            const Vector3d v =
                Add(origin_, Add(Scale(across_, p * scale_), Scale(up_, q * scale_)));
            if (!sixDecimals_) {
                return v;
            }
            return {std::round(v.x * 1e6) / 1e6, std::round(v.y * 1e6) / 1e6,
                    std::round(v.z * 1e6) / 1e6};
        }
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
        const int kind = Int(0, 3);
        tilted_ = kind >= 2;
        sixDecimals_ = kind == 3;
        axis_ = Int(0, 2);
        level_ = levels_[static_cast<std::size_t>(Int(0, 4))];
        const Vector3d normal = Normalize({Real(-1, 1), Real(-1, 1), Real(-1, 1)});
        across_ = Normalize(Cross(normal, {Real(-1, 1), Real(-1, 1), Real(-1, 1)}));
        up_ = Cross(normal, across_);
        scale_ = sixDecimals_ ? 1000.0 : 1.0;
        origin_ = Scale({Real(-50, 50), Real(-50, 50), Real(-50, 50)}, scale_);
    }

    bool Tilted() const { return tilted_; }

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
    bool tilted_ = false;
    bool sixDecimals_ = false;
    int axis_ = 2;
    double level_ = 0;
    Vector3d origin_{};
    Vector3d across_{};
    Vector3d up_{};
    double scale_ = 1.0;
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
    int tilted = 0;
    int tiltedTaken = 0;
    for (unsigned seed = 1; seed <= GetParam().polygons; ++seed) {
        Generator g(seed * 7919u + static_cast<unsigned>(GetParam().max_corners));
        const Polygon poly = GetParam().make(g, g.Int(4, GetParam().max_corners));
        const std::vector<CornerTriangle> want = Literal(poly.points, poly.corners);
        std::vector<CornerTriangle> got;
        const bool taken = objread::TriangulateInPlane(
            poly.corners.data(), static_cast<std::uint32_t>(poly.corners.size()),
            poly.points.data(), got);
        // In an axis plane every polygon is taken; a tilted one may be left
        // to the literal rule when its area vector is too small to give the
        // plane (crossing loops that cancel).
        if (g.Tilted()) {
            ++tilted;
            tiltedTaken += taken ? 1 : 0;
        } else {
            ASSERT_TRUE(taken) << "seed " << seed;
        }
        if (taken) {
            ASSERT_EQ(got, want) << "seed " << seed << ", " << poly.corners.size() << " corners";
        }
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
    EXPECT_GT(tilted, 0);
    EXPECT_GE(tiltedTaken, tilted * 3 / 4) << "of " << tilted << " tilted polygons";
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

TEST(EarClipping, PolygonsThatAreNotFlatTakeTheLiteralRule) {
    // A quadrilateral slightly folded, alone and with a corner far off it.
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
// corners it has: in a plane of constant x, and in a tilted plane away from
// the origin with coordinates of six decimals, as an OBJ file holds them.
TEST(EarClipping, LargeConvexPolygonIsAFanFromItsFirstCorner) {
    const std::uint32_t n = 5'000;
    const Vector3d across = Normalize({0.3, -0.8, 0.2});
    const Vector3d up = Normalize(Cross(across, {0.1, 0.4, 0.9}));
    const struct {
        const char* plane;
        Vector3d (*place)(double p, double q, const Vector3d& across, const Vector3d& up);
    } cases[] = {
        {"x = 5",
         [](double p, double q, const Vector3d&, const Vector3d&) {
             return Vector3d{5.0, p, q};
         }},
        {"tilted",
         [](double p, double q, const Vector3d& a, const Vector3d& u) {
             const Vector3d v = Add({120.0, -40.0, 75.0}, Add(Scale(a, p), Scale(u, q)));
             return Vector3d{std::round(v.x * 1e6) / 1e6, std::round(v.y * 1e6) / 1e6,
                             std::round(v.z * 1e6) / 1e6};
         }},
    };
    for (const auto& c : cases) {
        std::vector<Vector3d> points;
        std::vector<std::uint32_t> corners;
        for (std::uint32_t i = 0; i < n; ++i) {
            const double a = 2 * M_PI * i / n;
            points.push_back(c.place(1000.0 * std::cos(a), 1000.0 * std::sin(a), across, up));
            corners.push_back(i);
        }
        std::vector<CornerTriangle> got;
        ASSERT_TRUE(objread::TriangulateInPlane(corners.data(), n, points.data(), got)) << c.plane;
        ASSERT_EQ(got.size(), n - 2) << c.plane;
        for (std::uint32_t k = 0; k < n - 2; ++k) {
            ASSERT_EQ(got[k], (CornerTriangle{0, k + 1, k + 2})) << c.plane << " " << k;
        }
    }
}

}  // namespace

}  // namespace plugins
