#include "export/export_run.h"

#include "export/export_settings.h"
#include "framework/log_file.h"
#include "framework/progress.h"

namespace plugins {

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
