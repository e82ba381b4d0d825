#include "framework/import_finish.h"

#include <cstdio>

#include "framework/mesh.h"
#include "framework/plugin_settings.h"
#include "framework/progress.h"

namespace {

// The callbacks of the mesh being oriented, for the orientation's progress
// function, which carries no context. Only one import runs at a time.
const ProgressCallbacks* g_meshCallbacks = nullptr;

void ForwardMeshProgress(unsigned int done, unsigned int total) {
    if (g_meshCallbacks != nullptr && g_meshCallbacks->MeshProgress != nullptr) {
        g_meshCallbacks->MeshProgress(done, total);
    }
}

template <typename... Args>
void Status(const ProgressCallbacks* callbacks, const char* format, Args... args) {
    if (callbacks != nullptr && callbacks->Status != nullptr) {
        callbacks->Status(stderr, format, args...);
    }
}

}  // namespace

void FinishImportedMesh(Mesh3d& mesh, const PluginSettings& settings,
                        const ProgressCallbacks* callbacks, LogFile& log, unsigned index,
                        unsigned count) {
    mesh.WriteStatistics(log);
    if (callbacks != nullptr && callbacks->FileProgress != nullptr) {
        callbacks->FileProgress(index, count);
    }
    Status(callbacks, "Sizing: %s\n", mesh.name);
    mesh.ScaleMesh(settings.size_value);
    Status(callbacks, "Swapping axis: %s\n", mesh.name);
    if (settings.swap_mode != 0) {
        mesh.SwapAxes(settings.swap_mode);
    }
    Status(callbacks, "Unifying: %s\n", mesh.name);
    if (settings.unify_mode != 0) {
        g_meshCallbacks = callbacks;
        mesh.UnifyOrientation(ForwardMeshProgress);
        g_meshCallbacks = nullptr;
    }
    Status(callbacks, "Reducing: %s\n", mesh.name);
    mesh.Compact();
    mesh.FreeTables();
}
