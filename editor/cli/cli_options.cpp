#include "cli_options.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

#include "state/counted_text.h"
#include "state/program_directory.h"
#include "state/volumes.h"

namespace tessvane::cli {
namespace {

// Lower-cases ASCII letters only; option values are ASCII words.
std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

// The length a text typed in UTF-8 has once encoded in the object files'
// character set: one byte a character in every offered set. A text that is
// not UTF-8 is counted in bytes (the encoding refuses it later).
std::size_t EncodedLength(std::string_view utf8) {
    std::size_t count = 0;
    for (const char c : utf8) {
        if ((static_cast<unsigned char>(c) & 0xc0u) != 0x80u) ++count;
    }
    return count;
}

ParsedCommand Usage(std::string message) {
    ParsedCommand command;
    command.kind = CommandKind::Usage;
    command.text = std::move(message);
    return command;
}

ParsedCommand Help(std::string text) {
    ParsedCommand command;
    command.kind = CommandKind::Help;
    command.text = std::move(text);
    return command;
}

// Walks the arguments of one command: "--name value", "--name=value", plain
// operands, and "--" after which everything is an operand.
class ArgumentCursor {
  public:
    ArgumentCursor(const std::vector<std::string>& args, std::size_t first)
        : args_(args), next_(first) {}

    bool Done() const { return next_ >= args_.size(); }

    enum class Kind { Separator, Option, Operand };

    // Takes the next argument. For an option ("-x" or "--name" before a "--")
    // `name` holds the part before any '=' and `inlineValue` the part after
    // it; for an operand `name` is the argument itself.
    Kind Take(std::string& name, std::optional<std::string>& inlineValue) {
        const std::string& arg = args_[next_++];
        inlineValue.reset();
        if (!operandsOnly_ && arg == "--") {
            operandsOnly_ = true;
            return Kind::Separator;
        }
        if (operandsOnly_ || arg.size() < 2 || arg[0] != '-') {
            name = arg;
            return Kind::Operand;
        }
        const std::size_t equals = arg.find('=');
        if (equals == std::string::npos) {
            name = arg;
        } else {
            name = arg.substr(0, equals);
            inlineValue = arg.substr(equals + 1);
        }
        return Kind::Option;
    }

    // The value of option `name`: its inline value, else the next argument.
    bool Value(const std::string& name, std::optional<std::string>& inlineValue, std::string& value,
               std::string& error) {
        if (inlineValue) {
            value = *inlineValue;
            return true;
        }
        if (Done()) {
            error = "option " + name + " needs a value";
            return false;
        }
        value = args_[next_++];
        return true;
    }

