#include "scripted_dialog_service.h"

namespace tessvane::testing {
namespace {

template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& plan, int& unplanned) {
    if (plan.empty()) {
        ++unplanned;
        return std::nullopt;
    }
    std::optional<T> answer = std::move(plan.front());
    plan.pop_front();
    return answer;
}

}  // namespace

MessageAnswer ScriptedDialogService::ShowMessage(const Message& message) {
    events.push_back("message: " + message.text);
    return core.ShowMessage(message);
}

std::optional<DirectoryDefault> ScriptedDialogService::PromptDirectoryDefault(
    const DirectoryPrompt& prompt) {
    events.push_back("prompt: " + prompt.caption);
    return core.PromptDirectoryDefault(prompt);
}

std::optional<TextureDefault> ScriptedDialogService::PromptTextureDefault(
    const TexturePrompt& prompt) {
    events.push_back("prompt: " + prompt.caption);
    return core.PromptTextureDefault(prompt);
}

std::optional<std::string> ScriptedDialogService::OpenFile(const FileDialogRequest& request) {
    events.push_back("open: " + request.title);
    openRequests.push_back(request);
    return Next(opens_, unplanned);
}

std::vector<std::string> ScriptedDialogService::OpenFiles(const FileDialogRequest& request) {
    events.push_back("open: " + request.title);
    openRequests.push_back(request);
    if (openMany_.empty()) {
        ++unplanned;
        return {};
    }
    std::vector<std::string> answer = std::move(openMany_.front());
    openMany_.pop_front();
    return answer;
}

std::optional<std::string> ScriptedDialogService::SaveFile(const FileDialogRequest& request) {
    events.push_back("save: " + request.title);
    saveRequests.push_back(request);
    return Next(saves_, unplanned);
}

std::optional<std::string> ScriptedDialogService::ChooseDirectory(const DirectoryRequest& request) {
    events.push_back("directory: " + request.title);
    directoryRequests.push_back(request);
    return Next(directories_, unplanned);
}

bool ScriptedDialogService::SetupPrinter(QPrinter&) {
    events.push_back("print");
    if (prints_.empty()) {
        ++unplanned;
        return false;
    }
    const bool print = prints_.front();
    prints_.pop_front();
    return print;
}

void ScriptedDialogService::ShowAbout() {
    events.push_back("about");
    ++aboutShown;
}

}  // namespace tessvane::testing
