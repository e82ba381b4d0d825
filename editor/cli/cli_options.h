// Command-line parsing for tessvane-cli. Parsing only reads the arguments; it
// touches no file and no setting, so a bad command line changes nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "state/settings.h"

namespace tessvane::cli {

enum class ListFormat { Text, Tsv, Json };

struct ListOptions {
    ListFormat format = ListFormat::Text;
    // --settings: read for its Character Set only.
    std::optional<std::string> settingsFile;
    // --charset: how the files' texts are decoded; over the settings file's.
    std::optional<CharacterSet> charset;
    std::vector<std::string> files;
};

// --volume NAME=DIR: the volume NAME (typed in UTF-8, with or without its
// ':') lies in the local directory DIR.
struct VolumeOption {
    std::string name;
    std::string directory;
};

struct CheckOptions {
    ListFormat format = ListFormat::Text;
    std::optional<std::string> settingsFile;
    std::optional<CharacterSet> charset;
    std::vector<VolumeOption> volumes;      // over the settings file's [Volumes]
    std::vector<std::string> searchDirs;    // searched besides the mapped volumes
    std::optional<std::string> imagineDir;  // over the settings file's Imagine Directory
    std::optional<ComputerType> computer;   // over the settings file's Computer
    std::vector<std::string> files;
};

struct DirectoryMapping {
    std::string oldDirectory;
    std::string newDirectory;
};

struct TextureMapping {
    std::string oldTexture;
    std::string newTexture;
    std::string description;
};

// A suffix option: the selection, and for "as specified" the suffix word.
struct SuffixOption {
    std::uint16_t selection = 0;
    std::optional<std::string> specified;
};

// What to do with a target file that exists already.
enum class ExistingTarget {
    // With --settings its Create Backups decides; without, an existing target
    // is left alone. No question is ever answered Yes.
    FromSettings,
    Backup,     // --backup
    NoBackup,   // --no-backup: such a file is left alone ("Aborted")
    Overwrite,  // --overwrite: replaced without backup
};

struct BatchOptions {
    std::optional<std::string> settingsFile;
    std::vector<DirectoryMapping> directoryMaps;
    std::vector<TextureMapping> textureMaps;
    std::optional<SuffixOption> textureSuffix;
    std::optional<SuffixOption> brushSuffix;
    std::optional<ComputerType> computer;
    bool shortDirectory = false;
    std::optional<std::string> saveDirectory;
    bool inPlace = false;
    ExistingTarget existing = ExistingTarget::FromSettings;
    std::optional<std::string> logFile;
    bool dryRun = false;
    std::optional<CharacterSet> charset;
    std::vector<VolumeOption> volumes;
    std::vector<std::string> searchDirs;
    std::optional<std::string> imagineDir;
    // --relink: a missing file with exactly one candidate gets its new place.
    bool relink = false;
    std::vector<std::string> files;
};

enum class CommandKind { Help, List, Check, Batch, Usage };

struct ParsedCommand {
    CommandKind kind = CommandKind::Usage;
    // Help: the text to print on standard output. Usage: the error message.
    std::string text;
    ListOptions list;
    CheckOptions check;
    BatchOptions batch;
};

// Parses argv[1..] (the program name excluded).
ParsedCommand ParseCommandLine(const std::vector<std::string>& args);

// The help texts, also shown by --help.
std::string MainHelp();
std::string ListHelp();
std::string CheckHelp();
std::string BatchHelp();

}  // namespace tessvane::cli
