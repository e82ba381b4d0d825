// What every importer does around reading its file and with each mesh it
// read, whatever the format.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "framework/contract.h"
#include "framework/log_file.h"

namespace plugins {

class PluginSettings;
struct ProgressCallbacks;

// The frame of one import run. Constructed, it opens the run's log (when
// verbose_mode is 1, and never on the file being imported, which opening the
// log would wipe before it is read), writes the banner line with title and
// the build's date, time and tag, and announces "Parsing <file> started"
// through Status of callbacks (which may be null) and in the log. Destroyed,
// it announces "Parsing finished" and closes the log.
class ImportRunFrame {
  public:
    ImportRunFrame(const PluginSettings& settings, const std::string& file_name, const char* title,
                   const ProgressCallbacks* callbacks);
    ~ImportRunFrame();
    ImportRunFrame(const ImportRunFrame&) = delete;
    ImportRunFrame& operator=(const ImportRunFrame&) = delete;

    LogFile& Log() { return log_; }

  private:
    LogFile log_;
    const ProgressCallbacks* callbacks_;
};

// Opens file_name for reading. A file that cannot be opened, or a directory,
// gives null after "File <name> not found" went to the log and to the
// person: the host learns nothing but an empty list.
std::FILE* OpenImportFile(const std::string& file_name, LogFile& log);

// Tells the person (on the terminal) and the log why an import gave
// nothing: the host learns no more than an empty list.
void ReportImportFailure(const std::string& text, LogFile& log);

// Reports "no meshes found in <file>" as ReportImportFailure does.
void ReportNoMeshes(const std::string& file_name, LogFile& log);

// Hands mesh number index of count over to result, the host's list, or
// deletes it when it has no vertex. On its way, in this order, each step
// announced through Status of callbacks (which may be null) also when it
// changes nothing: the statistics block to log (so the logged bounds are the
// file's own), file progress (index, count), "Sizing" by size_value,
// "Swapping axis" by swap_mode, "Unifying" the face orientation when
// unify_mode is on (its progress reported as mesh progress), and "Reducing"
// to the compact form in which meshes reach the host. Returns whether the
// mesh was handed over.
bool HandOverImportedMesh(ObjectList& result, Mesh3d* mesh, const PluginSettings& settings,
                          const ProgressCallbacks* callbacks, LogFile& log, unsigned index,
                          unsigned count);

// Hands every mesh of meshes (null entries allowed, and skipped) over to
// result in order, exactly as HandOverImportedMesh does with mesh number i
// of meshes.size(); takes all of them. Returns how many were handed over.
// Where the process has a processor to spare, a second thread sizes, swaps,
// orients and reduces the meshes ahead of the calling thread, which does
// the same with the next mesh instead of waiting. Every report is still made
// on the calling thread, and the log, the callbacks and result see the same
// calls in the same order as from HandOverImportedMesh one mesh after the
// other; only the statistics of all meshes reach the log before the first
// one is handed over.
std::size_t HandOverImportedMeshes(ObjectList& result, std::vector<Mesh3d*> meshes,
                                   const PluginSettings& settings,
                                   const ProgressCallbacks* callbacks, LogFile& log);

}  // namespace plugins
