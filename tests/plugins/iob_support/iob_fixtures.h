// Imagine object files for the iobread and iobwrite tests, built in code with
// the project's IFF builder, so each test shows the layout it exercises:
//
//   Bytes file = IffBuilder("TDDD")
//                    .Begin("OBJ ")
//                    .Begin("DESC")
//                    .Chunk("NAME", chunks::Name("BOX"))
//                    .Chunk("SHP2", iobtest::Shp2(2))
//                    .Chunk("PNTS", iobtest::Points(box.points))
//                    ...
//                    .End()
//                    .Chunk("TOBJ", {})
//                    .End()
//                    .Build();
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/vector3d.h"
#include "iff_builder.h"

namespace plugins::iobtest {

using tessvane::testing::Bytes;
using tessvane::testing::IffBuilder;

using Edge = std::array<std::uint32_t, 2>;
using Face = std::array<std::uint32_t, 3>;

// Points, edges between them and faces as triples of edge numbers, the way
// an Imagine object keeps them.
struct Geometry {
    std::vector<Vector3d> points;
    std::vector<Edge> edges;
    std::vector<Face> faces;
};

// Triangles given by point numbers, as Imagine keeps them: each undirected
// edge once, in order of first use, and each face as its edges (a, b),
// (b, c), (c, a).
Geometry FromTriangles(std::vector<Vector3d> points, const std::vector<Face>& triangles);

// A unit cube from (0, 0, 0) to (1, 1, 1): 8 points, 18 edges, 12 faces.
Geometry Cube();

// A grid of columns x rows points in the plane z = 0, one unit apart, with
// two triangles per cell.
Geometry Grid(std::uint32_t columns, std::uint32_t rows);
// The same grid's triangles by point numbers (row by row, point c of row r
// being r * columns + c).
std::vector<Face> GridFaces(std::uint32_t columns, std::uint32_t rows);
// The same grid as triangles by their corners, for a host's mesh.
std::vector<Triangle3d> GridTriangles(std::uint32_t columns, std::uint32_t rows);

// Chunk data. wide: the 32-bit counts (and indices) of PNT2, EDG2 and FAC2.
Bytes Shp2(int shape, int lamp = 0);
Bytes Vectors(const std::vector<Vector3d>& vectors);  // POSI (one), AXIS (three)
Bytes Points(const std::vector<Vector3d>& points, bool wide = false);
Bytes Edges(const std::vector<Edge>& edges, bool wide = false);
Bytes Faces(const std::vector<Face>& faces, bool wide = false);

// An object's DESC chunk with NAME, SHP2 (shape 2), POSI and AXIS when
// given, its geometry (in the 16-bit or the 32-bit chunks), then the extra
// chunks. The caller adds its children, if any, and closes it with a TOBJ
// chunk.
struct ObjectFrame {
    Vector3d position;
    Vector3d axes[3];
};
struct ExtraChunk {
    std::string id;
    Bytes data;
};
IffBuilder& AddObject(IffBuilder& file, const std::string& name, const Geometry& geometry,
                      bool wide = false, const ObjectFrame* frame = nullptr,
                      const std::vector<ExtraChunk>& extra = {});

// A whole file of one hierarchy: a single object named name.
Bytes OneObjectFile(const std::string& name, const Geometry& geometry, bool wide = false);

}  // namespace plugins::iobtest
