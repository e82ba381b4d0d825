// The surroundings of the two default-list dialogs, built from the window's
// dialog service and the editor's settings, and the core's two prompts
// answered with those dialogs.
#pragma once

#include <QString>
#include <memory>
#include <optional>
#include <string>

#include "DirUnit2.h"
#include "TexForm.h"
#include "core/core_ui.h"
#include "state/editor_state.h"

class QWidget;

namespace tessvane {

class DialogService;

// Browse, validate and warn for TDefDirSelect (and, for both dialogs, refuse
// a text with a character the Character Set cannot hold). Enter in a field checks the
// directory when "Validate Directory" is on and the computer is a PC; the
// directory chooser starts at the field's text when that is a directory,
// else at its form under the Imagine directory, else where the last choice
// was made (`last_directory`, shared between the dialogs that browse).
// `dialogs` and `editor` must outlive the dialog.
DefDirSelectServices MakeDefDirSelectServices(DialogService& dialogs, const EditorContext& editor,
                                              std::shared_ptr<std::string> last_directory);

// A field's text of either dialog as bytes of the Character Set. The dialogs
// let no text through that the set cannot hold.
std::string StoredText(const EditorContext& editor, const QString& text);

// Browse and ask the texture module for TDefTextureForm.
DefTextureFormServices MakeDefTextureFormServices(DialogService& dialogs,
                                                  const EditorContext& editor);

// The core's prompts with the real dialogs: caption and fields from the
// prompt, the old field locked; OK gives the fields (cut to their lengths),
// Cancel nothing. The fields show and take texts in the Character Set.
std::optional<DirectoryDefault> RunDirectoryPrompt(DialogService& dialogs,
                                                   const EditorContext& editor,
                                                   const DirectoryPrompt& prompt, QWidget* parent);
std::optional<TextureDefault> RunTexturePrompt(DialogService& dialogs, const EditorContext& editor,
                                               const TexturePrompt& prompt, QWidget* parent);

}  // namespace tessvane
