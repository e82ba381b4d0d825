#include "objread/ear_clipping.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <limits>
#include <set>

#include "objread/triangulate.h"

namespace plugins::objread {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kOneThird = 0.3333333333333333;

// Polygons up to this size cost little with the literal rule.
constexpr std::uint32_t kLiteralUpTo = 24;

// An angle sum that the literal rule computed and that lies closer than this
// to half a turn is computed again whenever it is needed: a later cut far
// away changes the sum by rounding alone, which might tip it over.
constexpr double kFragileMargin = 1e-2;

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

enum class Inside : std::uint8_t { kUnknown, kYes, kNo };

// What is known of the ear that starts at a corner: (a, next, next of next).
struct EarState {
    std::uint32_t version = ~0u;  // the ear version it was found for
    bool degenerate = false;
    Inside inside = Inside::kUnknown;
    bool fragile = false;       // inside came from an angle sum near half a turn
    std::int64_t blocker = -2;  // -2 unknown, -1 no corner inside, else that corner
    Vector3d centroid{};
    Point2 centroid2{};
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
        const double c[3] = {v.x, v.y, v.z};
        return {c[(axis_ + 1) % 3], c[(axis_ + 2) % 3]};
    }
    double OffPlane(const Vector3d& v) const {
        const double c[3] = {v.x, v.y, v.z};
        return std::fabs(c[axis_] - level_);
    }

    // How near the triangle of a cut a centroid must lie for its answer to
    // be sought again.
    double StaleWithin() const { return 1e3 * near_; }

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

    int axis_ = 2;  // the coordinate that all corners share
    double level_ = 0.0;
    double near_ = 0.0;  // closer than this to an edge, no ray is trusted
    double fragileMargin_ = kFragileMargin;
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
    std::set<std::uint32_t> open_;  // ears that may qualify, in array order
    std::uint32_t first_ = 0;       // the corner at array position 0
    std::uint32_t left_ = 0;        // corners left
    std::vector<std::uint32_t> scratch_;
};

bool PlaneClipper::Prepare() {
    // The plane: a coordinate that every corner shares exactly.
    const Vector3d& p0 = At(0);
    const double first[3] = {p0.x, p0.y, p0.z};
    bool found = false;
    for (int axis : {2, 1, 0}) {
        bool shared = true;
        for (std::uint32_t i = 1; i < count_ && shared; ++i) {
            const Vector3d& v = At(i);
            const double c[3] = {v.x, v.y, v.z};
            shared = c[axis] == first[axis];
        }
        if (shared) {
            axis_ = axis;
            level_ = first[axis];
            found = true;
            break;
        }
    }
    if (!found || !std::isfinite(level_)) {
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
    near_ = extent * 1e-9;
    // A centroid lies off the plane by its rounding alone, and so a cut far
    // from it can still move its angle sum a little: at most this much over
    // all cuts together. Sums the literal rule computed are trusted only with
    // ten times that margin.
    const double offPlane = 1e-15 * std::fabs(level_);
    fragileMargin_ = std::max(kFragileMargin, 10.0 * count_ * 3.0 * kPi * offPlane / StaleWithin());
    if (!(fragileMargin_ < 0.5)) {
        return false;  // far from the origin for its size: the literal rule decides
    }

    next_.resize(count_);
    prev_.resize(count_);
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
        open_.insert(open_.end(), i);
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
    fragile = std::fabs(sum - kHalfTurn) < fragileMargin_;
    return sum > kHalfTurn ? Inside::kYes : Inside::kNo;
}

void PlaneClipper::DecideInside(std::uint32_t a) {
    EarState& ear = ears_[a];
    const Point2 g = ear.centroid2;
    const double z = OffPlane(ear.centroid);

    // The edges near the centroid: none may come too close, and each adds
    // what the centroid's height over the plane can move its angle. Edges
    // beyond the cells around the centroid in every grid are at least
    // `beyond` away.
    ++visit_;
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
                    const Point2& s0 = flat_[e.node];
                    const Point2& s1 = flat_[next_[e.node]];
                    if (SegmentDistance(g, s0, s1) <= near_) {
                        tooClose = true;
                        return;
                    }
                    const double length = Distance2(s0, s1);
                    const double area2 = std::fabs(Cross2(s0, s1, g));
                    if (area2 > 0.0 && length > 0.0) {
                        const Point2 u{s0.p - g.p, s0.q - g.q};
                        const Point2 v{s1.p - g.p, s1.q - g.q};
                        const double angle = std::atan2(area2, u.p * v.p + u.q * v.q);
                        bound += z * angle * length / area2;
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
    ear.inside = winding != 0 ? Inside::kYes : Inside::kNo;
    ear.fragile = false;
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
    if (ear.inside == Inside::kUnknown || ear.fragile) {
        DecideInside(a);
    }
    if (ear.inside == Inside::kNo) {
        return false;
    }
    if (ear.blocker == -2 || (ear.blocker >= 0 && !alive_[static_cast<std::size_t>(ear.blocker)])) {
        FindBlocker(a);
    }
    return ear.blocker == -1;
}

void PlaneClipper::Cut(std::uint32_t a, std::vector<CornerTriangle>& triangles) {
    const std::uint32_t b = next_[a];
    const std::uint32_t c = next_[b];
    triangles.push_back({corners_[a], corners_[b], corners_[c]});
    const Point2 removed[3] = {flat_[a], flat_[b], flat_[c]};

    alive_[b] = false;
    open_.erase(b);
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
        open_.insert(e);
    }
    // The ears that b blocked may qualify now.
    for (const Entry& e : blocks_[b]) {
        if (alive_[e.node] && earVersion_[e.node] == e.version) {
            ears_[e.node].blocker = -2;
            open_.insert(e.node);
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
            if (ear.inside != Inside::kUnknown &&
                NearTriangle(ear.centroid2, removed[0], removed[1], removed[2], margin)) {
                ear.inside = Inside::kUnknown;
                open_.insert(e.node);
            }
        });
    });
}

void PlaneClipper::Run(std::vector<CornerTriangle>& triangles) {
    while (left_ > 3) {
        bool cut = false;
        for (auto it = open_.begin(); it != open_.end();) {
            const std::uint32_t a = *it;
            if (Valid(a)) {
                Cut(a, triangles);
                cut = true;
                break;
            }
            // An answer near half a turn is asked again at the next cut.
            it = ears_[a].fragile ? std::next(it) : open_.erase(it);
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
    std::vector<std::uint32_t> polygon(corners, corners + count);
    std::uint32_t left = count;
    std::uint32_t t[3];
    while (TriangulateStep(polygon.data(), left, points, t)) {
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
