// The open-file and save-file dialogs, asked on the terminal.
//
// On an interactive terminal the dialog asks for a file name on err, with
// the initial file name as the answer an empty line gives; the end of the
// input cancels. When the input is not a terminal (a script drives the
// plug-in) nobody can answer, so the dialog takes the initial file name as
// if OK had been pressed, or cancels when there is none.
//
// Like the system's dialogs, OK makes the chosen file's directory the
// process's current directory; the plug-in operations remember and restore
// the caller's directory around the dialog and the run.
#pragma once

#include <string>

#include "framework/terminal_ui.h"

namespace plugins {

// Flags of the dialogs, with the values of the system's common dialogs.
inline constexpr unsigned kOfnOverwritePrompt = 0x00000002;
inline constexpr unsigned kOfnHideReadOnly = 0x00000004;

class FileDialog {
  public:
    // open: an open dialog, else a save dialog. default_ext (without dot, may
    // be null or empty) is added in a save dialog to a name typed without an
    // extension. filter: "Description|pattern|...||", shown to the user.
    FileDialog(bool open, const char* default_ext, const char* file_name, unsigned flags,
               const char* filter, Terminal& term = CurrentTerminal());

    // Directory in which a relative file name is taken; empty means the
    // current directory.
    std::string initialDir;

    // Returns kIdOk with a file chosen, or kIdCancel.
    int DoModal();

    // The chosen file as an absolute path.
    const std::string& GetPathName() const { return pathName_; }
    // The chosen file's name with its extension, without directory.
    std::string GetFileName() const;

  private:
    bool Accept(const std::string& typed);
    std::string FilterText() const;

    bool open_;
    std::string defaultExt_;
    std::string fileName_;
    unsigned flags_;
    std::string filter_;
    Terminal& term_;
    std::string pathName_;
};

}  // namespace plugins
