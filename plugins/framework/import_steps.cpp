#include "framework/import_steps.h"

#include <sys/stat.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <ostream>
#include <system_error>
#include <thread>
#include <utility>

#include "framework/mesh.h"
#include "framework/path_text.h"
#include "framework/plugin_settings.h"
#include "framework/progress.h"
#include "framework/terminal_ui.h"
#include "framework/triangle_feeder.h"

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

// The mesh progress of an orientation done away from the reports, kept
// for the calling thread to pass on later. The orientation's progress
// function carries no context, so each of the two threads that prepare
// meshes (0 the calling thread, 1 the helper) records through a function
// and into a list of its own; only one import runs at a time. (No
// thread_local: its block would outlive the module once a host unloads it,
// which leak checkers at exit stumble over.)
struct MeshStep {
    unsigned int done;
    unsigned int total;
};
std::vector<MeshStep>* g_meshStepsOf[2] = {nullptr, nullptr};

template <int kThread>
void RecordMeshProgress(unsigned int done, unsigned int total) {
    g_meshStepsOf[kThread]->push_back(MeshStep{done, total});
}
constexpr UnifyProgressFunction kMeshStepRecorders[2] = {RecordMeshProgress<0>,
                                                         RecordMeshProgress<1>};

bool HasPoints(const Mesh3d& mesh) {
    return mesh.vertices != nullptr && mesh.vertices->Count() != 0;
}

// The reports of a mesh's hand-over up to its orientation: its place among
// count meshes on the file bar, then the steps that PrepareMesh takes,
// each announced also when it changes nothing. "Reducing" follows once the
// mesh is prepared.
void AnnounceSteps(const Mesh3d& mesh, const ProgressCallbacks* callbacks, unsigned index,
                   unsigned count) {
    if (callbacks != nullptr && callbacks->FileProgress != nullptr) {
        callbacks->FileProgress(index, count);
    }
    Status(callbacks, "Sizing: %s\n", mesh.name);
    Status(callbacks, "Swapping axis: %s\n", mesh.name);
    Status(callbacks, "Unifying: %s\n", mesh.name);
}

// Everything HandOverImportedMesh does to a mesh between its statistics and
// its place in the host's list, without a report but the orientation's
// progress through progress.
void PrepareMesh(Mesh3d& mesh, const PluginSettings& settings, UnifyProgressFunction progress) {
    mesh.ScaleMesh(settings.size_value);
    mesh.SwapAxes(SwapModeFromSetting(settings.swap_mode));
    if (settings.unify_mode != 0) {
        mesh.UnifyOrientation(progress);
    }
    mesh.Compact();
    mesh.FreeTables();
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
    if (!HasPoints(*mesh)) {
        delete mesh;
        return false;
    }
    mesh->WriteStatistics(log);
    AnnounceSteps(*mesh, callbacks, index, count);
    g_meshCallbacks = callbacks;
    PrepareMesh(*mesh, settings, ForwardMeshProgress);
    g_meshCallbacks = nullptr;
    Status(callbacks, "Reducing: %s\n", mesh->name);
    result.Append(mesh);
    return true;
}

std::size_t HandOverImportedMeshes(ObjectList& result, std::vector<Mesh3d*> meshes,
                                   const PluginSettings& settings,
                                   const ProgressCallbacks* callbacks, LogFile& log) {
    const std::size_t count = meshes.size();
    // A mesh without a point goes without a report, whenever that happens.
    std::size_t withPoints = 0;
    for (Mesh3d*& mesh : meshes) {
        if (mesh != nullptr && !HasPoints(*mesh)) {
            delete mesh;
            mesh = nullptr;
        }
        withPoints += mesh != nullptr ? 1 : 0;
    }
    if (withPoints < 2 || UsableProcessors() < 2) {
        for (std::size_t i = 0; i < count; ++i) {
            if (meshes[i] != nullptr) {
                HandOverImportedMesh(result, meshes[i], settings, callbacks, log,
                                     static_cast<unsigned>(i), static_cast<unsigned>(count));
            }
        }
        return withPoints;
    }

    // The statistics are the file's own, so they are written before any
    // mesh is sized; nothing else goes to the log until the meshes are in.
    for (Mesh3d* mesh : meshes) {
        if (mesh != nullptr) {
            mesh->WriteStatistics(log);
        }
    }

    // Both threads take the next mesh nobody has taken; the calling thread
    // reports mesh i once it is done, and works on a later one meanwhile.
    struct Prepared {
        std::vector<MeshStep> steps;
        bool done = false;
    };
    std::vector<Prepared> prepared(count);
    std::atomic<std::size_t> next{0};
    std::mutex lock;
    std::condition_variable doneChanged;
    const bool recordSteps =
        settings.unify_mode != 0 && callbacks != nullptr && callbacks->MeshProgress != nullptr;
    // Prepares the next mesh nobody has taken on thread number thread (0
    // or 1); false when none is left.
    auto prepareNext = [&](int thread) {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count) {
                return false;
            }
            if (meshes[i] == nullptr) {
                continue;
            }
            g_meshStepsOf[thread] = &prepared[i].steps;
            PrepareMesh(*meshes[i], settings, recordSteps ? kMeshStepRecorders[thread] : nullptr);
            g_meshStepsOf[thread] = nullptr;
            {
                std::lock_guard<std::mutex> hold(lock);
                prepared[i].done = true;
            }
            doneChanged.notify_all();
            return true;
        }
    };
    std::thread helper;
    try {
        helper = std::thread([&prepareNext] {
            while (prepareNext(1)) {
            }
        });
    } catch (const std::system_error&) {
        // Without a second thread this one prepares every mesh itself.
    }

    for (std::size_t i = 0; i < count; ++i) {
        Mesh3d* mesh = meshes[i];
        if (mesh == nullptr) {
            continue;
        }
        for (;;) {
            {
                std::lock_guard<std::mutex> hold(lock);
                if (prepared[i].done) {
                    break;
                }
            }
            if (!prepareNext(0)) {
                // The other thread has mesh i.
                std::unique_lock<std::mutex> hold(lock);
                doneChanged.wait(hold, [&] { return prepared[i].done; });
                break;
            }
        }
        AnnounceSteps(*mesh, callbacks, static_cast<unsigned>(i), static_cast<unsigned>(count));
        for (const MeshStep& step : prepared[i].steps) {
            callbacks->MeshProgress(step.done, step.total);
        }
        prepared[i].steps = std::vector<MeshStep>();
        Status(callbacks, "Reducing: %s\n", mesh->name);
        result.Append(mesh);
    }
    if (helper.joinable()) {
        helper.join();
    }
    return withPoints;
}

}  // namespace plugins
