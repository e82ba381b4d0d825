// The DialogService of the running program: Qt message boxes and file
// dialogs, the directory chooser TDirectorySelect, the print dialog and the
// about box TAboutBox. The only place that shows QMessageBox, QFileDialog or
// QPrintDialog.
#pragma once

#include <functional>

#include "dialog_service.h"
#include "state/editor_state.h"

class QWidget;

namespace tessvane {

class QtDialogService : public DialogService {
  public:
    QtDialogService() = default;

    // Dialogs are centred on `parent` (the main window once it exists).
    void SetParent(QWidget* parent) { parent_ = parent; }
    // The settings the default-list prompts validate directories against.
    void SetEditor(const EditorContext* editor) { editor_ = editor; }
    // Called with the help context number when Help is pressed in a message.
    void SetHelpHandler(std::function<void(int)> handler) { help_ = std::move(handler); }

    MessageAnswer ShowMessage(const Message& message) override;
    std::optional<DirectoryDefault> PromptDirectoryDefault(const DirectoryPrompt& prompt) override;
    std::optional<TextureDefault> PromptTextureDefault(const TexturePrompt& prompt) override;

    std::optional<std::string> OpenFile(const FileDialogRequest& request) override;
    std::vector<std::string> OpenFiles(const FileDialogRequest& request) override;
    std::optional<std::string> SaveFile(const FileDialogRequest& request) override;
    std::optional<std::string> ChooseDirectory(const DirectoryRequest& request) override;
    bool SetupPrinter(QPrinter& printer) override;
    void ShowAbout() override;

  private:
    QWidget* parent_ = nullptr;
    const EditorContext* editor_ = nullptr;
    std::function<void(int)> help_;
};

}  // namespace tessvane
