#include "mesh_fixtures.h"

#include <cmath>
#include <cstdarg>

#include "framework/line_io.h"

namespace plugins::exporttest {

Mesh3d* MakeTableMesh(const char* name, const std::vector<Triangle3d>& triangles) {
    auto* mesh = new Mesh3d(triangles.size(), name);
    for (const Triangle3d& t : triangles) {
        mesh->AddTriangle(t);
    }
    return mesh;
}

Mesh3d* MakeCompactMesh(const char* name, const std::vector<Triangle3d>& triangles) {
    Mesh3d* mesh = MakeTableMesh(name, triangles);
    mesh->Compact();
    mesh->FreeTables();
    return mesh;
}

std::vector<Triangle3d> SingleTriangle() {
    return {{{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}};
}

std::vector<Triangle3d> CubeTriangles() {
    // FaceNormal is (P2 - P0) x (P1 - P0), so a side seen from outside is
    // listed clockwise.
    const Vector3d p[8] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                           {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    const int quads[6][4] = {
        {0, 1, 2, 3},  // z = 0, outward -z: counter-clockwise seen from +z
        {4, 7, 6, 5},  // z = 1
        {0, 4, 5, 1},  // y = 0
        {3, 2, 6, 7},  // y = 1
        {0, 3, 7, 4},  // x = 0
        {1, 5, 6, 2},  // x = 1
    };
    std::vector<Triangle3d> result;
    for (const auto& q : quads) {
        result.push_back({p[q[0]], p[q[1]], p[q[2]]});
        result.push_back({p[q[0]], p[q[2]], p[q[3]]});
    }
    return result;
}

std::vector<Triangle3d> BumpyGrid(int n) {
    auto height = [](int i, int j) {
        return 0.37 * std::sin(i * 1.7 + j * 0.3) + 0.21 * std::cos(j * 2.3 - i);
    };
    std::vector<Triangle3d> result;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            Vector3d a{double(i), double(j), height(i, j)};
            Vector3d b{double(i + 1), double(j), height(i + 1, j)};
            Vector3d c{double(i + 1), double(j + 1), height(i + 1, j + 1)};
            Vector3d d{double(i), double(j + 1), height(i, j + 1)};
            result.push_back({a, b, c});
            result.push_back({a, c, d});
        }
    }
    return result;
}

Obj3d* MakeOtherObject(const char* name) {
    return new Obj3d(name, 7);
}

void DeleteAnyObject(Obj3d* object) {
    delete object;
}

std::vector<std::string>& RecordedStatus() {
    static std::vector<std::string> lines;
    return lines;
}

long& RecordedProgressCalls() {
    static long calls = 0;
    return calls;
}

void ClearRecording() {
    RecordedStatus().clear();
    RecordedProgressCalls() = 0;
}

namespace {

void RecordStatus(std::FILE* /*stream*/, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    RecordedStatus().push_back(FormatText(format, args));
    va_end(args);
}

void RecordProgress(std::uint32_t /*index*/, std::uint32_t /*count*/) {
    ++RecordedProgressCalls();
}

}  // namespace

ProgressCallbacks RecordingCallbacks() {
    return {RecordStatus, RecordProgress, nullptr};
}

}  // namespace plugins::exporttest
