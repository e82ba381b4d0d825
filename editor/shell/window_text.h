// How the window turns the editor's texts into what a person reads, and what
// a person types back into the editor's texts. Every text shown or stored by
// the window goes through these functions.
//
// Two kinds of text meet in the window:
// - Texts of the other machine: the paths, names and descriptions inside
//   object files, the default lists, the Imagine directory, the suffixes and
//   the volume names. They are bytes of the chosen 8-bit character set
//   (Options page, "Character Set"); a text nobody changed goes back byte for
//   byte.
// - Names of this system's own files: the object file loaded, the batch files,
//   the directories where Load starts and where the batch saves, the local
//   side of the volume map. They are in the local file-system encoding
//   (UTF-8), so they name the files the system has.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "state/character_set.h"
#include "state/editor_state.h"

namespace tessvane {

// The set the texts of the other machine are in: the Character Set setting.
CharacterSet CharacterSetOf(const EditorContext& editor);

// `bytes` of `set`, one character per byte. Never fails.
QString ShowText(std::string_view bytes, CharacterSet set);

// What was typed, as bytes of the set; `refusal` is empty when every
// character had a byte, otherwise the message that names the first one that
// had none (and `bytes` is incomplete, to be thrown away).
struct TypedText {
    std::string bytes;
    std::string refusal;
    bool ok() const { return refusal.empty(); }
};
TypedText ReadTyped(const QString& text, CharacterSet set);

// "The character U+20AC '€' is not in the character set ISO-8859-1; nothing
// was stored."
std::string RefusalMessage(char32_t refused, CharacterSet set);

// A local file or directory name as the system holds it, and back.
QString ShowLocal(std::string_view path);
std::string LocalText(const QString& text);

}  // namespace tessvane
