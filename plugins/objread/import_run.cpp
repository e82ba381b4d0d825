#include "objread/import_run.h"

#include <sys/stat.h>

#include <cstdio>
#include <ostream>

#include "framework/log_file.h"
#include "framework/mesh_tables.h"
#include "framework/path_text.h"
#include "framework/progress.h"
#include "framework/terminal_ui.h"
#include "objread/import_settings.h"
#include "objread/obj_reader.h"

namespace objread {

namespace {

// The callbacks of the run in progress, for the orientation step's progress
// function, which carries no context. Only one import runs at a time.
const ProgressCallbacks* g_runCallbacks = nullptr;

void ForwardMeshProgress(unsigned int done, unsigned int total) {
    if (g_runCallbacks != nullptr && g_runCallbacks->MeshProgress != nullptr) {
        g_runCallbacks->MeshProgress(done, total);
    }
}

template <typename... Args>
void Status(const ProgressCallbacks* callbacks, const char* format, Args... args) {
    if (callbacks != nullptr && callbacks->Status != nullptr) {
        callbacks->Status(stderr, format, args...);
    }
}

// Opens the file for reading; a directory is not a file that can be read.
std::FILE* OpenInput(const std::string& name) {
    std::FILE* file = std::fopen(name.c_str(), "rb");
    if (file == nullptr) {
        return nullptr;
    }
    struct stat info {};
    if (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode)) {
        std::fclose(file);
        return nullptr;
    }
    return file;
}

}  // namespace

bool ReadObjFile(ObjectList& result, const ImportSettings& settings,
                 const ProgressCallbacks* callbacks, LogFile& log) {
    const char* name = settings.file_name.c_str();
    std::FILE* file = OpenInput(settings.file_name);
    if (file == nullptr) {
        log.Printf("File %s not found\n", name);
        // The host learns nothing but an empty list; the person must hear it.
        Terminal& term = CurrentTerminal();
        *term.err << "File " << name << " not found\n";
        term.err->flush();
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
        if (mesh == nullptr) {
            continue;
        }
        if (mesh->vertices == nullptr || mesh->vertices->Count() == 0) {
            delete mesh;
            continue;
        }
        // Statistics before scaling: the logged bounds are the file's own.
        mesh->WriteStatistics(log);
        if (callbacks != nullptr && callbacks->FileProgress != nullptr) {
            callbacks->FileProgress(static_cast<unsigned>(i), static_cast<unsigned>(count));
        }
        Status(callbacks, "Sizing: %s\n", mesh->name);
        mesh->ScaleMesh(settings.size_value);
        Status(callbacks, "Swapping axis: %s\n", mesh->name);
        if (settings.swap_mode != 0) {
            mesh->SwapAxes(settings.swap_mode);
        }
        Status(callbacks, "Unifying: %s\n", mesh->name);
        if (settings.unify_mode != 0) {
            mesh->UnifyOrientation(ForwardMeshProgress);
        }
        Status(callbacks, "Reducing: %s\n", mesh->name);
        mesh->Compact();
        mesh->FreeTables();
        result.Append(mesh);
    }
    std::fclose(file);
    return true;
}

bool ImportRun(ObjectList& result, const ImportSettings& settings,
               const ProgressCallbacks* callbacks) {
    g_runCallbacks = callbacks;
    // Opening the log truncates it: a log file name that leads to the file
    // being imported would wipe that file before it is read, so there is no
    // log then, as when the log cannot be created.
    const bool logging = settings.verbose_mode == 1 &&
                         !SameFile(settings.logfilename.c_str(), settings.file_name.c_str());
    LogFile log(logging ? settings.logfilename.c_str() : nullptr);
    log.Printf("%s %s %s %s\n", kImportTitle, __DATE__, __TIME__, "g++-" __VERSION__);
    Status(callbacks, "Parsing %s started ...      \n", settings.file_name.c_str());
    log.Printf("Parsing %s started ...\n", settings.file_name.c_str());
    const bool read = ReadObjFile(result, settings, callbacks, log);
    Status(callbacks, "Parsing finished       \n");
    log.Printf("Parsing finished\n");
    g_runCallbacks = nullptr;
    return read;
}

}  // namespace objread
