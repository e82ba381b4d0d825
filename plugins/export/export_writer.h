// What ExportRun needs from a plug-in's writer.
//
// The exporters differ only in how they format the meshes; the run that
// walks the host's objects and prepares each mesh is shared. Each plug-in
// supplies one ExportWriter (an ExportFileWriter, which holds the file). A writer holds the state
// of one output file (the file itself and its running counters) and is used by one run at a time.
#pragma once

#include "framework/contract.h"

namespace plugins {

class ExportMesh;
class ExportSettings;
class LogFile;
struct ProgressCallbacks;

// The run-wide things a writer reports through while it writes a mesh.
struct ExportReport {
    const ProgressCallbacks* callbacks;  // never null
    LogFile* log;                        // never null; may drop everything
};

// The banner line that starts the log of every run.
struct ExportBanner {
    const char* title;      // plug-in name with version
    const char* buildDate;  // as "Jun 11 1998"
    const char* buildTime;  // as "11:17:21"
    const char* buildTag;
};

class ExportWriter {
  public:
    virtual ~ExportWriter() = default;

    virtual ExportBanner Banner() const = 0;

    // Creates the output file at path and writes the file header. Returns
    // false, creating nothing, when the file cannot be created.
    virtual bool OpenOutput(const char* path, const ExportSettings& settings) = 0;

    // Writes what has to come before the first mesh and needs the whole
    // object list. Called once, after OpenOutput succeeded.
    virtual void WritePreamble(const ObjectList& /*objects*/, const ExportSettings& /*settings*/) {}

    // Writes one mesh in table form. Returns 1 when it was written, 0 when no
    // output is open.
    virtual int WriteMesh(const Mesh3d& mesh, const ExportSettings& settings,
                          const ExportReport& report) = 0;

    // True for a writer that reads no more of a mesh than an ExportMesh
    // holds (points, faces, the faces of each vertex). The run then hands
    // it each mesh of the host's (which comes in compact form) through
    // WriteExportMesh, built without expanding the mesh to table form.
    virtual bool TakesExportMesh() const { return false; }
    // As WriteMesh, for the mesh in table form that mesh stands for. Called
    // only when TakesExportMesh() is true.
    virtual int WriteExportMesh(const ExportMesh& /*mesh*/, const ExportSettings& /*settings*/,
                                const ExportReport& /*report*/) {
        return 0;
    }

    // Finishes the output: the file takes its place under the path given to
    // OpenOutput. Returns false when any part of it could not be written; an
    // existing file of that name is then left as it was. True when no output
    // was open.
    virtual bool CloseOutput() = 0;
};

}  // namespace plugins
