// What every importer's fuzz target requires of the meshes an import handed
// over to the host.
#pragma once

#include "framework/contract.h"
#include "support/scratch.h"

namespace fuzzsupport {

// An importer's settings, made once, after the store has been pointed at the
// scratch directory; never deleted, so they save nothing.
template <class Settings>
Settings& ImporterSettings() {
    static auto* settings = new Settings();
    return *settings;
}

// Size values an option byte chooses from: none, a plain one, a mirroring
// one and one that flattens everything.
inline constexpr double kSizeValues[4] = {1.0, 2.5, -0.5, 0.0};

// Every mesh is in compact form, has points and triangles, and its
// triangles index its points.
inline void RequireHandedOver(const plugins::ObjectList& result) {
    for (const plugins::ObjectListNode* node = result.head; node != nullptr; node = node->next) {
        const auto* mesh = static_cast<const plugins::Mesh3d*>(node->object);
        Require(mesh->vertices == nullptr && mesh->faces == nullptr && mesh->edges == nullptr,
                "meshes are handed over in compact form");
        Require(mesh->pointCount > 0 && mesh->points != nullptr, "a mesh has points");
        Require(mesh->triangleCount > 0 && mesh->triangles != nullptr, "a mesh has triangles");
        for (int i = 0; i < mesh->triangleCount; ++i) {
            const plugins::TriangleIndices& t = mesh->triangles[i];
            Require(t.k0 >= 0 && t.k0 < mesh->pointCount && t.k1 >= 0 && t.k1 < mesh->pointCount &&
                        t.k2 >= 0 && t.k2 < mesh->pointCount,
                    "triangles index the mesh's points");
        }
    }
}

}  // namespace fuzzsupport
