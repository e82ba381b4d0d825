#include "scripted_core_ui.h"

namespace tessvane::testing {

std::vector<std::string> ScriptedCoreUi::Texts() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(m.text);
    return out;
}

MessageAnswer ScriptedCoreUi::ShowMessage(const Message& message) {
    messages.push_back(message);
    if (message.buttons != MessageButtons::YesNo &&
        message.buttons != MessageButtons::YesNoCancel) {
        // Plain messages consume no planned answer.
        return MessageAnswer::Ok;
    }
    if (answers_.empty()) {
        ++unplanned;
        return MessageAnswer::No;
    }
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

std::optional<DirectoryDefault> ScriptedCoreUi::PromptDirectoryDefault(
    const DirectoryPrompt& prompt) {
    directoryPrompts.push_back(prompt);
    if (directories_.empty()) {
        ++unplanned;
        return std::nullopt;
    }
    auto result = directories_.front();
    directories_.pop_front();
    return result;
}

std::optional<TextureDefault> ScriptedCoreUi::PromptTextureDefault(const TexturePrompt& prompt) {
    texturePrompts.push_back(prompt);
    if (textures_.empty()) {
        ++unplanned;
        return std::nullopt;
    }
    auto result = textures_.front();
    textures_.pop_front();
    return result;
}

}  // namespace tessvane::testing
