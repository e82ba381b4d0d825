// The settings a command starts from: the settings file named by --settings
// (or the defaults), then the options that go on top of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli_options.h"
#include "state/editor_state.h"

namespace tessvane::cli {

struct ContextOptions {
    const std::optional<std::string>* settingsFile = nullptr;
    const std::optional<CharacterSet>* charset = nullptr;
    const std::vector<VolumeOption>* volumes = nullptr;
    const std::optional<std::string>* imagineDir = nullptr;
    const std::vector<std::string>* searchDirs = nullptr;
};

// Reads the settings file into `editor` when one is named, then applies
// --charset, each --volume (its name encoded with the character set, its
// directory made absolute; a name the file maps already gets the new
// directory) and --imagine-dir. Returns false with `error` set when the
// settings file cannot be read, a text cannot be encoded, or the directory of
// a --volume or --search is none: bad usage. (A directory of the settings
// file's [Volumes] may be missing, a disk not mounted today: its paths are
// then reported missing.)
bool PrepareEditor(EditorContext& editor, const ContextOptions& options, std::string& error);

// `utf8`, an argument, in the bytes of `set`. Returns false with `error`
// naming `option` and the first character the set cannot hold.
bool EncodeArgument(std::string_view utf8, CharacterSet set, std::string_view option,
                    std::string& bytes, std::string& error);

}  // namespace tessvane::cli
