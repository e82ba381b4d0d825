#include "framework/progress.h"

#include <cstdarg>
#include <ostream>

#include "framework/line_io.h"

namespace plugins {

namespace {

constexpr int kBarWidth = 20;

ProgressDialog* g_current = nullptr;
int g_last_file = 0;
int g_last_mesh = 0;

void DrawBar(std::ostream& out, int pos, const std::string& label) {
    const int filled = pos * kBarWidth / 100;
    out << label << " [" << std::string(static_cast<std::size_t>(filled), '#')
        << std::string(static_cast<std::size_t>(kBarWidth - filled), ' ') << ']';
}

std::string WithoutTrailingBlanks(const char* text) {
    std::string s = text != nullptr ? text : "";
    const std::size_t end = s.find_last_not_of(" \t\r\n");
    s.erase(end == std::string::npos ? 0 : end + 1);
    return s;
}

}  // namespace

ProgressDialog::ProgressDialog(std::string caption, bool mesh_bar, Terminal& term)
    : caption_(std::move(caption)), meshBar_(mesh_bar), term_(term) {}

ProgressDialog::~ProgressDialog() {
    Close();
    if (g_current == this) {
        g_current = nullptr;
    }
}

int ProgressDialog::OpenModeless() {
    if (open_) {
        return 1;
    }
    open_ = true;
    if (term_.errIsTerminal) {
        *term_.err << caption_ << '\n';
        DrawBars();
    }
    return 1;
}

void ProgressDialog::DrawBars() {
    if (!open_ || !term_.errIsTerminal) {
        return;
    }
    std::ostream& err = *term_.err;
    err << '\r';
    if (meshBar_) {
        err << "File Progress: ";
        DrawBar(err, file_.pos, file_.label);
        err << "  Mesh Progress: ";
        DrawBar(err, mesh_.pos, mesh_.label);
    } else {
        DrawBar(err, file_.pos, file_.label);
    }
    err << "\x1b[K";
    err.flush();
}

void ProgressDialog::SetPos(Bar& bar, int percent) {
    // Like a progress bar control, the position stays within the range.
    bar.pos = percent < bar.lower ? bar.lower : percent > bar.upper ? bar.upper : percent;
    int v = (bar.pos - bar.lower) * 100 / (bar.upper - bar.lower);
    if (v != 100) {
        v %= 100;
    }
    bar.label = std::to_string(v) + "%";
    DrawBars();
}

void ProgressDialog::SetFilePos(int percent) {
    SetPos(file_, percent);
}

void ProgressDialog::SetMeshPos(int percent) {
    SetPos(mesh_, percent);
}

void ProgressDialog::SetStatus(const char* text) {
    status_ = text != nullptr ? text : "";
    if (!open_) {
        return;
    }
    // Status texts carry names read from the file being converted.
    const std::string shown = TerminalSafe(WithoutTrailingBlanks(text));
    std::ostream& err = *term_.err;
    if (term_.errIsTerminal) {
        err << "\r\x1b[K" << shown << '\n';
        DrawBars();
    } else if (!shown.empty()) {
        // The line in one piece: the error stream passes every insertion on
        // to the system at once, and an import of many groups reports
        // several lines per group.
        err << (shown + '\n');
        err.flush();
    }
}

int ProgressDialog::CancelRequested() {
    const int requested = cancel_;
    cancel_ = 0;
    return requested;
}

void ProgressDialog::Close() {
    if (!open_) {
        return;
    }
    open_ = false;
    if (term_.errIsTerminal) {
        *term_.err << "\r\x1b[K";
    }
    term_.err->flush();
}

void SetCurrentProgressDialog(ProgressDialog* dialog) {
    g_current = dialog;
    // A new run's first report must reach its fresh dialog, whatever the
    // last run ended with.
    g_last_file = 0;
    g_last_mesh = 0;
}

ProgressDialog* CurrentProgressDialog() {
    return g_current;
}

void ProgressStatus(std::FILE* /*stream*/, const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    const std::string text = FormatText(format, args);
    va_end(args);
    if (g_current != nullptr) {
        g_current->SetStatus(text.c_str());
    }
}

int ProgressPercent(std::uint32_t index, std::uint32_t count) {
    if (count < 2) {
        return 0;
    }
    const double percent = static_cast<double>(index) / static_cast<double>(count - 1) * 100.0;
    // An index past the last step would give more than 100 (and, far past,
    // more than an int holds).
    return percent >= 100.0 ? 100 : static_cast<int>(percent);
}

void ProgressFile(std::uint32_t index, std::uint32_t count) {
    const int percent = ProgressPercent(index, count);
    if (percent != g_last_file || percent == 0) {
        if (g_current != nullptr) {
            g_current->SetFilePos(percent);
        }
        g_last_file = percent;
    }
}

void ProgressMesh(std::uint32_t index, std::uint32_t count) {
    const int percent = ProgressPercent(index, count);
    if (percent != g_last_mesh || percent == 0) {
        if (g_current != nullptr) {
            g_current->SetMeshPos(percent);
        }
        g_last_mesh = percent;
    }
}

ProgressCallbacks ImportProgressCallbacks() {
    return ProgressCallbacks{&ProgressStatus, &ProgressFile, &ProgressMesh};
}

ProgressCallbacks ExportProgressCallbacks() {
    return ProgressCallbacks{&ProgressStatus, &ProgressFile, nullptr};
}

}  // namespace plugins
