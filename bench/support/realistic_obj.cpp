#include "realistic_obj.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lcg.h"

namespace objbench {

namespace {

constexpr int kObjects = 8;
constexpr double kPi = 3.141592653589793;

// sin and cos by range reduction and a Taylor polynomial. The C library's
// may differ in the last bit between versions, and a last bit can move a
// sixth decimal; these use + - * / and floor only.
double Sine(double x) {
    x -= 2.0 * kPi * std::floor(x / (2.0 * kPi) + 0.5);
    if (x > kPi / 2.0) {
        x = kPi - x;
    } else if (x < -kPi / 2.0) {
        x = -kPi - x;
    }
    const double x2 = x * x;
    return x * (1.0 -
                x2 / 6.0 *
                    (1.0 -
                     x2 / 20.0 *
                         (1.0 - x2 / 42.0 *
                                    (1.0 - x2 / 72.0 * (1.0 - x2 / 110.0 * (1.0 - x2 / 156.0))))));
}

double Cosine(double x) {
    return Sine(x + kPi / 2.0);
}

struct Point {
    double x, y, z;
};

Point Normalized(Point p) {
    const double length = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
    return length > 0.0 ? Point{p.x / length, p.y / length, p.z / length} : p;
}

// The numbers that one corner of a face names.
struct Corner {
    std::uint64_t v, vt, vn;
};

enum class CornerStyle { Full, Normal, Plain };  // v/vt/vn, v//vn, v

class ObjText {
  public:
    explicit ObjText(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) {
            throw std::runtime_error("cannot write " + path);
        }
        text_.reserve(kFlushAt + 4096);
    }
    ~ObjText() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    ObjText(const ObjText&) = delete;
    ObjText& operator=(const ObjText&) = delete;

    void Put(std::string_view s) { text_.append(s); }
    void Put(char c) { text_.push_back(c); }
    void Number(std::uint64_t n) {
        char digits[24];
        int count = 0;
        do {
            digits[count++] = static_cast<char>('0' + n % 10);
            n /= 10;
        } while (n != 0);
        while (count > 0) {
            text_.push_back(digits[--count]);
        }
    }
    // value rounded to millionths, with six decimals.
    void Fixed6(double value) {
        const long long units = std::llround(value * 1e6);
        const unsigned long long magnitude =
            units < 0 ? 0ull - static_cast<unsigned long long>(units) : units;
        if (units < 0) {
            text_.push_back('-');
        }
        Number(magnitude / 1000000);
        char fraction[8];
        std::snprintf(fraction, sizeof fraction, ".%06llu", magnitude % 1000000);
        text_.append(fraction);
    }
    void EndLine() {
        text_.push_back('\n');
        ++lines;
        if (text_.size() >= kFlushAt) {
            Flush();
        }
    }
    void Line(std::string_view s) {
        Put(s);
        EndLine();
    }
    void Close() {
        Flush();
        const bool failed = std::ferror(file_) != 0;
        const int closed = std::fclose(file_);
        file_ = nullptr;
        if (failed || closed != 0) {
            throw std::runtime_error("cannot write " + path_);
        }
    }

    std::uint64_t bytes = 0;
    std::uint64_t lines = 0;

  private:
    static constexpr std::size_t kFlushAt = 1 << 20;
    void Flush() {
        std::fwrite(text_.data(), 1, text_.size(), file_);
        bytes += text_.size();
        text_.clear();
    }

    std::string path_;
    std::FILE* file_;
    std::string text_;
};

// One object's share of the file: its vertices (with their vt and vn
// lines) and faces, and the group statements between them.
class ObjectWriter {
  public:
    ObjectWriter(ObjText& out, Lcg& random, RealisticObj& made, int object, CornerStyle style)
        : out_(out), random_(random), made_(made), object_(object), style_(style) {}

    Corner Vertex(Point p, double u, double v, Point normal) {
        out_.Put("v ");
        out_.Fixed6(p.x);
        out_.Put(' ');
        out_.Fixed6(p.y);
        out_.Put(' ');
        out_.Fixed6(p.z);
        out_.EndLine();
        ++made_.totals.vertices;
        if (style_ == CornerStyle::Full) {
            out_.Put("vt ");
            out_.Fixed6(u);
            out_.Put(' ');
            out_.Fixed6(v);
            out_.EndLine();
            ++vt_;
        }
        if (style_ != CornerStyle::Plain) {
            const Point n = Normalized(normal);
            out_.Put("vn ");
            out_.Fixed6(n.x);
            out_.Put(' ');
            out_.Fixed6(n.y);
            out_.Put(' ');
            out_.Fixed6(n.z);
            out_.EndLine();
            ++vn_;
        }
        return {made_.totals.vertices, vt_, vn_};
    }