  private:
    const std::vector<std::string>& args_;
    std::size_t next_;
    bool operandsOnly_ = false;
};

bool NoValueAllowed(const std::string& name, const std::optional<std::string>& inlineValue,
                    std::string& error) {
    if (!inlineValue) return true;
    error = "option " + name + " takes no value";
    return false;
}

// A suffix word as it will be written after the dot: not empty, at most 20
// characters, and nothing that would change the directory or add a second dot.
bool ValidSuffixWord(std::string_view word) {
    if (word.empty() || word.size() > kMaxSuffixText) return false;
    return word.find_first_of("./\\: \t") == std::string_view::npos;
}

template <std::size_t N>
bool ParseSuffix(const std::string& name, const std::string& value,
                 const std::array<std::string_view, N>& words, SuffixOption& out,
                 std::string& error) {
    const std::string lower = Lower(value);
    if (lower == "as-is" || lower == "as is") {
        out = SuffixOption{0, std::nullopt};
        return true;
    }
    if (lower == "as-specified" || lower == "as specified") {
        out = SuffixOption{1, std::nullopt};
        return true;
    }
    for (std::size_t i = 2; i < words.size(); ++i) {
        if (lower == words[i]) {
            out = SuffixOption{static_cast<std::uint16_t>(i), std::nullopt};
            return true;
        }
    }
    if (!ValidSuffixWord(value)) {
        error = "option " + name + ": '" + value +
                "' is not a suffix (1 to 20 characters, without '.', '/', '\\', ':' or blanks)";
        return false;
    }
    out = SuffixOption{1, value};
    return true;
}

bool ParseDirectoryMap(const std::string& value, DirectoryMapping& out, std::string& error) {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos) {
        error = "option --map-dir needs OLD=NEW, got '" + value + "'";
        return false;
    }
    out.oldDirectory = value.substr(0, equals);
    out.newDirectory = value.substr(equals + 1);
    if (EncodedLength(out.oldDirectory) > kMaxPathText ||
        EncodedLength(out.newDirectory) > kMaxPathText) {
        error = "option --map-dir: a directory is longer than 255 characters";
        return false;
    }
    if (out.oldDirectory.empty() && out.newDirectory.empty()) {
        error = "option --map-dir: both directories are empty";
        return false;
    }
    return true;
}

bool ParseTextureMap(const std::string& value, TextureMapping& out, std::string& error) {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos) {
        error = "option --map-texture needs OLD=NEW[,DESCRIPTION], got '" + value + "'";
        return false;
    }
    out.oldTexture = value.substr(0, equals);
    const std::string rest = value.substr(equals + 1);
    const std::size_t comma = rest.find(',');
    out.newTexture = rest.substr(0, comma);
    out.description = comma == std::string::npos ? std::string() : rest.substr(comma + 1);
    // A cut name would rename a texture to a file that does not exist, so long
    // names are refused here instead of cut like typed ones.
    if (EncodedLength(out.oldTexture) > kMaxNameText ||
        EncodedLength(out.newTexture) > kMaxNameText) {
        error = "option --map-texture: a texture name is longer than 32 characters";
        return false;
    }
    if (out.oldTexture.empty() && out.newTexture.empty()) {
        error = "option --map-texture: both texture names are empty";
        return false;
    }
    return true;
}

bool ParseFormat(const std::string& value, ListFormat& format, std::string& error) {
    const std::string lower = Lower(value);
    if (lower == "text") {
        format = ListFormat::Text;
    } else if (lower == "tsv") {
        format = ListFormat::Tsv;
    } else if (lower == "json") {
        format = ListFormat::Json;
    } else {
        error = "option --format: '" + value + "' is not one of text, tsv, json";
        return false;
    }
    return true;
}

bool ParseComputer(const std::string& value, std::optional<ComputerType>& computer,
                   std::string& error) {
    const std::string lower = Lower(value);
    if (lower == "pc") {
        computer = ComputerType::PC;
    } else if (lower == "amiga") {
        computer = ComputerType::Amiga;
    } else {
        error = "option --computer: '" + value + "' is not pc or amiga";
        return false;
    }
    return true;
}

bool ParseCharset(const std::string& value, std::optional<CharacterSet>& charset,
                  std::string& error) {
    charset = ParseCharacterSet(value);
    if (charset) return true;
    error =
        "option --charset: '" + value + "' is not one of ISO-8859-1, Windows-1252, CP437, CP850";
    return false;
}

bool ParseVolume(const std::string& value, std::vector<VolumeOption>& volumes, std::string& error) {
    const std::size_t equals = value.find('=');
    if (equals == std::string::npos || equals + 1 == value.size()) {
        error = "option --volume needs NAME=DIRECTORY, got '" + value + "'";
        return false;
    }
    if (!NormalizeVolumeName(value.substr(0, equals))) {
        error = "option --volume: '" + value.substr(0, equals) +
                "' is not a volume name (no '/', '\\', ',' or second ':')";
        return false;
    }
    volumes.push_back({value.substr(0, equals), value.substr(equals + 1)});
    return true;
}

// The options that list, check and batch share. Returns false when `name` is
// none of them; `error` is set when it is one and its value is wrong.
struct SharedOptions {
    ListFormat* format = nullptr;
    std::optional<std::string>* settingsFile = nullptr;
    std::optional<CharacterSet>* charset = nullptr;
    std::vector<VolumeOption>* volumes = nullptr;
    std::vector<std::string>* searchDirs = nullptr;
    std::optional<std::string>* imagineDir = nullptr;
};

