// The progress dialog of a run and the callbacks through which a run reports.
//
// On a terminal the dialog draws its bars on one line of the error stream,
// redrawn in place, with each status text printed above it. When the error
// stream is not a terminal (a log, a pipe) it writes the status texts as
// plain lines and no bars.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "framework/terminal_ui.h"

namespace plugins {

class ProgressDialog {
  public:
    // caption: short name + " " + action ("WAV Import"). mesh_bar: the
    // importer's dialog shows a second bar for the current mesh.
    ProgressDialog(std::string caption, bool mesh_bar, Terminal& term = CurrentTerminal());
    ~ProgressDialog();
    ProgressDialog(const ProgressDialog&) = delete;
    ProgressDialog& operator=(const ProgressDialog&) = delete;

    // Shows the dialog. Returns 1 (a terminal form cannot fail to appear).
    int OpenModeless();

    // Moves a bar to percent (0..100; other values are held at the ends)
    // and sets its label to the percentage ("42%"). Redraws every time.
    void SetFilePos(int percent);
    void SetMeshPos(int percent);

    // Shows a status text on one line: trailing blanks and line ends are not
    // shown, and control characters inside it are shown as '?'.
    void SetStatus(const char* text);

    // The dialog's Cancel command. The flag only records the wish: runs do
    // not ask for it, so a run goes on to its end.
    void RequestCancel() { cancel_ = 1; }
    // Returns the cancel flag and clears it.
    int CancelRequested();

    // Removes the bars from the terminal. Closing twice is harmless.
    void Close();

    bool IsOpen() const { return open_; }
    const std::string& FileLabel() const { return file_.label; }
    const std::string& MeshLabel() const { return mesh_.label; }
    const std::string& Status() const { return status_; }

  private:
    struct Bar {
        int lower = 0;
        int upper = 100;
        int step = 10;
        int pos = 0;
        std::string label = " 0 %";
    };

    void SetPos(Bar& bar, int percent);
    void DrawBars();

    std::string caption_;
    bool meshBar_;
    Terminal& term_;
    Bar file_;
    Bar mesh_;
    std::string status_ = "Status";
    int cancel_ = 0;
    bool open_ = false;
};

// The table a plug-in operation hands to its run. MeshProgress is null in
// the exporters, whose dialog has one bar. The stream argument of Status is
// not used (runs pass stderr); the text goes to the current dialog.
struct ProgressCallbacks {
    void (*Status)(std::FILE* stream, const char* format, ...)
        __attribute__((format(printf, 2, 3)));
    void (*FileProgress)(std::uint32_t index, std::uint32_t count);
    void (*MeshProgress)(std::uint32_t index, std::uint32_t count);
};

// The library's one current progress dialog, fed by the functions below;
// null (the default) drops every report. Making a dialog current starts its
// percentages afresh.
void SetCurrentProgressDialog(ProgressDialog* dialog);
ProgressDialog* CurrentProgressDialog();

// Formats a status text (of any length) for the current dialog.
void ProgressStatus(std::FILE* stream, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// Step index of count steps as a whole percentage: 0 when count is below 2,
// else index / (count - 1) * 100 truncated, and at most 100.
int ProgressPercent(std::uint32_t index, std::uint32_t count);

// Move the current dialog's file or mesh bar when the percentage differs
// from the one this function reported last, or is 0; so each bar moves at
// most once per whole percent.
void ProgressFile(std::uint32_t index, std::uint32_t count);
void ProgressMesh(std::uint32_t index, std::uint32_t count);

// The importer's table (all three functions) and the exporters' (no mesh).
ProgressCallbacks ImportProgressCallbacks();
ProgressCallbacks ExportProgressCallbacks();

}  // namespace plugins
