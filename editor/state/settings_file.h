// The settings file "Tessvane.ini": the options in a "[VANE]" section, then
// the two default lists in "[Default Directory List]" and "[Textures]", then
// the volume map in "[Volumes]", one "NAME,directory" line per volume.
// Readers skip sections they do not know, so a file with "[Volumes]" stays
// readable by versions without it.
//
// The file holds bytes: the lists' entries are in the object files'
// character set ("Character Set=" in "[VANE]"), the local directories (Load
// and Save Directory, the volumes' directories) in the local file names'
// encoding. Neither is converted on the way in or out.
//
// Keys are written in mixed case and recognised in any letter case. Values
// keep what was written: a directory such as /home/ann/Imagine or
// C:\PROGRA~1\IMAGINE reads back exactly (only control characters, line ends
// included, are dropped); the words yes, no, Amiga and the suffix words are
// matched in any letter case, so files written by earlier versions read the
// same. Lines may end in CR LF or in a bare LF; the writer uses CR LF.
#pragma once

#include <string>
#include <string_view>

#include "editor_state.h"

namespace tessvane {

enum class SettingsReadStatus {
    Read,        // a "[VANE]" line was found; the file is now the current settings file
    NoVaneLine,  // the file opened but holds no "[VANE]" line: defaults, empty lists
    OpenFailed,  // the file could not be opened: defaults, empty lists
};

// The warning the caller shows for OpenFailed.
inline constexpr std::string_view kUnableToLoadSettings = "Unable to load settings.";

// Sets every setting to its default, SaveInOriginalDirectory off, empties both
// lists, then reads the file at `path`. When a "[VANE]" line is found,
// SettingsDirectory and SettingsFileName name this file. Always ends by
// recomputing the effective suffixes, setting CurrentFileDirectory to the Load
// Directory and TextureDialogDirectory to the Imagine Directory + "\Textures".
// Shows nothing: the caller shows kUnableToLoadSettings for OpenFailed. List
// entries beyond the lists' capacity are ignored.
SettingsReadStatus ReadSettings(EditorContext& editor, std::string_view path);

// Writes the 25 option lines and the non-empty list and volume sections to
// `path`, each line ended by CR LF. The file is replaced by the editor's one
// rule (atomic_file.h): a temporary file beside it, flushed and renamed over
// `path`, so a failure leaves the previous file as it was; a link is
// followed, an existing file keeps its mode, owner and group, and one without
// write permission is not replaced. On success
// SettingsDirectory and SettingsFileName name the file written; on failure
// nothing changes and false is returned (the design shows no message).
bool WriteSettings(EditorContext& editor, std::string_view path);

// The text WriteSettings writes, for the given state.
std::string SettingsFileText(const EditorContext& editor);

// SettingsDirectory + SettingsFileName.
std::string CurrentSettingsFile(const EditorContext& editor);

}  // namespace tessvane
