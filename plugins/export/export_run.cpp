#include "export/export_run.h"

#include <functional>
#include <future>
#include <system_error>
#include <utility>

#include "export/chunked_text.h"
#include "export/export_mesh.h"
#include "export/export_settings.h"
#include "framework/log_file.h"
#include "framework/progress.h"

namespace plugins {

namespace {

// True when mesh is in compact form only, as hosts hand meshes over: that
// is when Expand gives it its tables.
bool OnlyCompact(const Mesh3d& mesh) {
    return mesh.vertices == nullptr && mesh.faces == nullptr && mesh.edges == nullptr &&
           mesh.points != nullptr && mesh.triangles != nullptr;
}

// The ExportMesh of mesh, with the very points, numbering and bounds that
// expanding, scaling and exchanging its axes give it in table form
// (Mesh3d::Expand, ScaleMesh, SwapAxes); the mesh keeps its compact arrays
// and gets those bounds.
ExportMesh PrepareExportMesh(Mesh3d& mesh, const ExportSettings& settings) {
    ExportMesh lean = ExportMesh::FromCompact(mesh);
    const double factor = settings.size_value;
    if (factor != 1.0) {
        lean.ScalePoints(factor);
        mesh.min = Scale(mesh.min, factor);
        mesh.max = Scale(mesh.max, factor);
        // A negative factor mirrors the bounds; they stay a minimum and a
        // maximum.
        if (mesh.min.x > mesh.max.x) std::swap(mesh.min.x, mesh.max.x);
        if (mesh.min.y > mesh.max.y) std::swap(mesh.min.y, mesh.max.y);
        if (mesh.min.z > mesh.max.z) std::swap(mesh.min.z, mesh.max.z);
    }
    const SwapMode mode = SwapModeFromSetting(settings.swap_mode);
    if (mode != SwapMode::None) {
        lean.SwapPointAxes(mode);
        SwapCoordinates(mesh.min, mode);
        SwapCoordinates(mesh.max, mode);
    }
    return lean;
}

// The mesh of node, or null for another object.
Mesh3d* MeshOf(const ObjectListNode* node) {
    if (node->object == nullptr || node->object->type != kObjectTypeMesh) {
        return nullptr;
    }
    return static_cast<Mesh3d*>(node->object);
}

// The meshes that writer takes as an ExportMesh, one at a time and in list
// order. A large one is prepared on a thread of its own while the mesh
// before it is written; a small one, which costs less than starting a
// thread, and every one where no thread can be started or the machine has a
// single processor, is prepared when it is taken.
class ExportMeshesAhead {
  public:
    ExportMeshesAhead(const ExportWriter& writer, const ExportSettings& settings)
        : writer_(writer), settings_(settings), useThread_(DefaultUseThread()) {}

    // Whether writer takes mesh as an ExportMesh.
    bool Takes(const Mesh3d& mesh) const { return writer_.TakesExportMesh() && OnlyCompact(mesh); }

    // The ExportMesh of mesh, the mesh of node; then starts on the next mesh
    // after node that the writer takes.
    ExportMesh Take(Mesh3d& mesh, const ObjectListNode* node) {
        ExportMesh lean =
            ahead_.valid() && aheadOf_ == &mesh ? ahead_.get() : PrepareExportMesh(mesh, settings_);
        aheadOf_ = nullptr;
        if (useThread_) {
            for (const ObjectListNode* next = node->next; next != nullptr; next = next->next) {
                Mesh3d* candidate = MeshOf(next);
                if (candidate != nullptr) {
                    if (Takes(*candidate) && candidate->triangleCount >= kAheadFrom) {
                        StartOn(*candidate);
                    }
                    break;
                }
            }
        }
        return lean;
    }

  private:
    // Triangles from which a mesh is prepared ahead.
    static constexpr int kAheadFrom = 1 << 14;

    void StartOn(Mesh3d& mesh) {
        try {
            ahead_ = std::async(std::launch::async, PrepareExportMesh, std::ref(mesh),
                                std::cref(settings_));
            aheadOf_ = &mesh;
        } catch (const std::system_error&) {
            useThread_ = false;  // the mesh is prepared when it is taken
        }
    }

    const ExportWriter& writer_;
    const ExportSettings& settings_;
    bool useThread_;
    std::future<ExportMesh> ahead_;
    const Mesh3d* aheadOf_ = nullptr;
};

}  // namespace

int ExportRun(ObjectList* objects, ExportSettings* settings, const ProgressCallbacks* callbacks,
              ExportWriter& writer) {
    LogFile log(settings->verbose_mode == 1 ? settings->logfilename.c_str() : nullptr);
    const ExportBanner banner = writer.Banner();
    log.Printf("%s %s %s %s\n", banner.title, banner.buildDate, banner.buildTime, banner.buildTag);

    const char* file_name = settings->file_name.c_str();
    if (!writer.OpenOutput(file_name, *settings)) {
        return 0;
    }
    callbacks->Status(stderr, "Writing %s started ...\n", file_name);
    log.Printf("Writing %s started ...\n", file_name);

    writer.WritePreamble(*objects, *settings);

    const ExportReport report{callbacks, &log};
    ExportMeshesAhead ahead(writer, *settings);
    for (ObjectListNode* node = objects->head; node != nullptr; node = node->next) {
        Mesh3d* mesh = MeshOf(node);
        if (mesh == nullptr) {
            continue;
        }
        if (ahead.Takes(*mesh)) {
            const ExportMesh lean = ahead.Take(*mesh, node);
            writer.WriteExportMesh(lean, *settings, report);
            continue;
        }
        mesh->Expand();
        mesh->ScaleMesh(settings->size_value);
        mesh->SwapAxes(SwapModeFromSetting(settings->swap_mode));
        writer.WriteMesh(*mesh, *settings, report);
        mesh->FreeTables();
    }

    // The file takes its place before the run calls it finished, so that a
    // write that failed on the way is not reported as a finished file.
    if (!writer.CloseOutput()) {
        return 0;
    }
    callbacks->Status(stderr, "Writing %s finished       \n", file_name);
    log.Printf("Writing %s finished       \n", file_name);
    return 1;
}

}  // namespace plugins
