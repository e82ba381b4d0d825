#include "iob_fixtures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace plugins::iobtest {

using tessvane::testing::PutU16;
using tessvane::testing::PutU32;
namespace chunks = tessvane::testing::chunks;

namespace {

void PutCount(Bytes& out, std::size_t n, bool wide) {
    if (wide) {
        PutU32(out, static_cast<std::uint32_t>(n));
    } else {
        PutU16(out, static_cast<std::uint16_t>(n));
    }
}

void PutFract(Bytes& out, double v) {
    PutU32(out, static_cast<std::uint32_t>(static_cast<std::int32_t>(std::lround(v * 65536.0))));
}

}  // namespace

Geometry FromTriangles(std::vector<Vector3d> points, const std::vector<Face>& triangles) {
    Geometry g;
    g.points = std::move(points);
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint32_t> numbers;
    for (const Face& t : triangles) {
        Face face{};
        for (std::size_t k = 0; k < 3; ++k) {
            const std::uint32_t a = t[k];
            const std::uint32_t b = t[(k + 1) % 3];
            const std::pair<std::uint32_t, std::uint32_t> key{std::min(a, b), std::max(a, b)};
            auto [at, added] = numbers.try_emplace(key, static_cast<std::uint32_t>(g.edges.size()));
            if (added) {
                g.edges.push_back({a, b});
            }
            face[k] = at->second;
        }
        g.faces.push_back(face);
    }
    return g;
}

Geometry Cube() {
    return FromTriangles(
        {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}},
        {{0, 2, 1},
         {0, 3, 2},
         {4, 5, 6},
         {4, 6, 7},
         {0, 1, 5},
         {0, 5, 4},
         {1, 2, 6},
         {1, 6, 5},
         {2, 3, 7},
         {2, 7, 6},
         {3, 0, 4},
         {3, 4, 7}});
}

namespace {

std::vector<Vector3d> GridPoints(std::uint32_t columns, std::uint32_t rows) {
    std::vector<Vector3d> points;
    for (std::uint32_t r = 0; r < rows; ++r) {
        for (std::uint32_t c = 0; c < columns; ++c) {
            points.push_back({static_cast<double>(c), static_cast<double>(r), 0.0});
        }
    }
    return points;
}

}  // namespace

std::vector<Face> GridFaces(std::uint32_t columns, std::uint32_t rows) {
    std::vector<Face> triangles;
    for (std::uint32_t r = 0; r + 1 < rows; ++r) {
        for (std::uint32_t c = 0; c + 1 < columns; ++c) {
            const std::uint32_t p = r * columns + c;
            triangles.push_back({p, p + 1, p + columns + 1});
            triangles.push_back({p, p + columns + 1, p + columns});
        }
    }
    return triangles;
}

Geometry Grid(std::uint32_t columns, std::uint32_t rows) {
    return FromTriangles(GridPoints(columns, rows), GridFaces(columns, rows));
}

std::vector<Triangle3d> GridTriangles(std::uint32_t columns, std::uint32_t rows) {
    const std::vector<Vector3d> points = GridPoints(columns, rows);
    std::vector<Triangle3d> triangles;
    for (const Face& f : GridFaces(columns, rows)) {
        triangles.push_back({points[f[0]], points[f[1]], points[f[2]]});
    }
    return triangles;
}

Bytes Shp2(int shape, int lamp) {
    Bytes out;
    PutU16(out, static_cast<std::uint16_t>(shape));
    PutU16(out, static_cast<std::uint16_t>(lamp));
    return out;
}

Bytes Vectors(const std::vector<Vector3d>& vectors) {
    Bytes out;
    for (const Vector3d& v : vectors) {
        PutFract(out, v.x);
        PutFract(out, v.y);
        PutFract(out, v.z);
    }
    return out;
}

Bytes Points(const std::vector<Vector3d>& points, bool wide) {
    Bytes out;
    PutCount(out, points.size(), wide);
    Bytes coordinates = Vectors(points);
    out.insert(out.end(), coordinates.begin(), coordinates.end());
    return out;
}

Bytes Edges(const std::vector<Edge>& edges, bool wide) {
    Bytes out;
    PutCount(out, edges.size(), wide);
    for (const Edge& e : edges) {
        PutCount(out, e[0], wide);
        PutCount(out, e[1], wide);
    }
    return out;
}

Bytes Faces(const std::vector<Face>& faces, bool wide) {
    Bytes out;
    PutCount(out, faces.size(), wide);
    for (const Face& f : faces) {
        for (std::uint32_t e : f) {
            PutCount(out, e, wide);
        }
    }
    return out;
}

IffBuilder& AddObject(IffBuilder& file, const std::string& name, const Geometry& geometry,
                      bool wide, const ObjectFrame* frame, const std::vector<ExtraChunk>& extra) {
    file.Begin("DESC").Chunk("NAME", chunks::Name(name)).Chunk("SHP2", Shp2(2));
    if (frame != nullptr) {
        file.Chunk("POSI", Vectors({frame->position}))
            .Chunk("AXIS", Vectors({frame->axes[0], frame->axes[1], frame->axes[2]}));
    }
    file.Chunk(wide ? "PNT2" : "PNTS", Points(geometry.points, wide))
        .Chunk(wide ? "EDG2" : "EDGE", Edges(geometry.edges, wide))
        .Chunk(wide ? "FAC2" : "FACE", Faces(geometry.faces, wide));
    for (const ExtraChunk& chunk : extra) {
        file.Chunk(chunk.id, chunk.data);
    }
    return file.End();
}

Bytes OneObjectFile(const std::string& name, const Geometry& geometry, bool wide) {
    IffBuilder file("TDDD");
    file.Begin("OBJ ");
    AddObject(file, name, geometry, wide);
    return file.Chunk("TOBJ", {}).End().Build();
}

}  // namespace plugins::iobtest
