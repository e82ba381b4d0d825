#include "obj_generator.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "lcg.h"

namespace objbench {

namespace {

struct Plane {
    double ox, oy, oz;  // origin
    double ux, uy, uz;  // first axis
    double vx, vy, vz;  // second axis
};

class Writer {
  public:
    explicit Writer(const std::string& path) : file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) {
            throw std::runtime_error("cannot write " + path);
        }
    }
    ~Writer() {
        if (file_ != nullptr) {
            std::fclose(file_);
        }
    }
    template <typename... Args>
    void Line(const char* format, Args... args) {
        const int n = std::fprintf(file_, format, args...);
        if (n > 0) {
            bytes += static_cast<std::uint64_t>(n);
        }
    }
    void Vertex(const Plane& p, double s, double t) {
        Line("v %.6f %.6f %.6f\n", p.ox + s * p.ux + t * p.vx, p.oy + s * p.uy + t * p.vy,
             p.oz + s * p.uz + t * p.vz);
        ++vertices;
    }
    std::uint64_t bytes = 0;
    std::uint64_t vertices = 0;

  private:
    std::FILE* file_;
};

// Corner k (1-based vertex number v) in the style chosen for the face.
std::string Corner(int style, std::uint64_t v, std::uint64_t vt, std::uint64_t vn) {
    char text[96];
    switch (style) {
        case 0:
            std::snprintf(text, sizeof text, " %llu", static_cast<unsigned long long>(v));
            break;
        case 1:
            std::snprintf(text, sizeof text, " %llu/%llu", static_cast<unsigned long long>(v),
                          static_cast<unsigned long long>(vt));
            break;
        case 2:
            std::snprintf(text, sizeof text, " %llu//%llu", static_cast<unsigned long long>(v),
                          static_cast<unsigned long long>(vn));
            break;
        default:
            std::snprintf(text, sizeof text, " %llu/%llu/%llu", static_cast<unsigned long long>(v),
                          static_cast<unsigned long long>(vt), static_cast<unsigned long long>(vn));
            break;
    }
    return text;
}

}  // namespace

GeneratedObj GenerateObj(const std::string& path, std::uint64_t triangles) {
    constexpr int kSections = 8;
    Lcg random(20260611);
    Writer out(path);
    GeneratedObj result;
    out.Line("# benchmark model: %d sections, about %llu triangles\n", kSections,
             static_cast<unsigned long long>(triangles));
    out.Line("mtllib bench.mtl\n");

    // Per section: a grid of cells (two triangles each) plus loose polygons
    // making about a twentieth of the section's triangles.
    const double perSection = static_cast<double>(triangles) / kSections;
    const int cellsX = static_cast<int>(std::sqrt(perSection * 0.95 / 2.0 * 1.5));
    const int cellsY = static_cast<int>(perSection * 0.95 / 2.0 / cellsX);
    const std::uint64_t polygonTriangles = static_cast<std::uint64_t>(perSection * 0.05);

    std::uint64_t vt = 0;
    std::uint64_t vn = 0;
    for (int section = 0; section < kSections; ++section) {
        const Plane plane = {
            section * 40.0, section * -3.0, section * 2.5, 1.0, 0.0, 0.1 * section, 0.0, 1.0,
            -0.05 * section};
        out.Line("o part_%d\ng group_%d\nusemtl material_%d\n", section, section % 3, section % 4);
        if (section % 3 == 2) {
            out.Line("s off\n");
        } else {
            out.Line("s %d\n", section + 1);
        }
        // Shared grid vertices, with a normal and texture coordinate line
        // per grid row.
        const std::uint64_t base = out.vertices;
        for (int y = 0; y <= cellsY; ++y) {
            for (int x = 0; x <= cellsX; ++x) {
                out.Vertex(plane, x * 0.1, y * 0.1);
            }
            out.Line("vt %.4f %.4f\nvn 0 0 1\n", y / static_cast<double>(cellsY), 0.5);
            ++vt;
            ++vn;
        }
        out.Line("# grid of %d x %d cells\n", cellsX, cellsY);
        for (int y = 0; y < cellsY; ++y) {
            for (int x = 0; x < cellsX; ++x) {
                const std::uint64_t a = base + static_cast<std::uint64_t>(y) * (cellsX + 1) + x + 1;
                const std::uint64_t b = a + 1;
                const std::uint64_t c = a + cellsX + 2;
                const std::uint64_t d = a + cellsX + 1;
                const int style = random.Below(4);
                const std::uint64_t t =
                    1 + static_cast<std::uint64_t>(random.Below(static_cast<int>(vt)));
                const std::uint64_t n =
                    1 + static_cast<std::uint64_t>(random.Below(static_cast<int>(vn)));
                if (random.Below(2) == 0) {
                    out.Line("f%s%s%s%s\n", Corner(style, a, t, n).c_str(),
                             Corner(style, b, t, n).c_str(), Corner(style, c, t, n).c_str(),
                             Corner(style, d, t, n).c_str());
                    result.faces += 1;
                } else {
                    out.Line("f%s%s%s\nf%s%s%s\n", Corner(style, a, t, n).c_str(),
                             Corner(style, b, t, n).c_str(), Corner(style, c, t, n).c_str(),
                             Corner(style, a, t, n).c_str(), Corner(style, c, t, n).c_str(),
                             Corner(style, d, t, n).c_str());
                    result.faces += 2;
                }
                result.triangles += 2;
            }
        }
        // Loose polygons beside the grid, in the same plane: convex
        // n-gons of 5 to 10 corners, L shapes and arrow heads.
        out.Line("# polygons\n");
        const double left = cellsX * 0.1 + 2.0;
        std::uint64_t made = 0;
        for (int k = 0; made < polygonTriangles; ++k) {
            const double cx = left + (k % 50) * 1.5;
            const double cy = (k / 50) * 1.5;
            const std::uint64_t first = out.vertices + 1;
            int corners = 0;
            switch (random.Below(3)) {
                case 0: {  // convex
                    corners = 5 + random.Below(6);
                    for (int i = 0; i < corners; ++i) {
                        const double angle = 6.283185307179586 * i / corners;
                        out.Vertex(plane, cx + 0.6 * std::cos(angle), cy + 0.6 * std::sin(angle));
                    }
                    break;
                }
                case 1: {  // L shape, concave
                    const double pts[6][2] = {{0, 0},     {1, 0},   {1, 0.5},
                                              {0.5, 0.5}, {0.5, 1}, {0, 1}};
                    corners = 6;
                    for (const auto& p : pts) {
                        out.Vertex(plane, cx + p[0], cy + p[1]);
                    }
                    break;
                }
                default: {  // arrow head, concave
                    const double pts[4][2] = {{0, 0}, {1, 0.5}, {0, 1}, {0.3, 0.5}};
                    corners = 4;
                    for (const auto& p : pts) {
                        out.Vertex(plane, cx + p[0], cy + p[1]);
                    }
                    break;
                }
            }
            std::string face = "f";
            for (int i = 0; i < corners; ++i) {
                face += ' ';
                face += std::to_string(first + static_cast<std::uint64_t>(i));
            }
            out.Line("%s\n", face.c_str());
            result.faces += 1;
            made += static_cast<std::uint64_t>(corners - 2);
        }
        result.triangles += made;
    }
    result.bytes = out.bytes;
    result.vertices = out.vertices;
    return result;
}

}  // namespace objbench
