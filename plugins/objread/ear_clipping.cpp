#include "objread/ear_clipping.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>

#include "objread/triangulate.h"

namespace plugins::objread {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kOneThird = 0.3333333333333333;

// Polygons up to this size cost little with the literal rule.
constexpr std::uint32_t kLiteralUpTo = 24;

// An angle sum that the literal rule computed and that lies closer than this
// to half a turn is computed again whenever it is needed: a later cut far
// away moves the sum a little (rounding, corners off the plane), which might
// tip it over.
constexpr double kFragileMargin = 1e-1;

// How far the cuts beyond a centroid may move its angle sum, all together,
// before every answer kept is sought again. Well below kFragileMargin.
constexpr double kDriftBudget = kFragileMargin / 4;

// A polygon off the axis planes is taken when its corners lie this close to
// one plane, relative to its extent; farther, every answer would be near.
constexpr double kFlatEnough = 1e-7;

// How far from the angle sum the ray count may be sure to lie at most.
constexpr double kCertainWithin = 0.5;

struct Point2 {
    double p;
    double q;
};

double Cross2(const Point2& a, const Point2& b, const Point2& x) {
    return (b.p - a.p) * (x.q - a.q) - (b.q - a.q) * (x.p - a.p);
}

double Distance2(const Point2& a, const Point2& b) {
    const double dp = a.p - b.p;
    const double dq = a.q - b.q;
    return std::sqrt(dp * dp + dq * dq);
}

double SegmentDistance(const Point2& x, const Point2& a, const Point2& b) {
    const double dp = b.p - a.p;
    const double dq = b.q - a.q;
    const double length2 = dp * dp + dq * dq;
    double t = 0.0;
    if (length2 > 0.0) {
        t = std::clamp(((x.p - a.p) * dp + (x.q - a.q) * dq) / length2, 0.0, 1.0);
    }
    return Distance2(x, Point2{a.p + t * dp, a.q + t * dq});
}

// True when x lies in the triangle or within margin of it.
bool NearTriangle(const Point2& x, const Point2& a, const Point2& b, const Point2& c,
                  double margin) {
    if (x.p < std::min({a.p, b.p, c.p}) - margin || x.p > std::max({a.p, b.p, c.p}) + margin ||
        x.q < std::min({a.q, b.q, c.q}) - margin || x.q > std::max({a.q, b.q, c.q}) + margin) {
        return false;
    }
    const double d1 = Cross2(a, b, x);
    const double d2 = Cross2(b, c, x);
    const double d3 = Cross2(c, a, x);
    const bool negative = d1 < 0 || d2 < 0 || d3 < 0;
    const bool positive = d1 > 0 || d2 > 0 || d3 > 0;
    if (!(negative && positive)) {
        return true;
    }
    // Outside: beyond the line of an edge by more than margin is far enough.
    const double sign = Cross2(a, b, c) < 0 ? -1.0 : 1.0;
    if (-sign * d1 > margin * Distance2(a, b) || -sign * d2 > margin * Distance2(b, c) ||
        -sign * d3 > margin * Distance2(c, a)) {
        return false;
    }
    return SegmentDistance(x, a, b) <= margin || SegmentDistance(x, b, c) <= margin ||
           SegmentDistance(x, c, a) <= margin;
}

// A uniform grid of square cells over the polygon's extent in its plane.
class Grid {
  public:
    Grid(double p0, double q0, double cell, int cols, int rows)
        : p0_(p0), q0_(q0), cell_(cell), cols_(cols), rows_(rows) {}

    // About one cell per corner over the extent; a polygon that is nearly a
    // line gets its cells along the line.
    static Grid Over(double p0, double q0, double width, double height, std::uint32_t corners) {
        const double side = std::max(width, height);
        const double cell = std::max(std::sqrt(width * height / corners), side / corners);
        return Grid(p0, q0, cell, std::clamp(static_cast<int>(width / cell) + 1, 1, 1 << 22),
                    std::clamp(static_cast<int>(height / cell) + 1, 1, 1 << 22));
    }

    // The grid of cells twice as large, covering the same extent.
    Grid Coarser() const { return Grid(p0_, q0_, cell_ * 2, (cols_ + 1) / 2, (rows_ + 1) / 2); }

    double Cell() const { return cell_; }
    int Cols() const { return cols_; }
    int Rows() const { return rows_; }
    std::size_t Count() const { return static_cast<std::size_t>(cols_) * rows_; }
    int Col(double p) const { return Clamp((p - p0_) / cell_, cols_); }
    int Row(double q) const { return Clamp((q - q0_) / cell_, rows_); }
    std::size_t Index(int col, int row) const {
        return static_cast<std::size_t>(row) * cols_ + col;
    }
    double Left(int col) const { return p0_ + col * cell_; }
    double Bottom(int row) const { return q0_ + row * cell_; }

