// CoreUi: the messages and prompts the core needs from whoever drives it. The
// window implements it with modal dialogs; tests use a scripted one that
// records every message and answers as planned. With no CoreUi installed the
// core behaves as if every message got OK / No and every prompt was cancelled.
#pragma once

#include <optional>
#include <string>

#include "state/counted_text.h"
#include "state/default_lists.h"

namespace tessvane {

enum class MessageKind {
    Warning,          // buttons Ok, or YesNo / YesNoCancel for a question
    Information,      // button Ok
    WarningWithHelp,  // buttons OkHelp, with a help context number
};

enum class MessageButtons { Ok, YesNo, YesNoCancel, OkHelp };

enum class MessageAnswer { Ok, Yes, No, Cancel };

struct Message {
    MessageKind kind = MessageKind::Warning;
    std::string text;
    MessageButtons buttons = MessageButtons::Ok;
    int helpContext = 0;  // only for WarningWithHelp
};

// What the default-directory dialog shows when the core asks for a directory.
struct DirectoryPrompt {
    std::string caption;    // "Select New Directory for " + CurrentFileName
    PathText oldDirectory;  // shown locked
    PathText newDirectory;  // starts empty
};

// What the default-texture dialog shows when the core asks for a texture name.
struct TexturePrompt {
    std::string caption;        // "Select New Texture Name for " + CurrentFileName
    PathText textureDirectory;  // where the dialog's file chooser starts
    NameText oldTexture;        // shown locked
    NameText newTexture;
    DescriptionText description;
};

class CoreUi {
  public:
    virtual ~CoreUi() = default;

    // Shows one modal message and returns the button pressed (Help does not
    // close the box, so it is never returned).
    virtual MessageAnswer ShowMessage(const Message& message) = 0;

    // The default-directory dialog. OK returns the dialog's old and new
    // directory fields; Cancel returns nothing.
    virtual std::optional<DirectoryDefault> PromptDirectoryDefault(
        const DirectoryPrompt& prompt) = 0;

    // The default-texture dialog. OK returns its three fields; Cancel nothing.
    virtual std::optional<TextureDefault> PromptTextureDefault(const TexturePrompt& prompt) = 0;
};

// Helpers that build the three message kinds; `ui` may be null.
void ShowWarning(CoreUi* ui, std::string text);
void ShowInformation(CoreUi* ui, std::string text);
void ShowWarningWithHelp(CoreUi* ui, std::string text, int helpContext);
// A warning question with Yes and No; true for Yes. Null ui answers No.
bool AskYesNo(CoreUi* ui, std::string text);
// A warning question with Yes, No and Cancel (Escape); the answer given.
// Null ui answers Cancel, which changes nothing.
MessageAnswer AskYesNoCancel(CoreUi* ui, std::string text);

}  // namespace tessvane
