// A CoreUi for tests: records every message and prompt, and answers from a
// plan given beforehand.
//
//   ScriptedCoreUi ui;
//   ui.PlanAnswer(MessageAnswer::No);                  // next Yes/No question
//   ui.PlanDirectory({"C:\\OLD", "D:\\NEW"});          // next directory prompt: OK
//   ui.PlanDirectoryCancel();                          // the one after: Cancel
//   context.ui = &ui;
//   ... EXPECT_EQ(ui.messages[0].text, "...");
//
// Unplanned questions (Yes/No and Yes/No/Cancel) answer No (OK for plain messages) and unplanned
// prompts are cancelled; each such case is counted in `unplanned`.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/core_ui.h"

namespace tessvane::testing {

class ScriptedCoreUi : public CoreUi {
  public:
    // What was shown, in order.
    std::vector<Message> messages;
    std::vector<DirectoryPrompt> directoryPrompts;
    std::vector<TexturePrompt> texturePrompts;
    int unplanned = 0;

    void PlanAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    void PlanDirectory(DirectoryDefault result) { directories_.push_back(std::move(result)); }
    void PlanDirectoryCancel() { directories_.push_back(std::nullopt); }
    void PlanTexture(TextureDefault result) { textures_.push_back(std::move(result)); }
    void PlanTextureCancel() { textures_.push_back(std::nullopt); }

    // Texts of all messages, for compact expectations.
    std::vector<std::string> Texts() const;

    MessageAnswer ShowMessage(const Message& message) override;
    std::optional<DirectoryDefault> PromptDirectoryDefault(const DirectoryPrompt& prompt) override;
    std::optional<TextureDefault> PromptTextureDefault(const TexturePrompt& prompt) override;

  private:
    std::deque<MessageAnswer> answers_;
    std::deque<std::optional<DirectoryDefault>> directories_;
    std::deque<std::optional<TextureDefault>> textures_;
};

}  // namespace tessvane::testing