    // A face over the corners in order (counter-clockwise seen from its
    // front), wound the other way now and then as careless models are.
    void Face(std::vector<Corner> corners, bool concave = false) {
        if (random_.Chance(3)) {
            std::reverse(corners.begin(), corners.end());
        }
        out_.Put('f');
        for (const Corner& c : corners) {
            out_.Put(' ');
            out_.Number(c.v);
            if (style_ == CornerStyle::Full) {
                out_.Put('/');
                out_.Number(c.vt);
                out_.Put('/');
                out_.Number(c.vn);
            } else if (style_ == CornerStyle::Normal) {
                out_.Put("//");
                out_.Number(c.vn);
            }
        }
        out_.EndLine();
        ++made_.totals.faces;
        made_.totals.triangles += corners.size() - 2;
        if (corners.size() >= 5) {
            ++made_.polygons;
            made_.concave += concave ? 1 : 0;
        }
        if (--untilNextGroup_ <= 0) {
            NextGroup();
        }
    }

    // Opens the next group: a g line, a material and a texture map of the
    // object's two, and a smoothing group.
    void NextGroup() {
        const int material = group_ % 2;
        char line[128];
        std::snprintf(line, sizeof line, "g object_%d_group_%d", object_, group_);
        out_.Line(line);
        std::snprintf(line, sizeof line, "usemtl material_%d_%c", object_, "ab"[material]);
        out_.Line(line);
        std::snprintf(line, sizeof line, "usemap texture_%d_%c.png", object_, "ab"[material]);
        out_.Line(line);
        if (random_.Chance(100)) {
            out_.Line("s off");
        } else {
            std::snprintf(line, sizeof line, "s %d", 1 + random_.Below(4));
            out_.Line(line);
        }
        ++group_;
        ++made_.groups;
        untilNextGroup_ = 1000 + random_.Below(1000);
    }

  private:
    ObjText& out_;
    Lcg& random_;
    RealisticObj& made_;
    int object_;
    CornerStyle style_;
    std::uint64_t vt_ = 0;
    std::uint64_t vn_ = 0;
    int group_ = 0;
    int untilNextGroup_ = 0;
};

// A torus around the vertical axis through center whose tube radius varies
// in bumps, as a grid of u x v cells (u around the axis, v around the
// tube). The last column and row repeat the first ones' positions as
// vertices of their own, the way exporters write texture seams.
class Torus {
  public:
    Torus(Point center, double major, double minor, int u, int v, std::uint64_t noiseSeed)
        : center_(center), major_(major), minor_(minor), u_(u), v_(v), noiseSeed_(noiseSeed) {}

    // Writes the (u + 1) x (v + 1) vertices; Corner(i, j) then names them.
    void WriteVertices(ObjectWriter& writer) {
        corners_.clear();
        for (int j = 0; j <= v_; ++j) {
            for (int i = 0; i <= u_; ++i) {
                const int iu = i % u_;
                const int jv = j % v_;
                const double a = 2.0 * kPi * iu / u_;
                const double b = 2.0 * kPi * jv / v_;
                const double r = minor_ * (1.0 + 0.12 * Sine(3.0 * a) * Sine(5.0 * b)) +
                                 minor_ * 0.002 * Noise(iu, jv);
                const double ring = major_ + r * Cosine(b);
                const Point p{center_.x + ring * Cosine(a), center_.y + ring * Sine(a),
                              center_.z + r * Sine(b)};
                const Point n{Cosine(b) * Cosine(a), Cosine(b) * Sine(a), Sine(b)};
                corners_.push_back(
                    writer.Vertex(p, static_cast<double>(i) / u_, static_cast<double>(j) / v_, n));
            }
        }
    }

    Corner At(int i, int j) const { return corners_[static_cast<std::size_t>(j) * (u_ + 1) + i]; }

