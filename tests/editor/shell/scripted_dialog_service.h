// A DialogService for window tests: records every request in order and
// answers from a plan given beforehand. Messages and the core's prompts go to
// the ScriptedCoreUi of the core's test support.
//
//   ScriptedDialogService dialogs;
//   dialogs.PlanOpenFile(dir.File("cube.iob"));   // next open dialog: OK
//   dialogs.PlanDirectory(std::nullopt);           // next directory chooser: Cancel
//   dialogs.core.PlanAnswer(MessageAnswer::Yes);   // next Yes/No question
//
// Unplanned dialogs are cancelled; each counts in `unplanned`.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "dialog_service.h"
#include "scripted_core_ui.h"

namespace tessvane::testing {

class ScriptedDialogService : public DialogService {
  public:
    ScriptedCoreUi core;
    std::vector<FileDialogRequest> openRequests;
    std::vector<FileDialogRequest> saveRequests;
    std::vector<DirectoryRequest> directoryRequests;
    // One line per interaction in order: "message: <text>", "about", "open: <title>",
    // "save: <title>", "directory: <title>", "print".
    std::vector<std::string> events;
    int aboutShown = 0;
    int unplanned = 0;

    void PlanOpenFile(std::optional<std::string> path) { opens_.push_back(std::move(path)); }
    void PlanOpenFiles(std::vector<std::string> paths) { openMany_.push_back(std::move(paths)); }
    void PlanSaveFile(std::optional<std::string> path) { saves_.push_back(std::move(path)); }
    void PlanDirectory(std::optional<std::string> directory) {
        directories_.push_back(std::move(directory));
    }
    void PlanPrint(bool print) { prints_.push_back(print); }

    // Message texts in order.
    std::vector<std::string> MessageTexts() const { return core.Texts(); }

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
    std::deque<std::optional<std::string>> opens_;
    std::deque<std::vector<std::string>> openMany_;
    std::deque<std::optional<std::string>> saves_;
    std::deque<std::optional<std::string>> directories_;
    std::deque<bool> prints_;
};

}  // namespace tessvane::testing
