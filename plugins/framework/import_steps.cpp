#include "framework/import_steps.h"

#include <sys/stat.h>

#include <ostream>

#include "framework/mesh.h"
#include "framework/path_text.h"
#include "framework/plugin_settings.h"
#include "framework/progress.h"
#include "framework/terminal_ui.h"

namespace plugins {

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

const char* LogPath(const PluginSettings& settings, const std::string& file_name) {
    const bool logging =
        settings.verbose_mode == 1 && !SameFile(settings.logfilename.c_str(), file_name.c_str());
    return logging ? settings.logfilename.c_str() : nullptr;
}

}  // namespace

ImportRunFrame::ImportRunFrame(const PluginSettings& settings, const std::string& file_name,
                               const char* title, const ProgressCallbacks* callbacks)
    : log_(LogPath(settings, file_name)), callbacks_(callbacks) {
    log_.Printf("%s %s %s %s\n", title, __DATE__, __TIME__, "g++-" __VERSION__);
    Status(callbacks_, "Parsing %s started ...      \n", file_name.c_str());
    log_.Printf("Parsing %s started ...\n", file_name.c_str());
}

ImportRunFrame::~ImportRunFrame() {
    Status(callbacks_, "%s", "Parsing finished       \n");
    log_.Printf("Parsing finished\n");
}

std::FILE* OpenImportFile(const std::string& file_name, LogFile& log) {
    std::FILE* file = std::fopen(file_name.c_str(), "rb");
    struct stat info {};
    if (file != nullptr && (fstat(fileno(file), &info) != 0 || S_ISDIR(info.st_mode))) {
        std::fclose(file);
        file = nullptr;
    }
    if (file == nullptr) {
        log.Printf("File %s not found\n", file_name.c_str());
        Terminal& term = CurrentTerminal();
        *term.err << "File " << TerminalSafe(file_name) << " not found\n";
        term.err->flush();
    }
    return file;
}

void ReportImportFailure(const std::string& text, LogFile& log) {
    log.Printf("%s\n", text.c_str());
    Terminal& term = CurrentTerminal();
    *term.err << TerminalSafe(text) << '\n';
    term.err->flush();
}

void ReportNoMeshes(const std::string& file_name, LogFile& log) {
    ReportImportFailure("no meshes found in " + file_name, log);
}

bool HandOverImportedMesh(ObjectList& result, Mesh3d* mesh, const PluginSettings& settings,
                          const ProgressCallbacks* callbacks, LogFile& log, unsigned index,
                          unsigned count) {
    if (mesh->vertices == nullptr || mesh->vertices->Count() == 0) {
        delete mesh;
        return false;
    }
    mesh->WriteStatistics(log);
    if (callbacks != nullptr && callbacks->FileProgress != nullptr) {
        callbacks->FileProgress(index, count);
    }
    Status(callbacks, "Sizing: %s\n", mesh->name);
    mesh->ScaleMesh(settings.size_value);
    Status(callbacks, "Swapping axis: %s\n", mesh->name);
    mesh->SwapAxes(SwapModeFromSetting(settings.swap_mode));
    Status(callbacks, "Unifying: %s\n", mesh->name);
    if (settings.unify_mode != 0) {
        g_meshCallbacks = callbacks;
        mesh->UnifyOrientation(ForwardMeshProgress);
        g_meshCallbacks = nullptr;
    }
    Status(callbacks, "Reducing: %s\n", mesh->name);
    mesh->Compact();
    mesh->FreeTables();
    result.Append(mesh);
    return true;
}

}  // namespace plugins