    // Writes the faces: cells as quads or triangle pairs, runs of cells as
    // polygons of 5 to 12 corners, pairs of rows as L-shaped octagons.
    void WriteFaces(ObjectWriter& writer, Lcg& random) {
        std::vector<char> claimed(static_cast<std::size_t>(u_), 0);
        std::vector<char> claimedNext(static_cast<std::size_t>(u_), 0);
        for (int j = 0; j < v_; ++j) {
            int i = 0;
            while (i < u_) {
                if (claimed[i] != 0) {
                    ++i;
                    continue;
                }
                const int roll = random.Below(1000);
                if (roll < 48) {
                    const int n = 5 + random.Below(8);
                    const int cells = (n - 2) / 2 + (n % 2);
                    if (Free(claimed, i, cells)) {
                        writer.Face(Run(i, j, (n - 2) / 2, n % 2 == 1));
                        if (n % 2 == 1) {
                            const int k = i + (n - 2) / 2;
                            writer.Face({At(k + 1, j), At(k + 1, j + 1), At(k, j + 1)});
                        }
                        i += cells;
                        continue;
                    }
                } else if (roll < 54 && j + 1 < v_ && Free(claimed, i, 2)) {
                    const bool left = random.Below(2) == 0;
                    claimedNext[i + (left ? 0 : 1)] = 1;
                    writer.Face(LShape(i, j, left), true);
                    i += 2;
                    continue;
                }
                Cell(writer, random, i, j);
                ++i;
            }
            claimed.swap(claimedNext);
            std::fill(claimedNext.begin(), claimedNext.end(), 0);
        }
    }

  private:
    // Small, fixed roughness in -1 .. 1 per grid point.
    double Noise(int i, int j) const {
        std::uint64_t h = noiseSeed_ ^ (static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull) ^
                          (static_cast<std::uint64_t>(j) * 0xC2B2AE3D27D4EB4Full);
        h ^= h >> 31;
        h *= 0xBF58476D1CE4E5B9ull;
        h ^= h >> 29;
        return static_cast<double>(h % 2001) / 1000.0 - 1.0;
    }

    bool Free(const std::vector<char>& claimed, int i, int cells) const {
        if (i + cells > u_) {
            return false;
        }
        for (int k = i; k < i + cells; ++k) {
            if (claimed[k] != 0) {
                return false;
            }
        }
        return true;
    }

    void Cell(ObjectWriter& writer, Lcg& random, int i, int j) {
        const Corner a = At(i, j), b = At(i + 1, j), c = At(i + 1, j + 1), d = At(i, j + 1);
        switch (random.Below(4)) {
            case 0:
            case 1:
                writer.Face({a, b, c, d});
                break;
            case 2:
                writer.Face({a, b, c});
                writer.Face({a, c, d});
                break;
            default:
                writer.Face({a, b, d});
                writer.Face({b, c, d});
                break;
        }
    }

    // The cells i .. i + cells - 1 of row j as one polygon, and with
    // withTriangle the lower triangle of the cell after them as well.
    std::vector<Corner> Run(int i, int j, int cells, bool withTriangle) const {
        std::vector<Corner> corners;
        const int last = i + cells + (withTriangle ? 1 : 0);
        for (int k = i; k <= last; ++k) {
            corners.push_back(At(k, j));
        }
        for (int k = i + cells; k >= i; --k) {
            corners.push_back(At(k, j + 1));
        }
        return corners;
    }

    // Cells (i, j), (i + 1, j) and above them (i, j + 1) (left) or
    // (i + 1, j + 1): eight corners, one of them reflex.
    std::vector<Corner> LShape(int i, int j, bool left) const {
        if (left) {
            return {At(i, j),         At(i + 1, j),     At(i + 2, j), At(i + 2, j + 1),
                    At(i + 1, j + 1), At(i + 1, j + 2), At(i, j + 2), At(i, j + 1)};
        }
        return {At(i, j),         At(i + 1, j),     At(i + 2, j),     At(i + 2, j + 1),
                At(i + 2, j + 2), At(i + 1, j + 2), At(i + 1, j + 1), At(i, j + 1)};
    }

