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
// reproduced here event by event instead. An edge can only act at its first
// occurrence after one of its faces became visited: when a face is visited
// while the pass is at edge e, each of its edges e' is due later in the
// same pass when e' > e, and in the next pass otherwise. So the sweep keeps
// the due edges of the current pass and of the next one as two ordered sets
// and takes them in edge order, pass after pass: every face is visited at
// the same moment, from the same reference face, as the passes do. Seeds
// come from the candidate faces ordered by height, taken from a heap only
// as far as parts need them, instead of a scan of all remaining faces per
// part.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <utility>

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

// Highest first; among equal heights the lowest face number, which is the
// one a scan upwards with "strictly higher" keeps. As a heap order: the
// greatest element is the next seed.
bool SeedsAfter(const SeedCandidate& a, const SeedCandidate& b) {
    return a.z < b.z || (a.z == b.z && a.face > b.face);
}

// A set of edge numbers 0 .. n - 1 as bits, with levels of summary bits
// above (a bit per non-empty word of the level below), so that the lowest
// member from a given number on is found in a few steps however sparse the
// set is.
class EdgeSet {
  public:
    explicit EdgeSet(std::size_t n) {
        std::size_t bits = n == 0 ? 1 : n;
        do {
            const std::size_t words = (bits + 63) / 64;
            levels_[depth_].Resize(words);
            levels_[depth_].Fill(0);
            sizes_[depth_] = words;
            ++depth_;
            bits = words;
        } while (bits > 1);
    }

    bool Empty() const { return levels_[depth_ - 1][0] == 0; }

    void Insert(std::uint32_t e) {
        std::uint64_t at = e;
        for (int level = 0; level < depth_; ++level) {
            std::uint64_t& word = levels_[level][at >> 6];
            const bool wasEmpty = word == 0;
            word |= std::uint64_t{1} << (at & 63);
            if (!wasEmpty) {
                return;  // the levels above mark this word already
            }
            at >>= 6;
        }
    }

    void Erase(std::uint32_t e) {
        std::uint64_t at = e;
        for (int level = 0; level < depth_; ++level) {
            std::uint64_t& word = levels_[level][at >> 6];
            word &= ~(std::uint64_t{1} << (at & 63));
            if (word != 0) {
                return;
            }
            at >>= 6;
        }
    }

    // The lowest member not below from, or -1 when there is none.
    std::int64_t LowestFrom(std::uint64_t from) const {
        std::uint64_t at = from;
        int level = 0;
        for (;;) {
            if (level == depth_ || (at >> 6) >= sizes_[level]) {
                return -1;
            }
            const std::uint64_t bits = levels_[level][at >> 6] & (~std::uint64_t{0} << (at & 63));
            if (bits != 0) {
                at = (at & ~std::uint64_t{63}) | static_cast<std::uint64_t>(__builtin_ctzll(bits));
                break;
            }
            // Nothing more in this word: go on with the next word, which is
            // the next bit one level up.
            at = (at >> 6) + 1;
            ++level;
        }
        while (level > 0) {
            --level;
            at = (at << 6) | static_cast<std::uint64_t>(__builtin_ctzll(levels_[level][at]));
        }
        return static_cast<std::int64_t>(at);
    }

  private:
    // 64^6 bits cover every int.
    static constexpr int kMaxLevels = 6;
    TableArray<std::uint64_t> levels_[kMaxLevels];
    std::size_t sizes_[kMaxLevels] = {};
    int depth_ = 0;
};

class Sweep {
  public:
    Sweep(FaceTable& faces, const EdgeTable& edges, int faceCount)
        : faces_(faces),
          edges_(edges),
          faceCount_(faceCount),
          edgeCount_(edges.Count()),
          visited_(static_cast<std::size_t>(faceCount)),
          due_(static_cast<std::size_t>(edgeCount_)),
          dueNext_(static_cast<std::size_t>(edgeCount_)) {
        for (int i = 0; i < faceCount; ++i) {
            visited_[i] = 0;
        }
    }

