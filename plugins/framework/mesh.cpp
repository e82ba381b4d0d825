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

Obj3d::~Obj3d() {
    SafeFree(name);
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

Mesh3d::~Mesh3d() {
    FreeTables();
    if (points != nullptr) {
        SafeFree(points);
    }
    if (triangles != nullptr) {
        SafeFree(triangles);
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
    if (vertices == nullptr || faces == nullptr || edges == nullptr) {
        return;
    }
    for (const Vector3d* p : {&t.P0, &t.P1, &t.P2}) {
        if (boundsUnset == 1) {
            min = *p;
            max = *p;
            boundsUnset = 0;
        } else {
            min = {std::min(min.x, p->x), std::min(min.y, p->y), std::min(min.z, p->z)};
            max = {std::max(max.x, p->x), std::max(max.y, p->y), std::max(max.z, p->z)};
        }
    }

    // The lookups run in the fixed order that numbers vertices, faces and
    // edges; their buckets are computed and fetched ahead, so the cache
    // misses of independent lookups overlap instead of following each other.
    const std::uint32_t vb0 = vertices->BucketOf(t.P0);
    const std::uint32_t vb1 = vertices->BucketOf(t.P1);
    const std::uint32_t vb2 = vertices->BucketOf(t.P2);
    vertices->Prefetch(vb0);
    vertices->Prefetch(vb1);
    vertices->Prefetch(vb2);
    const int a = vertices->FindOrAdd(t.P0, vb0);
    const int b = vertices->FindOrAdd(t.P1, vb1);
    const int c = vertices->FindOrAdd(t.P2, vb2);

    const std::uint32_t fb = faces->BucketOf(a, b, c);
    const std::uint32_t eb1 = edges->BucketOf(a, b);
    const std::uint32_t eb2 = edges->BucketOf(b, c);
    const std::uint32_t eb3 = edges->BucketOf(c, a);
    faces->Prefetch(fb);
    edges->Prefetch(eb1);
    edges->Prefetch(eb2);
    edges->Prefetch(eb3);
    const int f = faces->FindOrAdd(a, b, c, fb);
    const int e1 = edges->FindOrAdd(a, b, eb1);
    const int e2 = edges->FindOrAdd(b, c, eb2);
    const int e3 = edges->FindOrAdd(c, a, eb3);
    vertices->AddFaceRef(f, a);
    vertices->AddFaceRef(f, b);
    vertices->AddFaceRef(f, c);
    faces->SetEdges(f, e1, e2, e3);
    edges->AddFace(f, e1);
    edges->AddFace(f, e2);
    edges->AddFace(f, e3);
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