bool ParseShared(const std::string& name, ArgumentCursor& cursor,
                 std::optional<std::string>& inlineValue, const SharedOptions& into,
                 std::string& error, bool& handled) {
    handled = (name == "--format" && into.format) || (name == "--settings" && into.settingsFile) ||
              (name == "--charset" && into.charset) || (name == "--volume" && into.volumes) ||
              (name == "--search" && into.searchDirs) ||
              (name == "--imagine-dir" && into.imagineDir);
    if (!handled) return true;
    std::string value;
    if (!cursor.Value(name, inlineValue, value, error)) return false;
    if (name == "--format") return ParseFormat(value, *into.format, error);
    if (name == "--charset") return ParseCharset(value, *into.charset, error);
    if (name == "--volume") return ParseVolume(value, *into.volumes, error);
    if (value.empty()) {
        error = "option " + name + " needs a " + (name == "--settings" ? "file name" : "directory");
        return false;
    }
    if (name == "--settings") {
        *into.settingsFile = value;
    } else if (name == "--search") {
        into.searchDirs->push_back(value);
    } else if (EncodedLength(value) > kMaxPathText) {
        error = "option --imagine-dir: the directory is longer than 255 characters";
        return false;
    } else {
        *into.imagineDir = value;
    }
    return true;
}

ParsedCommand ParseList(const std::vector<std::string>& args) {
    ParsedCommand command;
    command.kind = CommandKind::List;
    ArgumentCursor cursor(args, 1);
    std::string error;
    while (!cursor.Done()) {
        std::string name;
        std::optional<std::string> inlineValue;
        const auto kind = cursor.Take(name, inlineValue);
        if (kind == ArgumentCursor::Kind::Separator) continue;
        if (kind == ArgumentCursor::Kind::Operand) {
            command.list.files.push_back(name);
            continue;
        }
        if (name == "--help" || name == "-h") return Help(ListHelp());
        bool handled = false;
        SharedOptions shared;
        shared.format = &command.list.format;
        shared.settingsFile = &command.list.settingsFile;
        shared.charset = &command.list.charset;
        if (!ParseShared(name, cursor, inlineValue, shared, error, handled)) return Usage(error);
        if (handled) continue;
        return Usage("list: unknown option " + name);
    }
    if (command.list.files.empty()) return Usage("list: no object file given");
    return command;
}

ParsedCommand ParseCheck(const std::vector<std::string>& args) {
    ParsedCommand command;
    command.kind = CommandKind::Check;
    CheckOptions& check = command.check;
    ArgumentCursor cursor(args, 1);
    std::string error;
    while (!cursor.Done()) {
        std::string name;
        std::optional<std::string> inlineValue;
        const auto kind = cursor.Take(name, inlineValue);
        if (kind == ArgumentCursor::Kind::Separator) continue;
        if (kind == ArgumentCursor::Kind::Operand) {
            check.files.push_back(name);
            continue;
        }
        if (name == "--help" || name == "-h") return Help(CheckHelp());
        if (name == "--computer") {
            std::string value;
            if (!cursor.Value(name, inlineValue, value, error) ||
                !ParseComputer(value, check.computer, error))
                return Usage(error);
            continue;
        }
        bool handled = false;
        const SharedOptions shared{&check.format,  &check.settingsFile, &check.charset,
                                   &check.volumes, &check.searchDirs,   &check.imagineDir};
        if (!ParseShared(name, cursor, inlineValue, shared, error, handled)) return Usage(error);
        if (handled) continue;
        return Usage("check: unknown option " + name);
    }
    if (check.files.empty()) return Usage("check: no object file given");
    return command;
}

