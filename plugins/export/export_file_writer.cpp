#include "export/export_file_writer.h"

#include <cmath>
#include <ostream>

#include "export/mesh_access.h"
#include "framework/log_file.h"
#include "framework/progress.h"
#include "framework/terminal_ui.h"

namespace plugins {

bool ExportFileWriter::OpenFile(const char* path, LineDelimiter delimiter) {
    out_.emplace(delimiter);
    refused_ = false;
    if (path == nullptr || !out_->Open(path)) {
        out_.reset();
        return false;
    }
    return true;
}

bool ExportFileWriter::CloseOutput() {
    if (!out_) {
        return true;
    }
    if (refused_) {
        out_.reset();  // abandons the file: an existing one stays as it was
        return false;
    }
    FinishFile(*out_);
    const bool ok = out_->Commit();
    out_.reset();
    return ok;
}

bool ExportFileWriter::BeginFiniteMesh(const Mesh3d& mesh, const ExportReport& report) {
    if (!Writable()) {
        return false;
    }
    const int count = VertexCount(mesh);
    for (int i = 0; i < count; ++i) {
        const Vector3d& p = VertexPoint(mesh, i);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z)) {
            RefuseFile(std::string("Mesh '") + mesh.name +
                           "' has a coordinate beyond what a number can hold (is the Size "
                           "Value too large?); nothing is written",
                       report);
            return false;
        }
    }
    ReportWorkingOn(mesh, report);
    return true;
}

void ExportFileWriter::ReportWorkingOn(const Mesh3d& mesh, const ExportReport& report) {
    report.callbacks->Status(stderr, "Working on: %s\n", mesh.name);
    report.log->Printf("Working on: %s\n", mesh.name);
}

void ExportFileWriter::RefuseFile(const std::string& text, const ExportReport& report) {
    refused_ = true;
    report.callbacks->Status(stderr, "%s\n", text.c_str());
    report.log->Printf("%s\n", text.c_str());
    Terminal& term = CurrentTerminal();
    *term.err << TerminalSafe(text) << '\n';
    term.err->flush();
}

}  // namespace plugins