    Point center_;
    double major_, minor_;
    int u_, v_;
    std::uint64_t noiseSeed_;
    std::vector<Corner> corners_;
};

// A closed prism standing on the plane z = base: a cap of 5 to 12 corners
// (convex, a star, or convex with one corner pushed in), walls of quads or
// triangle pairs. The caps have vertices of their own, as hard edges do.
void WritePrism(ObjectWriter& writer, Lcg& random, Point foot) {
    const int shape = random.Below(3);  // 0 convex, 1 star, 2 notched
    const int n = shape == 1 ? 2 * (3 + random.Below(4)) : 5 + random.Below(8);
    const double radius = 0.3 + random.Below(300) / 1000.0;
    const double height = 0.2 + random.Below(800) / 1000.0;
    const int notch = random.Below(n);
    std::vector<Point> ring;
    for (int k = 0; k < n; ++k) {
        double r = radius;
        if ((shape == 1 && k % 2 == 1) || (shape == 2 && k == notch)) {
            r *= 0.45;
        }
        const double a = 2.0 * kPi * k / n;
        ring.push_back({Cosine(a) * r, Sine(a) * r, 0.0});
    }
    auto at = [&](const Point& p, double z) {
        return Point{foot.x + p.x, foot.y + p.y, foot.z + z};
    };
    std::vector<Corner> bottom, top, bottomCap, topCap;
    for (const Point& p : ring) {
        const Point side{p.x, p.y, 0.0};
        bottom.push_back(writer.Vertex(at(p, 0.0), p.x, 0.0, side));
        top.push_back(writer.Vertex(at(p, height), p.x, 1.0, side));
    }
    for (const Point& p : ring) {
        topCap.push_back(writer.Vertex(at(p, height), p.x, p.y, {0.0, 0.0, 1.0}));
    }
    for (auto it = ring.rbegin(); it != ring.rend(); ++it) {
        bottomCap.push_back(writer.Vertex(at(*it, 0.0), it->x, it->y, {0.0, 0.0, -1.0}));
    }
    const bool concave = shape != 0;
    writer.Face(topCap, concave);
    for (int k = 0; k < n; ++k) {
        const int next = (k + 1) % n;
        if (random.Chance(700)) {
            writer.Face({bottom[k], bottom[next], top[next], top[k]});
        } else {
            writer.Face({bottom[k], bottom[next], top[next]});
            writer.Face({bottom[k], top[next], top[k]});
        }
    }
    writer.Face(bottomCap, concave);
}

}  // namespace

RealisticObj GenerateRealisticObj(const std::string& path, std::uint64_t triangles,
                                  std::uint64_t seed) {
    Lcg random(seed);
    ObjText out(path);
    RealisticObj made;
    char line[160];
    std::snprintf(line, sizeof line, "# realistic benchmark model, about %llu triangles",
                  static_cast<unsigned long long>(triangles));
    out.Line(line);
    out.Line("mtllib model.mtl");

    // Per object: 88% of its triangles in the torus (two per cell), the rest
    // in prisms of about 30 triangles each.
    const double perObject = static_cast<double>(triangles) / kObjects;
    const double cells = std::max(64.0, perObject * 0.88 / 2.0);
    const int v = std::max(4, static_cast<int>(std::sqrt(cells / 4.0)));
    const int u = std::max(8, static_cast<int>(cells / v));
    const int prisms = std::max(2, static_cast<int>(perObject * 0.12 / 30.0));

    for (int object = 0; object < kObjects; ++object) {
        const CornerStyle style = object == 5 || object == 6 ? CornerStyle::Normal
                                  : object == 7              ? CornerStyle::Plain
                                                             : CornerStyle::Full;
        std::snprintf(line, sizeof line, "o object_%d", object);
        out.Line(line);
        ObjectWriter writer(out, random, made, object, style);
        const Point center{(object % 4) * 40.0 - 60.0, (object / 4) * 40.0 - 20.0, object * 2.5};
        const double major = 8.0 + object;
        const double minor = 2.5 + 0.25 * object;
        Torus torus(center, major, minor, u, v, seed + static_cast<std::uint64_t>(object));
        torus.WriteVertices(writer);
        std::snprintf(line, sizeof line, "# %d x %d cells", u, v);
        out.Line(line);
        writer.NextGroup();
        torus.WriteFaces(writer, random);
        // The prisms stand on a ring above the torus.
        for (int k = 0; k < prisms; ++k) {
            const double a = 2.0 * kPi * k / prisms;
            const double reach = major + (random.Below(1000) / 1000.0 - 0.5) * minor;
            const Point foot{center.x + reach * Cosine(a), center.y + reach * Sine(a),
                             center.z + minor * 1.5 + random.Below(500) / 1000.0};
            WritePrism(writer, random, foot);
        }
    }
    out.Close();
    made.totals.bytes = out.bytes;
    made.lines = out.lines;
    return made;
}

}  // namespace objbench
