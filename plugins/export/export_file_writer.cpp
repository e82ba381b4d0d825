#include "export/export_file_writer.h"

#include <cmath>
#include <ostream>

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

namespace {

bool Finite(const Vector3d& p) {
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

std::string NotFiniteText(const char* name) {
    return std::string("Mesh '") + name +
           "' has a coordinate beyond what a number can hold (is the Size Value too large?); "
           "nothing is written";
}

}  // namespace

bool ExportFileWriter::BeginFiniteMesh(const ExportMesh& mesh, const ExportReport& report) {
    if (!Writable()) {
        return false;
    }
    for (const Vector3d& p : mesh.Points()) {
        if (!Finite(p)) {
            RefuseFile(NotFiniteText(mesh.Name()), report);
            return false;
        }
    }
    ReportWorkingOn(mesh.Name(), report);
    return true;
}

void ExportFileWriter::ReportWorkingOn(const char* name, const ExportReport& report) {
    report.callbacks->Status(stderr, "Working on: %s\n", name);
    report.log->Printf("Working on: %s\n", name);
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
