#include "framework/mesh.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "framework/log_file.h"
#include "framework/memory.h"

namespace plugins {

Obj3d::Obj3d(const char* text, int objectType) : name(StrDup(text)), type(objectType) {}

Obj3d::Obj3d(const Obj3d& /*other*/) : name(nullptr), type(0) {
    // Objects own their tables and arrays through plain pointers; a copy
    // would free them twice, so copying is stopped where it happens.
    std::fputs("internal error: Obj3d::Obj3d(const Obj3d &) called!\n", stderr);
    std::exit(1);
}

void Obj3d::SetName(const char* text) {
    char* copy = StrDup(text);
    SafeFree(name);
    name = copy;
}

void* Obj3d::operator new(std::size_t size) {
    return SafeAlloc(size);
}

void Obj3d::operator delete(void* block) {
    if (block != nullptr) {
        SafeFree(block);
    }
}

// ---------------------------------------------------------------------------

Mesh3d::Mesh3d(std::uint64_t n, const char* text)
    : Obj3d(text, kObjectTypeMesh),
      boundsUnset(1),
      vertices(new VertexTable(n)),
      faces(new FaceTable(n)),
      edges(new EdgeTable(n)),
      points(nullptr),
      triangles(nullptr),
      pointCount(0),
      triangleCount(0),
      min{0.0, 0.0, 0.0},
      max{0.0, 0.0, 0.0},
      transform{} {
    for (int i = 0; i < 4; ++i) {
        transform.m[i][i] = 1.0;
    }
}

void Mesh3d::FreeTables() {
    delete vertices;
    delete faces;
    delete edges;
    vertices = nullptr;
    faces = nullptr;
    edges = nullptr;
}

void Mesh3d::AddTriangle(const Triangle3d& t) {
    AddTriangles(*this, &t, 1);
}

Triangle3d Mesh3d::GetTriangle(int i) const {
    Triangle3d t{};
    FaceVertices face{};
    if (vertices == nullptr || faces == nullptr || faces->Get(i, face) != 0) {
        return t;
    }
    vertices->Get(face.k0, t.P0);
    vertices->Get(face.k1, t.P1);
    vertices->Get(face.k2, t.P2);
    return t;
}

void Mesh3d::WriteStatistics(LogFile& log) const {
    if (vertices == nullptr || faces == nullptr) {
        return;
    }
    log.Printf("Statistic:\n");
    log.Printf("Object   : %s\n", name);
    log.Printf("Faces    : %d\n", faces->Count());
    log.Printf("Vertices : %d\n", vertices->Count());
    log.Printf("Min : <%f,%f,%f>\n", min.x, min.y, min.z);
    log.Printf("Max : <%f,%f,%f>\n", max.x, max.y, max.z);
}

}  // namespace plugins
