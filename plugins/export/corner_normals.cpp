#include "export/corner_normals.h"

#include <cmath>
#include <system_error>
#include <thread>

#include "export/chunked_text.h"
#include "export/mesh_access.h"

namespace plugins {

namespace {

// Below this angle the corners are not smoothed at all.
constexpr double kFlatLimit = 1e-6;

// The limit a smooth_angle stands for: its absolute value, or 0 (flat) for
// angles too small to matter and for NaN.
double SmoothLimit(double smooth_angle) {
    const double limit = std::fabs(smooth_angle);
    return limit >= kFlatLimit ? limit : 0.0;
}

Vector3d NormalOf(const Mesh3d& mesh, int face) {
    return FaceNormal(mesh.GetTriangle(face));
}

CornerTriple FlatCorners(const Vector3d& n) {
    return {n, n, n};
}

}  // namespace

CornerTriple CornerNormals(const Mesh3d& mesh, int face, double smooth_angle) {
    if (face < 0 || face >= FaceCount(mesh)) {
        return {};
    }
    const Vector3d n = NormalOf(mesh, face);
    const double limit = SmoothLimit(smooth_angle);
    if (limit == 0.0) {
        return FlatCorners(n);
    }
    const FaceCorners k = FaceVertexNumbers(mesh, face);
    CornerTriple result{};
    for (int r = 0; r < 3; ++r) {
        Vector3d sum{0.0, 0.0, 0.0};
        for (int f : mesh.vertices->FaceList(k[r])) {
            const Vector3d m = NormalOf(mesh, f);
            if (std::fabs(AngleDegrees(n, m)) < limit) {
                sum = Add(sum, m);
            }
        }
        result[r] = Normalize(sum);
    }
    return result;
}

CornerNormalSource::CornerNormalSource(const ExportMesh& mesh, double smooth_angle)
    : mesh_(mesh), limit_(SmoothLimit(smooth_angle)) {
    // The normals of a large mesh are computed in two halves, the second on
    // a thread of its own where the machine has a processor to spare.
    const int count = mesh.FaceCount();
    normals_.resize(static_cast<std::size_t>(count));
    auto compute = [this, &mesh](int begin, int end) {
        for (int i = begin; i < end; ++i) {
            const Vector3d n = FaceNormal(mesh.Triangle(i));
            normals_[static_cast<std::size_t>(i)] = {n, Length(n)};
        }
    };
    constexpr int kThreadFrom = 1 << 16;
    const int half = count / 2;
    std::thread second;
    if (count >= kThreadFrom && DefaultUseThread()) {
        try {
            second = std::thread(compute, half, count);
        } catch (const std::system_error&) {
            // Both halves are computed here.
        }
    }
    compute(0, second.joinable() ? half : count);
    if (second.joinable()) {
        second.join();
    }

    // AngleDegrees(n, m) < limit holds exactly when the cosine of the two
    // normals lies above cos(limit). acos is the costly part of smoothing,
    // so only cosines within a narrow band around that bound are decided by
    // AngleDegrees itself; the band is wide enough that rounding can never
    // put a cosine outside it on the wrong side.
    //
    // Most cosines lie far outside that band, and for them the division
    // that gives the cosine is not needed either: a dot product above
    // (bound + 2 band) times the lengths' product gives a cosine above
    // cosPass_, one below (bound - 2 band) times it a cosine below
    // cosFail_, since rounding moves either side by some 1e-16 only.
    constexpr double kBand = 1e-9;
    constexpr double kRadiansPerDegree = 3.141592653589793 / 180.0;
    if (limit_ > 180.0) {
        cosPass_ = -HUGE_VAL;  // every angle is at most 180 degrees
        cosFail_ = -HUGE_VAL;
        dotPass_ = -HUGE_VAL;
        dotFail_ = -HUGE_VAL;
    } else {
        const double bound = std::cos(limit_ * kRadiansPerDegree);
        cosPass_ = bound + kBand;
        cosFail_ = bound - kBand;
        dotPass_ = bound + 2 * kBand;
        dotFail_ = bound - 2 * kBand;
    }
}

CornerTriple CornerNormalSource::Corners(int face) const {
    if (face < 0 || face >= static_cast<int>(normals_.size())) {
        return {};
    }
    const Vector3d& n = normals_[static_cast<std::size_t>(face)].normal;
    if (limit_ == 0.0) {
        return FlatCorners(n);
    }
    const double n_length = normals_[static_cast<std::size_t>(face)].length;
    const FaceCorners& k = mesh_.Face(face);
    CornerTriple result{};
    for (int r = 0; r < 3; ++r) {
        Vector3d sum{0.0, 0.0, 0.0};
        for (std::int32_t f : mesh_.FacesOf(k[static_cast<std::size_t>(r)])) {
            const FaceNormalRecord& other = normals_[static_cast<std::size_t>(f)];
            const Vector3d& m = other.normal;
            const double l = n_length * other.length;
            bool within;
            const double d = Dot(n, m);
            if (l == 0.0) {
                within = true;  // AngleDegrees gives 0 for a zero vector
            } else if (d > dotPass_ * l) {
                within = true;
            } else if (d < dotFail_ * l) {
                within = false;
            } else {
                const double c = d / l;
                if (c > cosPass_) {
                    within = true;
                } else if (c < cosFail_) {
                    within = false;
                } else {
                    within = std::fabs(AngleDegrees(n, m)) < limit_;
                }
            }
            if (within) {
                sum = Add(sum, m);
            }
        }
        result[static_cast<std::size_t>(r)] = Normalize(sum);
    }
    return result;
}

}  // namespace plugins