    // Calls visit(cell) for every cell that the convex hull of the given
    // points, widened by margin, may touch.
    template <typename Visit>
    void Cover(const Point2* shape, int n, double margin, Visit visit) const {
        double qmin = shape[0].q;
        double qmax = shape[0].q;
        for (int i = 1; i < n; ++i) {
            qmin = std::min(qmin, shape[i].q);
            qmax = std::max(qmax, shape[i].q);
        }
        const int r0 = Row(qmin - margin);
        const int r1 = Row(qmax + margin);
        for (int r = r0; r <= r1; ++r) {
            const double lo = Bottom(r) - margin;
            const double hi = Bottom(r + 1) + margin;
            double pmin = std::numeric_limits<double>::infinity();
            double pmax = -pmin;
            for (int i = 0; i < n; ++i) {
                const Point2& a = shape[i];
                const Point2& b = shape[(i + 1) % n];
                if (std::max(a.q, b.q) < lo || std::min(a.q, b.q) > hi) {
                    continue;
                }
                // The part of the edge inside the band.
                for (const Point2* end : {&a, &b}) {
                    const Point2& other = end == &a ? b : a;
                    double p = end->p;
                    const double q = std::clamp(end->q, lo, hi);
                    if (q != end->q && other.q != end->q) {
                        p = end->p + (other.p - end->p) * (q - end->q) / (other.q - end->q);
                    }
                    pmin = std::min(pmin, p);
                    pmax = std::max(pmax, p);
                }
            }
            if (!(pmin <= pmax)) {
                continue;
            }
            const int c0 = Col(pmin - margin);
            const int c1 = Col(pmax + margin);
            for (int c = c0; c <= c1; ++c) {
                visit(Index(c, r));
            }
        }
    }

  private:
    static int Clamp(double cell, int count) {
        if (!(cell >= 0.0)) {
            return 0;
        }
        return cell >= count ? count - 1 : static_cast<int>(cell);
    }

    double p0_ = 0.0;
    double q0_ = 0.0;
    double cell_ = 1.0;
    int cols_ = 1;
    int rows_ = 1;
};

// A grid entry: a corner, and the version of the edge or ear it stands for
// when it was entered. Entries of removed corners and of changed edges and
// ears are dropped when a cell is next read.
struct Entry {
    std::uint32_t node;
    std::uint32_t version;
};

enum class Inside : std::uint8_t { Unknown, Yes, No };

// What is known of the ear that starts at a corner: (a, next, next of next).
struct EarState {
    std::uint32_t version = ~0u;  // the ear version it was found for
    bool degenerate = false;
    Inside inside = Inside::Unknown;
    bool fragile = false;       // inside came from an angle sum near half a turn
    std::int64_t blocker = -2;  // -2 unknown, -1 no corner inside, else that corner
    std::uint32_t epoch = 0;    // the epoch in which inside was decided
    Vector3d centroid{};
    Point2 centroid2{};
};

// The ears that may qualify, as bits in array order (a corner's number is
// its place in the array, and cuts keep the order), with a second level
// that marks the words holding any, so the next one is found in few steps.
class OpenEars {
  public:
    static constexpr std::uint32_t kNone = ~0u;

    void Resize(std::uint32_t count) {
        words_.assign((count + 63) / 64, 0);
        summary_.assign((words_.size() + 63) / 64, 0);
    }
    void Insert(std::uint32_t i) {
        words_[i / 64] |= Bit(i);
        summary_[i / 4096] |= Bit(i / 64);
    }
    void Erase(std::uint32_t i) {
        std::uint64_t& word = words_[i / 64];
        word &= ~Bit(i);
        if (word == 0) {
            summary_[i / 4096] &= ~Bit(i / 64);
        }
    }
    // The first open ear at or after i, or kNone.
    std::uint32_t NextFrom(std::uint32_t i) const {
        std::size_t w = i / 64;
        if (w >= words_.size()) {
            return kNone;
        }
        const std::uint64_t here = words_[w] & (~0ull << (i % 64));
        if (here != 0) {
            return static_cast<std::uint32_t>(w * 64 + __builtin_ctzll(here));
        }
        ++w;
        for (std::size_t s = w / 64; s < summary_.size(); ++s) {
            std::uint64_t bits = summary_[s];
            if (s == w / 64) {
                bits &= w % 64 == 0 ? ~0ull : ~0ull << (w % 64);
            }
            if (bits != 0) {
                const std::size_t word = s * 64 + __builtin_ctzll(bits);
                return static_cast<std::uint32_t>(word * 64 + __builtin_ctzll(words_[word]));
            }
        }
        return kNone;
    }

