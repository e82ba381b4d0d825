#include "objread/triangulate.h"

#include <cmath>

namespace plugins::objread {

bool IsDegenerate(const Vector3d& a, const Vector3d& b, const Vector3d& c) {
    return Length(Cross(Subtract(a, b), Subtract(a, c))) < 1e-8;
}

namespace {

// The angle sum of PolygonAngleSum, each angle taken from the cosine as
// AngleRadians takes it (0 for a zero-length vector, half a turn at -1 and
// below, 0 at 1 and above), with arcCosine between. Each corner's offset
// from x and its length serve the two edges that meet there: computed once,
// they are the same numbers as computed twice.
template <typename ArcCosine>
double AngleSumWith(const std::uint32_t* corners, const Vector3d* points, std::uint32_t count,
                    const Vector3d& x, ArcCosine arcCosine) {
    Vector3d sum{0.0, 0.0, 0.0};
    if (count == 0) {
        return 0.0;
    }
    const Vector3d first = Subtract(x, points[corners[0]]);
    const double firstLength = Length(first);
    Vector3d u = first;
    double uLength = firstLength;
    for (std::uint32_t k = 0; k < count; ++k) {
        Vector3d v = first;
        double vLength = firstLength;
        if (k + 1 < count) {
            v = Subtract(x, points[corners[k + 1]]);
            vLength = Length(v);
        }
        Vector3d w = Cross(u, v);
        const double length = Length(w);
        if (length > 0.0) {
            w = Scale(w, 1.0 / length);
        }
        double angle = 0.0;
        const double l = uLength * vLength;
        if (l != 0.0) {
            const double c = Dot(u, v) / l;
            if (c <= -1.0) {
                angle = kHalfTurn;
            } else if (c < 1.0) {
                angle = arcCosine(c);
            }
        }
        sum = Add(sum, Scale(w, angle));
        u = v;
        uLength = vLength;
    }
    return Length(sum);
}

}  // namespace

double PolygonAngleSum(const std::uint32_t* corners, const Vector3d* points, std::uint32_t count,
                       const Vector3d& x) {
    return AngleSumWith(corners, points, count, x, [](double c) { return std::acos(c); });
}

double ApproximateArcCosine(double c) {
    // Abramowitz and Stegun 4.4.46: acos(x) = sqrt(1 - x) * p(x) on [0, 1]
    // with an error below 2e-8; acos(-x) = pi - acos(x).
    const double x = std::fabs(c);
    const double p =
        1.5707963050 +
        x * (-0.2145988016 +
             x * (0.0889789874 +
                  x * (-0.0501743046 +
                       x * (0.0308918810 +
                            x * (-0.0170881256 + x * (0.0066700901 + x * -0.0012624911))))));
    const double angle = std::sqrt(1.0 - x) * p;
    return c < 0.0 ? 3.141592653589793 - angle : angle;
}

bool PointInPolygon(const std::uint32_t* corners, const Vector3d* points, std::uint32_t count,
                    const Vector3d& x) {
    // The angle sum as PolygonAngleSum computes it, but with each angle from
    // ApproximateArcCosine: the terms are unit vectors (or zero) times the
    // angles, so the two sums lie at most count * kArcCosineError apart,
    // plus rounding many orders of magnitude smaller. A sum that far or
    // farther from half a turn gives the answer the exact sum gives; the
    // rare sum closer to it is computed exactly.
    const double estimate = AngleSumWith(corners, points, count, x, ApproximateArcCosine);
    const double margin = 2.0 * count * kArcCosineError + 1e-9;
    if (estimate > kHalfTurn + margin) {
        return true;
    }
    if (estimate < kHalfTurn - margin) {
        return false;
    }
    return PolygonAngleSum(corners, points, count, x) > kHalfTurn;
}

bool TriangulateStep(std::uint32_t* corners, std::uint32_t& count, const Vector3d* points,
                     std::uint32_t triangle[3]) {
    const std::uint32_t n = count;
    if (n < 3) {
        return false;
    }
    if (n == 3) {
        count = 0;
        if (IsDegenerate(points[corners[0]], points[corners[1]], points[corners[2]])) {
            return false;
        }
        triangle[0] = corners[0];
        triangle[1] = corners[1];
        triangle[2] = corners[2];
        return true;
    }
    for (std::uint32_t i = 0; i < n; ++i) {
        const std::uint32_t a = i;
        const std::uint32_t b = (i + 1) % n;
        const std::uint32_t c = (i + 2) % n;
        const Vector3d& A = points[corners[a]];
        const Vector3d& B = points[corners[b]];
        const Vector3d& C = points[corners[c]];
        if (IsDegenerate(A, B, C)) {
            continue;
        }
        // The constant, not a division by three, so that the centroid is
        // the same bit for bit wherever it is computed.
        const Vector3d g = Scale(Add(Add(A, B), C), 0.3333333333333333);
        if (!PointInPolygon(corners, points, n, g)) {
            continue;  // a reflex corner: its ear lies outside
        }
        const std::uint32_t ear[3] = {corners[a], corners[b], corners[c]};
        bool holdsCorner = false;
        for (std::uint32_t j = 0; j < n && !holdsCorner; ++j) {
            if (j != a && j != b && j != c) {
                holdsCorner = PointInPolygon(ear, points, 3, points[corners[j]]);
            }
        }
        if (holdsCorner) {
            continue;
        }
        triangle[0] = corners[a];
        triangle[1] = corners[b];
        triangle[2] = corners[c];
        for (std::uint32_t k = b; k + 1 < n; ++k) {
            corners[k] = corners[k + 1];
        }
        count = n - 1;
        return true;
    }
    return false;
}

}  // namespace plugins::objread
