#include "cli_ui.h"

namespace tessvane::cli {

MessageAnswer CliUi::ShowMessage(const Message& message) {
    // A question's outcome shows in the file's status line ("Aborted"), so
    // only plain messages are printed.
    if (message.buttons == MessageButtons::YesNo) {
        return answerYes_ ? MessageAnswer::Yes : MessageAnswer::No;
    }
    err_ << "tessvane-cli: " << message.text << '\n';
    return MessageAnswer::Ok;
}

std::optional<DirectoryDefault> CliUi::PromptDirectoryDefault(const DirectoryPrompt&) {
    return std::nullopt;
}

std::optional<TextureDefault> CliUi::PromptTextureDefault(const TexturePrompt&) {
    return std::nullopt;
}

}  // namespace tessvane::cli
