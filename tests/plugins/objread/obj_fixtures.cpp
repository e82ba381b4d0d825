#include "obj_fixtures.h"

namespace plugins::objtest {

std::vector<MeshResult> Meshes(const ObjectList& list) {
    std::vector<MeshResult> result;
    for (const ObjectListNode* node = list.head; node != nullptr; node = node->next) {
        const auto* mesh = static_cast<const Mesh3d*>(node->object);
        MeshResult m;
        m.name = mesh->name;
        m.points.assign(mesh->points, mesh->points + mesh->pointCount);
        m.triangles.assign(mesh->triangles, mesh->triangles + mesh->triangleCount);
        m.min = mesh->min;
        m.max = mesh->max;
        result.push_back(std::move(m));
    }
    return result;
}

std::vector<std::string> Names(const std::vector<MeshResult>& meshes) {
    std::vector<std::string> names;
    for (const MeshResult& m : meshes) {
        names.push_back(m.name);
    }
    return names;
}

std::vector<Triangle3d> Triangles(const MeshResult& mesh) {
    std::vector<Triangle3d> result;
    for (const TriangleIndices& t : mesh.triangles) {
        result.push_back({mesh.points[t.k0], mesh.points[t.k1], mesh.points[t.k2]});
    }
    return result;
}

std::string GridObj(int w, int h) {
    std::string text;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            text += "v " + std::to_string(x) + " " + std::to_string(y) + " 0\n";
        }
    }
    for (int y = 0; y + 1 < h; ++y) {
        for (int x = 0; x + 1 < w; ++x) {
            const int a = y * w + x + 1;
            text += "f " + std::to_string(a) + " " + std::to_string(a + 1) + " " +
                    std::to_string(a + w + 1) + " " + std::to_string(a + w) + "\n";
        }
    }
    return text;
}

}  // namespace plugins::objtest