  private:
    static std::uint64_t Bit(std::uint32_t i) { return 1ull << (i % 64); }

    std::vector<std::uint64_t> words_;
    std::vector<std::uint64_t> summary_;
};

class PlaneClipper {
  public:
    PlaneClipper(const std::uint32_t* corners, std::uint32_t count, const Vector3d* points)
        : corners_(corners), count_(count), points_(points) {}

    bool Prepare();
    void Run(std::vector<CornerTriangle>& triangles);

  private:
    const Vector3d& At(std::uint32_t node) const { return points_[corners_[node]]; }
    Point2 Project(const Vector3d& v) const {
        if (!axisPlane_) {
            return {Dot(v, across_), Dot(v, up_)};
        }
        const double c[3] = {v.x, v.y, v.z};
        return {c[(axis_ + 1) % 3], c[(axis_ + 2) % 3]};
    }
    // How far v may lie off the plane, rounding included.
    double OffPlane(const Vector3d& v) const {
        if (!axisPlane_) {
            return std::fabs(Dot(v, normal_) - level_) + slack_;
        }
        const double c[3] = {v.x, v.y, v.z};
        return std::fabs(c[axis_] - level_);
    }

    // How near the triangle of a cut a centroid must lie for its answer to
    // be sought again.
    double StaleWithin() const { return stale_; }

    bool FindAxisPlane();
    bool FindPlane();
    double CutDrift(const Point2 (&cut)[3]) const;
    void ReopenAll();
    void AddEdge(std::uint32_t node);
    bool Valid(std::uint32_t a);
    void Refresh(std::uint32_t a);
    void DecideInside(std::uint32_t a);
    void FindBlocker(std::uint32_t a);
    Inside AngleSumInside(std::uint32_t a, bool& fragile);
    void Cut(std::uint32_t a, std::vector<CornerTriangle>& triangles);

    template <typename Live, typename Visit>
    void Read(std::vector<Entry>& cell, Live live, Visit visit) {
        std::size_t kept = 0;
        for (const Entry& e : cell) {
            if (live(e)) {
                cell[kept++] = e;
                visit(e);
            }
        }
        cell.resize(kept);
    }

    const std::uint32_t* corners_;
    std::uint32_t count_;
    const Vector3d* points_;

    // The plane: either one of constant x, y or z, in which the corners lie
    // exactly and are projected without rounding, or any other, given by a
    // unit normal and two in-plane axes, off which the corners may lie by
    // up to heights_.
    bool axisPlane_ = true;
    int axis_ = 2;  // the coordinate that all corners share
    Vector3d normal_{};
    Vector3d across_{};
    Vector3d up_{};
    double level_ = 0.0;
    double slack_ = 0.0;           // rounding of a projection or a height
    double heights_ = 0.0;         // how far any corner may lie off the plane
    double centroidHeight_ = 0.0;  // how far any centroid may lie off it
    double near_ = 0.0;            // closer than this to an edge, no ray is trusted
    double stale_ = 0.0;           // see StaleWithin
    // Answers kept are valid in the epoch they were found in; a new epoch
    // begins when the cuts since the last could have moved any sum by more
    // than kDriftBudget.
    std::uint32_t epoch_ = 0;
    double drift_ = 0.0;
    double perimeter_ = 0.0;
    Grid grid_{0, 0, 1, 1, 1};
    // Edges are kept in a stack of grids whose cells double in size, each
    // edge in the finest one where it touches at most two cells a side, so a
    // long edge costs no more than a short one.
    std::vector<Grid> edgeGrids_;

