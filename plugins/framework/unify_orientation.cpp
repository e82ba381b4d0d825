// Consistent face winding for every edge-connected part of a mesh.
//
// The rule that decides which faces are reversed is a sweep: take the
// highest unvisited face as a part's seed (turned to face up), then pass
// over the edges in edge-number order again and again; an edge whose first
// face is visited and second not (or the other way round) orients the
// unvisited face against the visited one, until a whole pass changes
// nothing. Which face orients which matters wherever the surface is not a
// clean manifold (edges with a third face, Moebius strips), so the outcome
// is defined by exactly that sweep.
//
// Repeating full passes costs faces x edges on a long strip. The sweep is
// reproduced here event by event instead: give every moment of it the key
// (pass, edge). An edge can only act at its first occurrence after one of
// its faces became visited, so when a face is visited at (p, e), each of its
// edges e' is due at (p, e') when e' > e and at (p + 1, e') otherwise. A
// priority queue of these keys visits every face at the same moment, from
// the same reference face, as the passes do. Seeds come from the faces
// sorted by height once, instead of a scan of all remaining faces per part.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>

#include "framework/mesh.h"
#include "framework/table_array.h"

namespace plugins {

namespace {

using mesh_detail::TableArray;

// Rotates a face's vertex triple so that a comes first (the triple is
// assumed to contain a; otherwise it is rotated twice, like a last match).
struct Rotated {
    std::int32_t first;
    std::int32_t second;
    std::int32_t third;
};

Rotated RotateTo(const FaceRecord& face, std::int32_t a) {
    if (face.k[0] == a) {
        return {face.k[0], face.k[1], face.k[2]};
    }
    if (face.k[1] == a) {
        return {face.k[1], face.k[2], face.k[0]};
    }
    return {face.k[2], face.k[0], face.k[1]};
}

// True when face x runs along the shared edge at vertex a in the same
// direction as the reference face r, i.e. when x must be reversed.
bool RunsAlong(const FaceRecord& r, const FaceRecord& x, std::int32_t a) {
    const Rotated rr = RotateTo(r, a);
    const Rotated xr = RotateTo(x, a);
    return rr.second == xr.second || rr.third == xr.third;
}

struct SeedCandidate {
    double z;
    std::int32_t face;
};

// Keys (pass, edge) ordered by pass, then edge.
using EventKey = std::uint64_t;

EventKey MakeKey(std::uint32_t pass, std::int32_t edge) {
    return (static_cast<EventKey>(pass) << 32) | static_cast<std::uint32_t>(edge);
}

class Sweep {
  public:
    Sweep(FaceTable& faces, const EdgeTable& edges, int faceCount)
        : faces_(faces),
          edges_(edges),
          faceCount_(faceCount),
          edgeCount_(edges.Count()),
          visited_(static_cast<std::size_t>(faceCount)) {
        for (int i = 0; i < faceCount; ++i) {
            visited_[i] = 0;
        }
    }

    bool IsVisited(int face) const { return visited_[face] != 0; }
    bool IsFace(int face) const { return face >= 0 && face < faceCount_; }
    int VisitedCount() const { return visitedCount_; }

    // Visits seed (already turned) and runs the passes until nothing moves.
    void OrientPart(int seed) {
        Visit(seed, 0, -1);
        while (dueCount_ > 0) {
            std::pop_heap(due_.data(), due_.data() + dueCount_, std::greater<EventKey>());
            const EventKey key = due_[--dueCount_];
            const auto pass = static_cast<std::uint32_t>(key >> 32);
            const auto e = static_cast<std::int32_t>(key & 0xFFFFFFFFu);
            const EdgeRecord& edge = edges_.Record(e);
            const int fa = edge.f0;
            const int fb = edge.f1;
            if (!IsFace(fa) || !IsFace(fb)) {
                continue;  // -1: the edge has fewer than two faces
            }
            if (!IsVisited(fa) && IsVisited(fb)) {
                OrientAgainst(fa, fb, edge.k0);
                Visit(fa, pass, e);
            }
            if (!IsVisited(fb) && IsVisited(fa)) {
                OrientAgainst(fb, fa, edge.k0);
                Visit(fb, pass, e);
            }
        }
    }

