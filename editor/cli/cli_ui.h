// The CoreUi of the command line: nothing is asked on the terminal, so a run
// behaves the same in a script, over SSH and in a terminal.
#pragma once

#include <ostream>

#include "core/core_ui.h"

namespace tessvane::cli {

class CliUi final : public CoreUi {
  public:
    // Messages go to `err`; every Yes/No question gets `answer` (Yes only with
    // --overwrite), and every default-list prompt counts as cancelled.
    CliUi(std::ostream& err, bool answerYes) : err_(err), answerYes_(answerYes) {}

    MessageAnswer ShowMessage(const Message& message) override;
    std::optional<DirectoryDefault> PromptDirectoryDefault(const DirectoryPrompt& prompt) override;
    std::optional<TextureDefault> PromptTextureDefault(const TexturePrompt& prompt) override;

  private:
    std::ostream& err_;
    bool answerYes_;
};

}  // namespace tessvane::cli