ParsedCommand ParseBatch(const std::vector<std::string>& args) {
    ParsedCommand command;
    command.kind = CommandKind::Batch;
    BatchOptions& batch = command.batch;
    ArgumentCursor cursor(args, 1);
    std::string error;
    bool backupChosen = false;
    while (!cursor.Done()) {
        std::string name;
        std::optional<std::string> inlineValue;
        const auto kind = cursor.Take(name, inlineValue);
        if (kind == ArgumentCursor::Kind::Separator) continue;
        if (kind == ArgumentCursor::Kind::Operand) {
            batch.files.push_back(name);
            continue;
        }
        if (name == "--help" || name == "-h") return Help(BatchHelp());

        // Flags.
        const std::function<bool()> flag = [&] { return NoValueAllowed(name, inlineValue, error); };
        if (name == "--short-directory") {
            if (!flag()) return Usage(error);
            batch.shortDirectory = true;
            continue;
        }
        if (name == "--in-place") {
            if (!flag()) return Usage(error);
            batch.inPlace = true;
            continue;
        }
        if (name == "--dry-run") {
            if (!flag()) return Usage(error);
            batch.dryRun = true;
            continue;
        }
        if (name == "--relink") {
            if (!flag()) return Usage(error);
            batch.relink = true;
            continue;
        }
        bool handled = false;
        SharedOptions shared;
        shared.charset = &batch.charset;
        shared.volumes = &batch.volumes;
        shared.searchDirs = &batch.searchDirs;
        shared.imagineDir = &batch.imagineDir;
        if (!ParseShared(name, cursor, inlineValue, shared, error, handled)) return Usage(error);
        if (handled) continue;
        if (name == "--backup" || name == "--no-backup" || name == "--overwrite") {
            if (!flag()) return Usage(error);
            const ExistingTarget chosen = name == "--backup"      ? ExistingTarget::Backup
                                          : name == "--no-backup" ? ExistingTarget::NoBackup
                                                                  : ExistingTarget::Overwrite;
            if (backupChosen && batch.existing != chosen) {
                return Usage("options --backup, --no-backup and --overwrite exclude each other");
            }
            backupChosen = true;
            batch.existing = chosen;
            continue;
        }

        // Options with a value.
        std::string value;
        if (name == "--settings" || name == "--map-dir" || name == "--map-texture" ||
            name == "--texture-suffix" || name == "--brush-suffix" || name == "--computer" ||
            name == "--save-dir" || name == "--log") {
            if (!cursor.Value(name, inlineValue, value, error)) return Usage(error);
        } else {
            return Usage("batch: unknown option " + name);
        }
        if (name == "--settings") {
            if (value.empty()) return Usage("option --settings needs a file name");
            batch.settingsFile = value;
        } else if (name == "--map-dir") {
            DirectoryMapping mapping;
            if (!ParseDirectoryMap(value, mapping, error)) return Usage(error);
            batch.directoryMaps.push_back(std::move(mapping));
        } else if (name == "--map-texture") {
            TextureMapping mapping;
            if (!ParseTextureMap(value, mapping, error)) return Usage(error);
            batch.textureMaps.push_back(std::move(mapping));
        } else if (name == "--texture-suffix") {
            SuffixOption suffix;
            if (!ParseSuffix(name, value, kTextureSuffixWords, suffix, error)) return Usage(error);
            batch.textureSuffix = suffix;
        } else if (name == "--brush-suffix") {
            SuffixOption suffix;
            if (!ParseSuffix(name, value, kBrushSuffixWords, suffix, error)) return Usage(error);
            batch.brushSuffix = suffix;
        } else if (name == "--computer") {
            if (!ParseComputer(value, batch.computer, error)) return Usage(error);
        } else if (name == "--save-dir") {
            if (value.empty() || value.size() > kMaxPathText) {
                return Usage("option --save-dir needs a directory of 1 to 255 characters");
            }
            batch.saveDirectory = value;
        } else if (name == "--log") {
            if (value.empty()) return Usage("option --log needs a file name");
            batch.logFile = value;
        }
    }
    if (batch.saveDirectory && batch.inPlace) {
        return Usage("options --save-dir and --in-place exclude each other");
    }
    if (batch.files.empty()) return Usage("batch: no object file given");
    return command;
}

}  // namespace

