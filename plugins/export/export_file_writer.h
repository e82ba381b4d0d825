// The output file of a writer, and what every writer does with it.
//
// A writer opens its file in OpenOutput. A mesh that cannot be written
// refuses the whole file: nothing more is written, the person is told why,
// and CloseOutput abandons the file, so an existing file of that name stays
// as it was. Otherwise CloseOutput lets the writer add what it held back and
// then makes the file.
#pragma once

#include <cassert>
#include <optional>
#include <string>

#include "export/export_mesh.h"
#include "export/export_writer.h"
#include "export/text_output.h"

namespace plugins {

class ExportFileWriter : public ExportWriter {
  public:
    // Makes the file under the path given to OpenFile: FinishFile writes
    // what the writer held back, then the file takes its place. Returns
    // false when any part could not be written, and after RefuseFile, which
    // abandons the file instead; true when no file is open.
    bool CloseOutput() final;

  protected:
    // Starts the file at path; text written to it gets the line ends of
    // delimiter. A file still open is abandoned first. Returns false,
    // creating nothing, when path is null or the file cannot be created.
    bool OpenFile(const char* path, LineDelimiter delimiter);
    bool IsOpen() const { return out_.has_value(); }
    // True while meshes may be written: a file is open and not refused.
    bool Writable() const { return out_.has_value() && !refused_; }
    // The open file. Only while IsOpen().
    TextOutput& Out() {
        assert(out_.has_value());
        return *out_;
    }

    // For writers of numbers as text: true when mesh may be written, that
    // is Writable() and every point of it finite, which neither "%lf" nor
    // any reader can take otherwise; a mesh with a point that is not finite
    // refuses the file. A mesh that may be written is announced with
    // ReportWorkingOn.
    bool BeginFiniteMesh(const ExportMesh& mesh, const ExportReport& report);
    // Says "Working on: <name>" on the status line and in the log.
    static void ReportWorkingOn(const Mesh3d& mesh, const ExportReport& report) {
        ReportWorkingOn(mesh.name, report);
    }
    static void ReportWorkingOn(const char* name, const ExportReport& report);
    // Refuses the file and tells why: text goes to the terminal (the host
    // is not told why nothing was written; the person must be), the status
    // line and the log.
    void RefuseFile(const std::string& text, const ExportReport& report);

    // Called by CloseOutput on a file that was not refused, before it is
    // made: writes what the writer held back for the end. Nothing by
    // default.
    virtual void FinishFile(TextOutput& /*out*/) {}

  private:
    std::optional<TextOutput> out_;
    bool refused_ = false;
};

}  // namespace plugins
