#include "objread/import_run.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

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
    context.splitMode = SplitModeFromSetting(settings.obj_mode);
    context.fileSize = size > 0 ? static_cast<std::uint64_t>(size) : 0;
    context.callbacks = callbacks;
    context.log = &log;
    const ObjParseResult parsed = ParseObjLines(file, groups, context);
    std::fclose(file);

    const std::size_t count = groups.Count();
    const std::string& name = settings.file_name;
    if (parsed.status != ObjParseResult::Status::Read) {
        // Meshes of a file read in part are not what the file holds: none
        // are handed over.
        for (std::size_t i = 0; i < count; ++i) {
            delete groups.Get(i).mesh;
            groups.Get(i).mesh = nullptr;
        }
        const std::string line = std::to_string(parsed.line);
        switch (parsed.status) {
            case ObjParseResult::Status::ReadError:
                ReportImportFailure("cannot read " + name + " after line " + line + ": " +
                                        std::strerror(parsed.error),
                                    log);
                break;
            case ObjParseResult::Status::LineTooLong:
                ReportImportFailure("line " + line + " of " + name + " is longer than " +
                                        std::to_string(kMaxObjLine >> 20) + " MiB",
                                    log);
                break;
            default:
                ReportImportFailure(
                    "line " + line + " of " + name + ": a coordinate is not a finite number", log);
                break;
        }
        return false;
    }
    std::vector<Mesh3d*> meshes(count);
    for (std::size_t i = 0; i < count; ++i) {
        meshes[i] = groups.Get(i).mesh;
        groups.Get(i).mesh = nullptr;
    }
    HandOverImportedMeshes(result, std::move(meshes), settings, callbacks, log);
    // An empty file holds no meshes by rights; anything else that gives none
    // (a UTF-16 file, one without usable faces) is not what was meant.
    struct stat info {};
    const bool emptyFile = stat(name.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
                           info.st_size == 0 && parsed.bytes == 0;
    if (result.Count() == 0 && !emptyFile) {
        ReportNoMeshes(name, log);
        return false;
    }
    return true;
}

bool ImportRun(ObjectList& result, const ImportSettings& settings,
               const ProgressCallbacks* callbacks) {
    ImportRunFrame frame(settings, settings.file_name, kImportTitle, callbacks);
    return ReadObjFile(result, settings, callbacks, frame.Log());
}

}  // namespace plugins::objread
