#include "export/export_run.h"

#include <utility>

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

// Hands mesh to writer as an ExportMesh, with the very points, numbering
// and bounds that expanding, scaling and exchanging its axes give it in
// table form (Mesh3d::Expand, ScaleMesh, SwapAxes); the mesh keeps its
// compact arrays and gets those bounds.
void WriteAsExportMesh(Mesh3d& mesh, const ExportSettings& settings, ExportWriter& writer,
                       const ExportReport& report) {
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
    writer.WriteExportMesh(lean, settings, report);
}

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
    for (ObjectListNode* node = objects->head; node != nullptr; node = node->next) {
        if (node->object == nullptr || node->object->type != kObjectTypeMesh) {
            continue;
        }
        auto* mesh = static_cast<Mesh3d*>(node->object);
        if (writer.TakesExportMesh() && OnlyCompact(*mesh)) {
            WriteAsExportMesh(*mesh, *settings, writer, report);
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
