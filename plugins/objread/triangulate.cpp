#include "objread/triangulate.h"

#include <cmath>

namespace plugins::objread {

bool IsDegenerate(const Vector3d& a, const Vector3d& b, const Vector3d& c) {
    return Length(Cross(Subtract(a, b), Subtract(a, c))) < 1e-8;
}

double PolygonAngleSum(const std::uint32_t* corners, const Vector3d* points, std::uint32_t count,
                       const Vector3d& x) {
    Vector3d sum{0.0, 0.0, 0.0};
    for (std::uint32_t k = 0; k < count; ++k) {
        const Vector3d u = Subtract(x, points[corners[k]]);
        const Vector3d v = Subtract(x, points[corners[(k + 1) % count]]);
        Vector3d w = Cross(u, v);
        const double length = Length(w);
        if (length > 0.0) {
            w = Scale(w, 1.0 / length);
        }
        sum = Add(sum, Scale(w, AngleRadians(u, v)));
    }
    return Length(sum);
}

bool PointInPolygon(const std::uint32_t* corners, const Vector3d* points, std::uint32_t count,
                    const Vector3d& x) {
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
