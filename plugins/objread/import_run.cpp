#include "objread/import_run.h"

#include <cstdint>
#include <cstdio>

#include "framework/import_steps.h"
#include "framework/log_file.h"
#include "framework/path_text.h"
#include "objread/import_settings.h"
#include "objread/obj_reader.h"

namespace plugins::objread {

bool ReadObjFile(ObjectList& result, const ImportSettings& settings,
                 const ProgressCallbacks* callbacks, LogFile& log) {
    std::FILE* file = OpenImportFile(settings.file_name, log);
    if (file == nullptr) {
        return false;
    }
    const std::int64_t size = FileSize(file);

    ObjGroupList groups;
    ObjParseContext context;
    context.objMode = settings.obj_mode;
    context.fileSize = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    context.callbacks = callbacks;
    context.log = &log;
    ParseObjLines(file, groups, context);

    const std::size_t count = groups.Count();
    for (std::size_t i = 0; i < count; ++i) {
        Mesh3d* mesh = groups.Get(i).mesh;
        groups.Get(i).mesh = nullptr;
        if (mesh != nullptr) {
            HandOverImportedMesh(result, mesh, settings, callbacks, log, static_cast<unsigned>(i),
                                 static_cast<unsigned>(count));
        }
    }
    std::fclose(file);
    return true;
}

bool ImportRun(ObjectList& result, const ImportSettings& settings,
               const ProgressCallbacks* callbacks) {
    ImportRunFrame frame(settings, settings.file_name, kImportTitle, callbacks);
    return ReadObjFile(result, settings, callbacks, frame.Log());
}

}  // namespace plugins::objread