ParsedCommand ParseCommandLine(const std::vector<std::string>& args) {
    if (args.empty()) return Usage("no command given");
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        if (args.size() >= 2 && args[1] == "list") return Help(ListHelp());
        if (args.size() >= 2 && args[1] == "check") return Help(CheckHelp());
        if (args.size() >= 2 && args[1] == "batch") return Help(BatchHelp());
        return Help(MainHelp());
    }
    if (first == "--version") return Help("tessvane-cli " + std::string(ProgramVersion()) + "\n");
    if (first == "list") return ParseList(args);
    if (first == "check") return ParseCheck(args);
    if (first == "batch") return ParseBatch(args);
    return Usage("unknown command '" + first + "'");
}

// How --charset is described by every command that takes it.
constexpr std::string_view kCharsetHelp =
    "  --charset SET       the object files' character set: ISO-8859-1 (the Amiga's;\n"
    "                      the default), Windows-1252, CP437 or CP850 (DOS); over\n"
    "                      the settings file's Character Set\n";

std::string MainHelp() {
    return "Usage: tessvane-cli COMMAND [OPTIONS] FILE...\n"
           "\n"
           "Lists and updates the paths inside Imagine object (.iob) and project (.ist) files.\n"
           "\n"
           "Commands:\n"
           "  list    print every path of the files\n"
           "  check   find the files the paths name through the volume map; search for\n"
           "          the missing ones\n"
           "  batch   apply default lists and suffix rules to the files and save them\n"
           "\n"
           "Options:\n"
           "  --help     show this help; 'tessvane-cli COMMAND --help' describes a command\n"
           "  --version  show the version\n"
           "\n"
           "Exit codes: 0 every file ok, 1 a file failed (check: a path not found),\n"
           "2 bad usage.\n";
}

std::string ListHelp() {
    return "Usage: tessvane-cli list [--format text|tsv|json] [--charset SET]\n"
           "                         [--settings INI] FILE...\n"
           "\n"
           "Prints every path of each file in file order: file, kind (Texture, Brush,\n"
           "Object, Effect, Particle Object), part name, old directory, old file name and\n"
           "description. The texts of the files are bytes of the machine that wrote them;\n"
           "every format prints them in UTF-8, decoded with the character set.\n"
           "\n"
           "  --format text       aligned columns, one block per file (default)\n"
           "  --format tsv        tab-separated, one header line; tabs, line ends, NUL\n"
           "                      bytes and backslashes in a field are written as \\t,\n"
           "                      \\n, \\r, \\0, \\\\\n"
           "  --format json       one array of records\n" +
           std::string(kCharsetHelp) +
           "  --settings INI      take the character set from this settings file\n"
           "\n"
           "A file that cannot be listed is reported on standard error as\n"
           "FILE......Unable to read, Not TDDD or No Tex/Brushes, and the exit code is 1.\n";
}

std::string CheckHelp() {
    return "Usage: tessvane-cli check [--settings INI] [--volume NAME=DIR]... [--search DIR]...\n"
           "                          [--imagine-dir DIR] [--charset SET] [--computer pc|amiga]\n"
           "                          [--format text|tsv|json] FILE...\n"
           "\n"
           "Looks for the file every path of the object files names. The paths belong to\n"
           "the machine that wrote the files (C:\\TEXTURES\\Wood.IFF, DH0:Textures/Wood.iff,\n"
           "Textures/Wood.iff relative to the Imagine Directory); each volume or drive is\n"
           "found in the local directory the volume map gives it, and every name in it\n"
           "ignoring letter case. Each path is found (with the local file), missing, or\n"
           "not mappable (its volume is not mapped, or it is relative and there is no\n"
           "Imagine Directory). For every file not found, the trees of the mapped volumes\n"
           "and the --search directories are searched by file name, ignoring letter case;\n"
           "the candidates are listed best first: those that share more of the path's last\n"
           "directory names come first.\n"
           "\n"
           "  --settings INI      the volume map ([Volumes]), Imagine Directory and\n"
           "                      character set of this settings file\n"
           "  --volume NAME=DIR   the volume or drive NAME (C:, DH0:, Work:) is the local\n"
           "                      directory DIR; over the settings file's\n"
           "  --search DIR        search this directory too\n"
           "  --imagine-dir DIR   resolve relative paths here (C:\\IMAGINE or a local one);\n"
           "                      without it and --settings they are not mappable\n"
           "  --computer pc|amiga the separator shown between a directory that has none\n"
           "                      and its file name\n" +
           std::string(kCharsetHelp) +
           "  --format text       one block per file: part, path, status, local file or\n"
           "                      candidates (default)\n"
           "  --format tsv        file, part, path, status, local, candidates; several\n"
           "                      candidates are separated by \\n, escaped as in list\n"
           "  --format json       one array of records with a list of candidates\n"
           "\n"
           "Exit codes: 0 every path found, 1 a path missing or not mappable (or a file\n"
           "unreadable), 2 bad usage (also a --volume or --search DIR that is no\n"
           "directory).\n";
}