    bool IsVisited(int face) const { return visited_[face] != 0; }
    bool IsFace(int face) const { return face >= 0 && face < faceCount_; }
    int VisitedCount() const { return visitedCount_; }

    // Visits seed (already turned) and runs the passes until nothing moves.
    void OrientPart(int seed) {
        EdgeSet* current = &due_;
        EdgeSet* next = &dueNext_;
        Visit(seed, -1, *current, *next);
        std::uint64_t from = 0;
        for (;;) {
            const std::int64_t found = current->LowestFrom(from);
            if (found < 0) {
                if (next->Empty()) {
                    return;
                }
                std::swap(current, next);  // the next pass
                from = 0;
                continue;
            }
            const auto e = static_cast<std::int32_t>(found);
            current->Erase(static_cast<std::uint32_t>(e));
            from = static_cast<std::uint64_t>(e) + 1;
            const EdgeRecord& edge = edges_.Record(e);
            const int fa = edge.f0;
            const int fb = edge.f1;
            if (!IsFace(fa) || !IsFace(fb)) {
                continue;  // -1: the edge has fewer than two faces
            }
            if (!IsVisited(fa) && IsVisited(fb)) {
                OrientAgainst(fa, fb, edge.k0);
                Visit(fa, e, *current, *next);
            }
            if (!IsVisited(fb) && IsVisited(fa)) {
                OrientAgainst(fb, fa, edge.k0);
                Visit(fb, e, *current, *next);
            }
        }
    }

  private:
    void OrientAgainst(int x, int reference, std::int32_t a) {
        if (RunsAlong(faces_.Record(reference), faces_.Record(x), a)) {
            faces_.Flip(x);
        }
    }

    // Marks face visited while the pass is at edge (-1: its start) and
    // makes its edges due at their next occurrence in the sweep.
    void Visit(int face, std::int32_t edge, EdgeSet& current, EdgeSet& next) {
        visited_[face] = 1;
        ++visitedCount_;
        const FaceRecord& record = faces_.Record(face);
        for (std::int32_t later : record.edge) {
            if (later < 0 || later >= edgeCount_) {
                continue;  // tables filled by hand need not hold every edge
            }
            (later > edge ? current : next).Insert(static_cast<std::uint32_t>(later));
        }
    }

    FaceTable& faces_;
    const EdgeTable& edges_;
    int faceCount_;
    int edgeCount_;
    TableArray<std::uint8_t> visited_;
    int visitedCount_ = 0;
    EdgeSet due_;
    EdgeSet dueNext_;
};

}  // namespace

void Mesh3d::UnifyOrientation(UnifyProgressFunction progress) {
    if (faces == nullptr || edges == nullptr) {
        return;
    }
    const int faceCount = faces->Count();

    // Seed heights. Only unvisited faces are ever seeds and a face is turned
    // only when it is visited, so centroids and normals of the stored
    // windings decide every seed, and a height computed again later is the
    // one computed here.
    auto height = [this](int face) { return Centroid(GetTriangle(face)).z; };
    TableArray<SeedCandidate> candidates(static_cast<std::size_t>(faceCount));
    std::size_t candidateCount = 0;
    for (int i = 0; i < faceCount; ++i) {
        const Triangle3d t = GetTriangle(i);
        const double z = Centroid(t).z;
        // A face with a horizontal normal only seeds a part as its lowest
        // numbered face; a NaN height never wins a comparison.
        if (std::fabs(FaceNormal(t).z) > 0.0 && !std::isnan(z)) {
            candidates[candidateCount++] = SeedCandidate{z, i};
        }
    }
    SeedCandidate* heap = candidates.data();
    std::size_t heapSize = candidateCount;
    std::make_heap(heap, heap + heapSize, SeedsAfter);

    Sweep sweep(*faces, *edges, faceCount);
    int lowest = 0;
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
        while (heapSize > 0 && sweep.IsVisited(heap[0].face)) {
            std::pop_heap(heap, heap + heapSize, SeedsAfter);
            --heapSize;
        }
        int seed = lowest;
        if (heapSize > 0 && heap[0].z > height(lowest)) {
            seed = heap[0].face;
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