    std::vector<std::uint32_t> next_;
    std::vector<std::uint32_t> prev_;
    std::vector<bool> alive_;
    std::vector<std::uint32_t> edgeVersion_;
    std::vector<std::uint32_t> earVersion_;
    std::vector<Point2> flat_;
    std::vector<EarState> ears_;
    std::vector<std::vector<Entry>> blocks_;                  // per corner: the ears it blocks
    std::vector<std::vector<std::vector<Entry>>> edgeCells_;  // per edge grid
    std::vector<std::vector<Entry>> cornerCells_;
    std::vector<std::vector<Entry>> earCells_;
    std::vector<std::uint32_t> seen_;  // per corner: the last visit that saw it
    std::uint32_t visit_ = 0;
    OpenEars open_;            // ears that may qualify
    std::uint32_t first_ = 0;  // the corner at array position 0
    std::uint32_t left_ = 0;   // corners left
    std::vector<std::uint32_t> scratch_;
};

// A coordinate that every corner shares exactly.
bool PlaneClipper::FindAxisPlane() {
    const Vector3d& p0 = At(0);
    const double first[3] = {p0.x, p0.y, p0.z};
    for (int axis : {2, 1, 0}) {
        bool shared = true;
        for (std::uint32_t i = 1; i < count_ && shared; ++i) {
            const Vector3d& v = At(i);
            const double c[3] = {v.x, v.y, v.z};
            shared = c[axis] == first[axis];
        }
        if (shared) {
            axisPlane_ = true;
            axis_ = axis;
            level_ = first[axis];
            // A centroid lies off the plane by its rounding alone.
            centroidHeight_ = 1e-15 * std::fabs(level_);
            return std::isfinite(level_);
        }
    }
    return false;
}

// Any other plane: the normal of Newell's method (the polygon's area
// vector), and how far the corners lie off the plane through their middle
// height. Whether that is close enough is decided on the extent.
bool PlaneClipper::FindPlane() {
    const Vector3d& origin = At(0);
    Vector3d area{0.0, 0.0, 0.0};
    double largest = 0.0;
    for (std::uint32_t i = 0; i < count_; ++i) {
        const Vector3d& v = At(i);
        const Vector3d a = Subtract(v, origin);
        const Vector3d b = Subtract(At((i + 1) % count_), origin);
        area.x += (a.y - b.y) * (a.z + b.z);
        area.y += (a.z - b.z) * (a.x + b.x);
        area.z += (a.x - b.x) * (a.y + b.y);
        largest = std::max({largest, std::fabs(v.x), std::fabs(v.y), std::fabs(v.z)});
    }
    const double length = Length(area);
    if (!(length > 0.0) || !std::isfinite(length) || !std::isfinite(largest)) {
        return false;
    }
    axisPlane_ = false;
    normal_ = Scale(area, 1.0 / length);
    // The in-plane axes, from the coordinate axis the normal is least along.
    const double n[3] = {std::fabs(normal_.x), std::fabs(normal_.y), std::fabs(normal_.z)};
    const int least = n[0] <= n[1] && n[0] <= n[2] ? 0 : n[1] <= n[2] ? 1 : 2;
    const Vector3d axis{least == 0 ? 1.0 : 0.0, least == 1 ? 1.0 : 0.0, least == 2 ? 1.0 : 0.0};
    across_ = Normalize(Cross(normal_, axis));
    up_ = Cross(normal_, across_);
    // A dot product with these axes is off by a few units in the last place
    // of the largest coordinate; the axes are off square by as little.
    slack_ = 4e-15 * largest;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (std::uint32_t i = 0; i < count_; ++i) {
        const double h = Dot(At(i), normal_);
        low = std::min(low, h);
        high = std::max(high, h);
    }
    level_ = 0.5 * (low + high);
    heights_ = 0.5 * (high - low) + slack_;
    centroidHeight_ = heights_ + slack_;
    return std::isfinite(heights_);
}

bool PlaneClipper::Prepare() {
    if (!FindAxisPlane() && !FindPlane()) {
        return false;
    }

    flat_.resize(count_);
    double pmin = std::numeric_limits<double>::infinity();
    double pmax = -pmin;
    double qmin = pmin;
    double qmax = -pmin;
    for (std::uint32_t i = 0; i < count_; ++i) {
        flat_[i] = Project(At(i));
        if (!std::isfinite(flat_[i].p) || !std::isfinite(flat_[i].q)) {
            return false;
        }
        pmin = std::min(pmin, flat_[i].p);
        pmax = std::max(pmax, flat_[i].p);
        qmin = std::min(qmin, flat_[i].q);
        qmax = std::max(qmax, flat_[i].q);
    }
    const double extent = std::hypot(pmax - pmin, qmax - qmin);
    if (!(extent > 0.0) || !std::isfinite(extent)) {
        return false;
    }
    grid_ = Grid::Over(pmin, qmin, pmax - pmin, qmax - qmin, count_);
    edgeGrids_.push_back(grid_);
    while (edgeGrids_.back().Count() > 1) {
        edgeGrids_.push_back(edgeGrids_.back().Coarser());
    }
    if (!(heights_ <= kFlatEnough * extent)) {
        return false;  // not flat enough: the literal rule decides
    }
    // Nearer an edge than this, a corner off the plane could tip an answer.
    // A hundred times the heights keeps a corner clear of an ear outside it
    // for the angle sum too, and the centroid's answer within reach of its
    // bound.
    near_ = std::max(extent * 1e-9, 1e2 * heights_);
    stale_ = 1e3 * std::max(extent * 1e-9, 1e3 * heights_);
    // A cut beyond StaleWithin of a centroid moves its angle sum by at most
    // this (see CutDrift); where that is not far below the budget, the
    // search would start over all the time: far from the origin for its
    // size, the literal rule decides.
    const double worstCut =
        5.0 * ((kPi + 2.0) * centroidHeight_ + (3.0 * kPi + 2.0) * heights_) / StaleWithin();
    if (!(worstCut < kDriftBudget / 8)) {
        return false;
    }

    next_.resize(count_);
    prev_.resize(count_);
    open_.Resize(count_);
    alive_.assign(count_, true);
    edgeVersion_.assign(count_, 0);
    earVersion_.assign(count_, 0);
    ears_.assign(count_, EarState{});
    blocks_.assign(count_, {});
    seen_.assign(count_, 0);
    edgeCells_.resize(edgeGrids_.size());
    for (std::size_t k = 0; k < edgeGrids_.size(); ++k) {
        edgeCells_[k].assign(edgeGrids_[k].Count(), {});
    }
    cornerCells_.assign(grid_.Count(), {});
    earCells_.assign(grid_.Count(), {});
    for (std::uint32_t i = 0; i < count_; ++i) {
        next_[i] = (i + 1) % count_;
        prev_[i] = (i + count_ - 1) % count_;
        cornerCells_[grid_.Index(grid_.Col(flat_[i].p), grid_.Row(flat_[i].q))].push_back(
            Entry{i, 0});
        open_.Insert(i);
    }
    for (std::uint32_t i = 0; i < count_; ++i) {
        AddEdge(i);
        perimeter_ += Distance2(flat_[i], flat_[next_[i]]);
    }
    first_ = 0;
    left_ = count_;
    return true;
}

void PlaneClipper::AddEdge(std::uint32_t node) {
    const Point2 segment[2] = {flat_[node], flat_[next_[node]]};
    const double span =
        std::max(std::fabs(segment[0].p - segment[1].p), std::fabs(segment[0].q - segment[1].q)) +
        2 * near_;
    std::size_t k = 0;
    while (k + 1 < edgeGrids_.size() && edgeGrids_[k].Cell() < span) {
        ++k;
    }
    const Entry entry{node, edgeVersion_[node]};
    edgeGrids_[k].Cover(segment, 2, near_,
                        [&](std::size_t cell) { edgeCells_[k][cell].push_back(entry); });
}

// Brings the ear's state up to date with its current corners.
void PlaneClipper::Refresh(std::uint32_t a) {
    EarState& ear = ears_[a];
    if (ear.version == earVersion_[a]) {
        return;
    }
    const std::uint32_t b = next_[a];
    const std::uint32_t c = next_[b];
    ear = EarState{};
    ear.version = earVersion_[a];
    ear.degenerate = IsDegenerate(At(a), At(b), At(c));
    if (ear.degenerate) {
        return;
    }
    // As TriangulateStep computes it, to the last bit.
    ear.centroid = Scale(Add(Add(At(a), At(b)), At(c)), kOneThird);
    ear.centroid2 = Project(ear.centroid);
    earCells_[grid_.Index(grid_.Col(ear.centroid2.p), grid_.Row(ear.centroid2.q))].push_back(
        Entry{a, ear.version});
}

Inside PlaneClipper::AngleSumInside(std::uint32_t a, bool& fragile) {
    scratch_.clear();
    std::uint32_t node = first_;
    do {
        scratch_.push_back(corners_[node]);
        node = next_[node];
    } while (node != first_);
    const double sum = PolygonAngleSum(
        scratch_.data(), points_, static_cast<std::uint32_t>(scratch_.size()), ears_[a].centroid);
    ears_[a].epoch = epoch_;
    fragile = std::fabs(sum - kHalfTurn) < kFragileMargin;
    return sum > kHalfTurn ? Inside::Yes : Inside::No;
}

void PlaneClipper::DecideInside(std::uint32_t a) {
    EarState& ear = ears_[a];
    const Point2 g = ear.centroid2;
    const double z = OffPlane(ear.centroid);

    // The edges near the centroid: none may come too close, and each adds
    // what the heights over the plane, the centroid's and the corners', can
    // move its term of the sum: they tilt the term off the normal and change
    // its angle. Edges beyond the cells around the centroid in every grid
    // are at least `beyond` away.
    const double h = heights_;
    ++visit_;
    std::uint32_t nearEdges = 0;
    double bound = 0.0;
    bool tooClose = false;
    double beyond = std::numeric_limits<double>::infinity();
    auto liveEdge = [&](const Entry& e) {
        return alive_[e.node] && edgeVersion_[e.node] == e.version;
    };
    for (std::size_t k = 0; k < edgeGrids_.size() && !tooClose; ++k) {
        const Grid& grid = edgeGrids_[k];
        const int gc = grid.Col(g.p);
        const int gr = grid.Row(g.q);
        const int c0 = std::max(gc - 1, 0);
        const int c1 = std::min(gc + 1, grid.Cols() - 1);
        const int r0 = std::max(gr - 1, 0);
        const int r1 = std::min(gr + 1, grid.Rows() - 1);
        for (int r = r0; r <= r1 && !tooClose; ++r) {
            for (int c = c0; c <= c1 && !tooClose; ++c) {
                Read(edgeCells_[k][grid.Index(c, r)], liveEdge, [&](const Entry& e) {
                    if (tooClose || seen_[e.node] == visit_) {
                        return;
                    }
                    seen_[e.node] = visit_;
                    ++nearEdges;
                    const Point2& s0 = flat_[e.node];
                    const Point2& s1 = flat_[next_[e.node]];
                    if (SegmentDistance(g, s0, s1) <= near_) {
                        tooClose = true;
                        return;
                    }
                    const double length = Distance2(s0, s1);
                    const double area2 = std::fabs(Cross2(s0, s1, g));
                    const Point2 u{s0.p - g.p, s0.q - g.q};
                    const Point2 v{s1.p - g.p, s1.q - g.q};
                    const double lu = std::hypot(u.p, u.q);
                    const double lv = std::hypot(v.p, v.q);
                    // How much the heights can change the angle itself.
                    const double turn = (z + h) * (1.0 / lu + 1.0 / lv);
                    if (area2 > 0.0 && length > 0.0) {
                        const double angle = std::atan2(area2, u.p * v.p + u.q * v.q);
                        bound += (angle + turn) * (z * length + h * (lu + lv)) / area2 + turn;
                    } else {
                        bound += 3.0 * turn;  // in line: the angle is no more than turn
                    }
                });
            }
        }
        if (c0 > 0) beyond = std::min(beyond, g.p - grid.Left(c0));
        if (c1 < grid.Cols() - 1) beyond = std::min(beyond, grid.Left(c1 + 1) - g.p);
        if (r0 > 0) beyond = std::min(beyond, g.q - grid.Bottom(r0));
        if (r1 < grid.Rows() - 1) beyond = std::min(beyond, grid.Bottom(r1 + 1) - g.q);
    }
    if (tooClose) {
        ear.inside = AngleSumInside(a, ear.fragile);
        return;
    }
    if (std::isfinite(beyond)) {
        beyond = std::max(beyond, 0.0);
        bound += z * (0.5 * kPi * perimeter_ / (beyond * beyond) + kPi * left_ / beyond);
        if (h > 0.0) {
            // Corners off the plane: between a far edge and its projection
            // stands a flat wall no higher than h, whose own sum is by
            // Stokes' theorem at most 2 h length / beyond^2. The walls' upright
            // sides cancel along each run of far edges but at its two ends,
            // each no more than h / beyond. The angles of the projections
            // change with the centroid's height by 2 z / beyond at most.
            bound += 2.0 * h * perimeter_ / (beyond * beyond) + 2.1 * (nearEdges + 1) * h / beyond +
                     2.0 * left_ * z / beyond;
        }
    }
    // And the rounding of the literal sum itself.
    bound += left_ * 1e-14;
    if (!(bound < kCertainWithin)) {
        ear.inside = AngleSumInside(a, ear.fragile);
        return;
    }

    // The winding number: edges crossing the ray from the centroid towards
    // larger p. Every edge is clear of the centroid, so rounding cannot
    // move a crossing to the wrong side of it.
    ++visit_;
    int winding = 0;
    for (std::size_t k = 0; k < edgeGrids_.size(); ++k) {
        const Grid& grid = edgeGrids_[k];
        const int gr = grid.Row(g.q);
        for (int c = grid.Col(g.p); c < grid.Cols(); ++c) {
            Read(edgeCells_[k][grid.Index(c, gr)], liveEdge, [&](const Entry& e) {
                if (seen_[e.node] == visit_) {
                    return;
                }
                seen_[e.node] = visit_;
                const Point2& s0 = flat_[e.node];
                const Point2& s1 = flat_[next_[e.node]];
                if ((s0.q > g.q) == (s1.q > g.q)) {
                    return;
                }
                const double p = s0.p + (s1.p - s0.p) * (g.q - s0.q) / (s1.q - s0.q);
                if (p > g.p) {
                    winding += s1.q > s0.q ? 1 : -1;
                }
            });
        }
    }
    ear.inside = winding != 0 ? Inside::Yes : Inside::No;
    ear.fragile = false;
    ear.epoch = epoch_;
}

void PlaneClipper::FindBlocker(std::uint32_t a) {
    EarState& ear = ears_[a];
    const std::uint32_t b = next_[a];
    const std::uint32_t c = next_[b];
    const std::uint32_t tip[3] = {corners_[a], corners_[b], corners_[c]};
    const Point2 shape[3] = {flat_[a], flat_[b], flat_[c]};
    ear.blocker = -1;
    auto liveCorner = [&](const Entry& e) { return static_cast<bool>(alive_[e.node]); };
    grid_.Cover(shape, 3, near_, [&](std::size_t cell) {
        if (ear.blocker >= 0) {
            return;
        }
        Read(cornerCells_[cell], liveCorner, [&](const Entry& e) {
            const std::uint32_t j = e.node;
            if (ear.blocker >= 0 || j == a || j == b || j == c) {
                return;
            }
            // Corners clear of the triangle are outside for the angle sum
            // too (all lie in the plane); the rest it decides.
            if (NearTriangle(flat_[j], shape[0], shape[1], shape[2], near_) &&
                PointInPolygon(tip, points_, 3, At(j))) {
                ear.blocker = j;
            }
        });
    });
    if (ear.blocker >= 0) {
        blocks_[static_cast<std::size_t>(ear.blocker)].push_back(Entry{a, ear.version});
    }
}

// Whether the ear at a qualifies now, as TriangulateStep would decide.
bool PlaneClipper::Valid(std::uint32_t a) {
    Refresh(a);
    EarState& ear = ears_[a];
    if (ear.degenerate) {
        return false;
    }
    // A corner inside rules the ear out whatever its centroid does, and
    // stays inside until it is cut off.
    if (ear.blocker >= 0 && alive_[static_cast<std::size_t>(ear.blocker)]) {
        return false;
    }
    if (ear.inside == Inside::Unknown || ear.fragile || ear.epoch != epoch_) {
        DecideInside(a);
    }
    if (ear.inside == Inside::No) {
        return false;
    }
    if (ear.blocker == -2 || (ear.blocker >= 0 && !alive_[static_cast<std::size_t>(ear.blocker)])) {
        FindBlocker(a);
    }
    return ear.blocker == -1;
}

// How far cutting off the triangle can move the angle sum at a centroid
// beyond StaleWithin of it. The sum is additive over edges, so the cut takes
// the triangle's own sum away, the integral of (x - g) x dx / |x - g|^2 around
// it. By Stokes' theorem that is the integral over the flat triangle of
// 2 s (x - g) / |x - g|^4, s the centroid's distance from the triangle's
// plane: no more than 2 |s| times the integral of 1 / r^3, which is at most
// area / D^3 and at most 12 area / (longest edge D^2) for a centroid D away.
// s is at most the heights of centroid and corners plus the triangle's tilt
// times D, and the tilt times the area is at most 1.5 heights times the
// longest edge. Term by term the move is also no more than the effect of the
// heights on three edges D away, which bounds it for large triangles.
double PlaneClipper::CutDrift(const Point2 (&cut)[3]) const {
    const double d = StaleWithin();
    const double area = 0.5 * std::fabs(Cross2(cut[0], cut[1], cut[2]));
    const double longest =
        std::max({Distance2(cut[0], cut[1]), Distance2(cut[1], cut[2]), Distance2(cut[2], cut[0])});
    const double h = heights_;
    const double z = centroidHeight_ + h;
    double stokes = 2.0 * z * std::min(area / (d * d * d), 12.0 * area / (longest * d * d));
    if (h > 0.0) {
        stokes += 2.0 * std::min(1.5 * h * longest / (d * d), 18.0 * h / d);
    }
    const double edges = 5.0 * ((kPi + 2.0) * centroidHeight_ + (3.0 * kPi + 2.0) * heights_) / d;
    // Twice over, for the corners' own projections and the sum's rounding.
    return 2.0 * std::min(stokes, edges);
}

// A new epoch: every answer kept about the inside is sought again, and
// every ear may qualify.
void PlaneClipper::ReopenAll() {
    ++epoch_;
    drift_ = 0.0;
    std::uint32_t node = first_;
    do {
        open_.Insert(node);
        node = next_[node];
    } while (node != first_);
}

void PlaneClipper::Cut(std::uint32_t a, std::vector<CornerTriangle>& triangles) {
    const std::uint32_t b = next_[a];
    const std::uint32_t c = next_[b];
    triangles.push_back({corners_[a], corners_[b], corners_[c]});
    const Point2 removed[3] = {flat_[a], flat_[b], flat_[c]};

    alive_[b] = false;
    open_.Erase(b);
    next_[a] = c;
    prev_[c] = a;
    --left_;
    if (b == first_) {
        first_ = c;
    }
    perimeter_ += Distance2(flat_[a], flat_[c]) - Distance2(flat_[a], flat_[b]) -
                  Distance2(flat_[b], flat_[c]);
    perimeter_ = std::max(perimeter_, 0.0);
    ++edgeVersion_[a];
    AddEdge(a);

    // The two ears that now have other corners.
    for (std::uint32_t e : {prev_[a], a}) {
        ++earVersion_[e];
        open_.Insert(e);
    }
    // The ears that b blocked may qualify now.
    for (const Entry& e : blocks_[b]) {
        if (alive_[e.node] && earVersion_[e.node] == e.version) {
            ears_[e.node].blocker = -2;
            open_.Insert(e.node);
        }
    }
    blocks_[b].clear();
    blocks_[b].shrink_to_fit();
    // Only inside the triangle cut off does the polygon's inside change; the
    // centroids in or near it are decided again.
    const double margin = StaleWithin();
    auto liveEar = [&](const Entry& e) {
        return alive_[e.node] && earVersion_[e.node] == e.version;
    };
    grid_.Cover(removed, 3, margin, [&](std::size_t cell) {
        Read(earCells_[cell], liveEar, [&](const Entry& e) {
            EarState& ear = ears_[e.node];
            if (ear.inside != Inside::Unknown &&
                NearTriangle(ear.centroid2, removed[0], removed[1], removed[2], margin)) {
                ear.inside = Inside::Unknown;
                open_.Insert(e.node);
            }
        });
    });
    // Farther away the sums move only a little, but that adds up.
    drift_ += CutDrift(removed);
    if (drift_ > kDriftBudget) {
        ReopenAll();
    }
}

void PlaneClipper::Run(std::vector<CornerTriangle>& triangles) {
    while (left_ > 3) {
        bool cut = false;
        for (std::uint32_t a = open_.NextFrom(0); a != OpenEars::kNone; a = open_.NextFrom(a + 1)) {
            if (Valid(a)) {
                Cut(a, triangles);
                cut = true;
                break;
            }
            // An answer near half a turn is asked again at the next cut.
            if (!ears_[a].fragile) {
                open_.Erase(a);
            }
        }
        if (!cut) {
            return;  // no ear qualifies: the rest of the polygon gives nothing
        }
    }
    const std::uint32_t a = first_;
    const std::uint32_t b = next_[a];
    const std::uint32_t c = next_[b];
    if (!IsDegenerate(At(a), At(b), At(c))) {
        triangles.push_back({corners_[a], corners_[b], corners_[c]});
    }
}

void TriangulateLiterally(const std::uint32_t* corners, std::uint32_t count, const Vector3d* points,
                          std::vector<CornerTriangle>& triangles) {
    // The cuts shrink a copy of the corners. Nearly every face is small
    // enough for a copy on the stack, which spares an allocation per face.
    std::uint32_t small[kLiteralUpTo];
    std::vector<std::uint32_t> large;
    std::uint32_t* polygon = small;
    if (count > kLiteralUpTo) {
        large.assign(corners, corners + count);
        polygon = large.data();
    } else {
        std::copy(corners, corners + count, small);
    }
    std::uint32_t left = count;
    std::uint32_t t[3];
    while (TriangulateStep(polygon, left, points, t)) {
        triangles.push_back({t[0], t[1], t[2]});
    }
}

}  // namespace

bool TriangulateInPlane(const std::uint32_t* corners, std::uint32_t count, const Vector3d* points,
                        std::vector<CornerTriangle>& triangles) {
    triangles.clear();
    if (count < 4) {
        TriangulateLiterally(corners, count, points, triangles);
        return true;
    }
    PlaneClipper clipper(corners, count, points);
    if (!clipper.Prepare()) {
        return false;
    }
    clipper.Run(triangles);
    return true;
}

void Triangulate(const std::uint32_t* corners, std::uint32_t count, const Vector3d* points,
                 std::vector<CornerTriangle>& triangles) {
    triangles.clear();
    if (count > kLiteralUpTo && TriangulateInPlane(corners, count, points, triangles)) {
        return;
    }
    TriangulateLiterally(corners, count, points, triangles);
}

}  // namespace plugins::objread