std::string BatchHelp() {
    return "Usage: tessvane-cli batch [OPTIONS] FILE...\n"
           "\n"
           "Runs the Batch page's run over the files: reads each file, applies the default\n"
           "lists and the suffix rules, and saves it, making a backup of a file it replaces.\n"
           "Prints one line per file: FILE......status (ok, Unable to read, No Tex/Brushes,\n"
           "Not TDDD, Error Saving file, Aborted). Nothing is asked on the terminal.\n"
           "\n"
           "  --settings INI        start from this settings file (lists, suffixes, backups,\n"
           "                        log, save directory); without it every option has its\n"
           "                        default. The options below go on top of the file's.\n"
           "  --map-dir OLD=NEW     directory list entry; turns \"Update Directories from\n"
           "                        list\" on. Entries given here are matched before the\n"
           "                        file's, which apply only when the file uses its list.\n"
           "  --map-texture OLD=NEW[,DESCRIPTION]\n"
           "                        texture list entry; turns \"Update Textures from list\" on\n"
           "  --texture-suffix as-is|as-specified|dll|itx|WORD\n"
           "  --brush-suffix as-is|as-specified|avi|bmp|cmp|eps|iff|jpg|lbm|pcx|tga|tif|wmf|WORD\n"
           "                        suffix rule; any choice but as-is turns \"Update File\n"
           "                        Extensions\" on\n"
           "  --computer pc|amiga   separator written before file names\n"
           "  --short-directory     write directories below the Imagine Directory of the\n"
           "                        settings file relative to it\n"
           "  --save-dir DIR        save every file into DIR\n"
           "  --in-place            save every file where it was read (the default without\n"
           "                        --settings, and with a settings file whose Save\n"
           "                        Directory is missing or the program's directory;\n"
           "                        otherwise its Save Directory is used)\n"
           "  --backup              move an existing target aside (.bak, .000, ...) first\n"
           "  --no-backup           leave an existing target alone: status Aborted\n"
           "  --overwrite           replace an existing target without backup\n"
           "                        (without these three an existing target is left\n"
           "                        alone, or with --settings its Create Backups decides)\n"
           "  --log FILE            append the run's log to FILE (without it, Batch.Log\n"
           "                        beside the settings file when it says Generate\n"
           "                        Log=yes)\n"
           "  --dry-run             write nothing; print the changes and each file's status\n"
           "  --relink              after the lists and suffix rules, find each path as\n"
           "                        check does; a file not found that has exactly one\n"
           "                        candidate gets its place as the new path, written in\n"
           "                        the object file's form through the volume map (and\n"
           "                        logged); paths with several candidates or none are\n"
           "                        reported and left as they are\n"
           "  --volume NAME=DIR, --search DIR, --imagine-dir DIR\n"
           "                        as for check\n"
           "  --charset SET         the files' character set (see check); the texts of\n"
           "                        --map-dir and --map-texture are written in it, and one\n"
           "                        it cannot hold is bad usage\n"
           "\n"
           "Exit codes: 0 every file ok, 1 a file failed, 2 bad usage.\n";
}

}  // namespace tessvane::cli
