// DialogService: every modal interaction of the window goes through one
// object handed to it when it is built: the core's messages and prompts, the
// file dialogs, the directory chooser, the print dialog and the about box.
// The program passes the Qt implementation (qt_dialog_service.h); tests pass
// a scripted one that records each request and answers as planned.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/core_ui.h"

class QPrinter;

namespace tessvane {

// An open or save dialog. Texts keep the form the window holds them in
// (directories may carry '\' separators from object files or settings).
struct FileDialogRequest {
    std::string title;
    // "Caption|pattern|Caption|pattern", e.g. "All Files|*.*|Object Files|*.iob".
    std::string filter;
    // The directory the dialog starts in.
    std::string directory;
    // The text of the file-name field when the dialog opens.
    std::string fileName;
    // Save dialogs: added to a name typed without an extension ("new").
    std::string defaultSuffix;
};

// What the directory chooser returns.
enum class DirectoryForm {
    // A directory to write into an object file or typed in its form: on a
    // mapped volume its path in the object file's form, as bytes of the
    // Character Set (C:\TEXTURES\Wood, DH0:Textures/Wood); elsewhere the
    // local path as it stands.
    ObjectFile,
    // A directory of this machine (where Load starts, where the batch saves):
    // the local path.
    Local,
};

// The directory chooser (TDirectorySelect).
struct DirectoryRequest {
    std::string title;
    // Where the chooser starts, in the form asked for: a path of the object
    // file's machine is found through the volume map. When it is not a
    // directory here, the chooser starts at its nearest existing parent, else
    // at the home directory.
    std::string start;
    DirectoryForm form = DirectoryForm::ObjectFile;
};

class DialogService : public CoreUi {
  public:
    // Single-selection open dialog: the chosen path, or nothing on Cancel.
    virtual std::optional<std::string> OpenFile(const FileDialogRequest& request) = 0;
    // Multiple-selection open dialog: the chosen paths, empty on Cancel.
    virtual std::vector<std::string> OpenFiles(const FileDialogRequest& request) = 0;
    // Save dialog; an existing file is not questioned.
    virtual std::optional<std::string> SaveFile(const FileDialogRequest& request) = 0;
    // The directory chooser: the chosen directory in the form the request
    // asks for, or nothing on Cancel.
    virtual std::optional<std::string> ChooseDirectory(const DirectoryRequest& request) = 0;
    // The print dialog for `printer`; true when the user chose to print.
    virtual bool SetupPrinter(QPrinter& printer) = 0;
    // The about box, modal; returns when it is closed.
    virtual void ShowAbout() = 0;
};

}  // namespace tessvane