  private:
    void OrientAgainst(int x, int reference, std::int32_t a) {
        if (RunsAlong(faces_.Record(reference), faces_.Record(x), a)) {
            faces_.Flip(x);
        }
    }

    // Marks face visited at (pass, edge) and schedules its edges at their
    // next occurrence in the sweep; edge -1 stands for the start of a pass.
    void Visit(int face, std::uint32_t pass, std::int32_t edge) {
        visited_[face] = 1;
        ++visitedCount_;
        const FaceRecord& record = faces_.Record(face);
        for (std::int32_t next : record.edge) {
            if (next < 0 || next >= edgeCount_) {
                continue;  // tables filled by hand need not hold every edge
            }
            if (dueCount_ == due_.capacity()) {
                due_.Grow();
            }
            due_[dueCount_++] = MakeKey(next > edge ? pass : pass + 1, next);
            std::push_heap(due_.data(), due_.data() + dueCount_, std::greater<EventKey>());
        }
    }

    FaceTable& faces_;
    const EdgeTable& edges_;
    int faceCount_;
    int edgeCount_;
    TableArray<std::uint8_t> visited_;
    int visitedCount_ = 0;
    // A min-heap of due keys, kept in a framework array like every table.
    TableArray<EventKey> due_{64};
    std::size_t dueCount_ = 0;
};

}  // namespace

void Mesh3d::UnifyOrientation(UnifyProgressFunction progress) {
    if (faces == nullptr || edges == nullptr) {
        return;
    }
    const int faceCount = faces->Count();

    // Seed heights. Only unvisited faces are ever seeds and a face is turned
    // only when it is visited, so centroids and normals of the stored
    // windings decide every seed.
    TableArray<double> height(static_cast<std::size_t>(faceCount));
    TableArray<SeedCandidate> candidates(static_cast<std::size_t>(faceCount));
    std::size_t candidateCount = 0;
    for (int i = 0; i < faceCount; ++i) {
        const Triangle3d t = GetTriangle(i);
        height[i] = Centroid(t).z;
        // A face with a horizontal normal only seeds a part as its lowest
        // numbered face; a NaN height never wins a comparison.
        if (std::fabs(FaceNormal(t).z) > 0.0 && !std::isnan(height[i])) {
            candidates[candidateCount++] = SeedCandidate{height[i], i};
        }
    }
    // Highest first; among equal heights the lowest face number, which is
    // the one a scan upwards with "strictly higher" keeps.
    std::sort(candidates.data(), candidates.data() + candidateCount,
              [](const SeedCandidate& a, const SeedCandidate& b) {
                  return a.z > b.z || (a.z == b.z && a.face < b.face);
              });

    Sweep sweep(*faces, *edges, faceCount);
    int lowest = 0;
    std::size_t highest = 0;
    for (;;) {
        if (progress != nullptr) {
            progress(static_cast<unsigned int>(sweep.VisitedCount()),
                     static_cast<unsigned int>(faceCount));
        }
        while (lowest < faceCount && sweep.IsVisited(lowest)) {
            ++lowest;
        }
        if (lowest == faceCount) {
            break;
        }
        while (highest < candidateCount && sweep.IsVisited(candidates[highest].face)) {
            ++highest;
        }
        int seed = lowest;
        if (highest < candidateCount && candidates[highest].z > height[lowest]) {
            seed = candidates[highest].face;
        }
        // The highest face of a closed surface faces outward when its normal
        // points up. FaceNormal is the right-handed normal of the winding as
        // the file gives it (the reader stores each triangle that way), so a
        // surface wound outward keeps its winding.
        if (FaceNormal(GetTriangle(seed)).z < 0.0) {
            faces->Flip(seed);
        }
        sweep.OrientPart(seed);
    }
}

}  // namespace plugins
