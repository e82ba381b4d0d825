#include "cli_options.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string_view>

#include "state/counted_text.h"

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
    if (out.oldDirectory.size() > kMaxPathText || out.newDirectory.size() > kMaxPathText) {
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
    if (out.oldTexture.size() > kMaxNameText || out.newTexture.size() > kMaxNameText) {
        error = "option --map-texture: a texture name is longer than 32 characters";
        return false;
    }
    if (out.oldTexture.empty() && out.newTexture.empty()) {
        error = "option --map-texture: both texture names are empty";
        return false;
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
        if (name == "--format") {
            std::string value;
            if (!cursor.Value(name, inlineValue, value, error)) return Usage(error);
            const std::string lower = Lower(value);
            if (lower == "text") {
                command.list.format = ListFormat::Text;
            } else if (lower == "tsv") {
                command.list.format = ListFormat::Tsv;
            } else if (lower == "json") {
                command.list.format = ListFormat::Json;
            } else {
                return Usage("option --format: '" + value + "' is not one of text, tsv, json");
            }
            continue;
        }
        return Usage("list: unknown option " + name);
    }
    if (command.list.files.empty()) return Usage("list: no object file given");
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
            const std::string lower = Lower(value);
            if (lower == "pc") {
                batch.computer = ComputerType::PC;
            } else if (lower == "amiga") {
                batch.computer = ComputerType::Amiga;
            } else {
                return Usage("option --computer: '" + value + "' is not pc or amiga");
            }
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
        if (args.size() >= 2 && args[1] == "batch") return Help(BatchHelp());
        return Help(MainHelp());
    }
    if (first == "list") return ParseList(args);
    if (first == "batch") return ParseBatch(args);
    return Usage("unknown command '" + first + "'");
}

std::string MainHelp() {
    return "Usage: tessvane-cli COMMAND [OPTIONS] FILE...\n"
           "\n"
           "Lists and updates the paths inside Imagine object (.iob) and project (.ist) files.\n"
           "\n"
           "Commands:\n"
           "  list    print every path of the files\n"
           "  batch   apply default lists and suffix rules to the files and save them\n"
           "\n"
           "'tessvane-cli COMMAND --help' describes a command.\n"
           "Exit codes: 0 every file ok, 1 a file failed, 2 bad usage.\n";
}

std::string ListHelp() {
    return "Usage: tessvane-cli list [--format text|tsv|json] FILE...\n"
           "\n"
           "Prints every path of each file in file order: file, kind (Texture, Brush,\n"
           "Object, Effect, Particle Object), part name, old directory, old file name and\n"
           "description.\n"
           "\n"
           "  --format text   aligned columns, one block per file (default)\n"
           "  --format tsv    tab-separated, one header line; tabs, line ends and\n"
           "                  backslashes in a field are written as \\t, \\n, \\r, \\\\\n"
           "  --format json   one array of records; a text that is not UTF-8 is read\n"
           "                  as Latin-1\n"
           "\n"
           "A file that cannot be listed is reported on standard error as\n"
           "FILE......Unable to read, Not TDDD or No Tex/Brushes, and the exit code is 1.\n";
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
           "                        --settings; with --settings its Save Directory is used)\n"
           "  --backup              move an existing target aside (.bak, .000, ...) first\n"
           "  --no-backup           leave an existing target alone: status Aborted\n"
           "  --overwrite           replace an existing target without backup\n"
           "                        (without these three an existing target is left\n"
           "                        alone, or with --settings its Create Backups decides)\n"
           "  --log FILE            append the run's log to FILE (without it, Batch.Log in\n"
           "                        the program directory when the settings say\n"
           "                        Generate Log=yes)\n"
           "  --dry-run             write nothing; print the changes and each file's status\n"
           "\n"
           "Exit codes: 0 every file ok, 1 a file failed, 2 bad usage.\n";
}

}  // namespace tessvane::cli
