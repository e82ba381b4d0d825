#include "window_command_line.h"

#include "state/program_directory.h"

namespace tessvane {

WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& args) {
    WindowCommandLine line;
    bool help = false;
    bool version = false;
    std::vector<std::string> files;
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && (arg == "--help" || arg == "-h")) {
            help = true;
        } else if (options && arg == "--version") {
            version = true;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            if (line.message.empty()) line.message = "unknown option '" + arg + "'";
        } else {
            files.push_back(arg);
        }
    }
    if (help) {
        line.command = WindowCommand::Help;
    } else if (version) {
        line.command = WindowCommand::Version;
    } else if (!line.message.empty()) {
        line.command = WindowCommand::Usage;
    } else if (files.size() > 1) {
        line.command = WindowCommand::Usage;
        line.message = "one file at a time: '" + files[1] + "' follows '" + files[0] + "'";
    } else if (files.size() == 1) {
        line.file = files[0];
    }
    if (line.command != WindowCommand::Usage) line.message.clear();
    return line;
}

std::string WindowHelpText(const std::string& helpDocument) {
    return "Usage: Tessvane [OPTIONS] [FILE]\n"
           "\n"
           "Edits the paths inside Imagine object (.iob) and project (.ist) files.\n"
           "FILE, when given, is loaded at start as Load loads a file.\n"
           "\n"
           "Options:\n"
           "  -h, --help  show this help and exit\n"
           "  --version   show the version and exit\n"
           "Qt's own options (-platform NAME, -style NAME, ...) are taken too.\n"
           "\n"
           "Settings: Tessvane.ini beside the program when that directory may be written\n"
           "and the program is not installed, else in $XDG_CONFIG_HOME/Tessvane/\n"
           "(~/.config/Tessvane/).\n"
           "Help (F1): " +
           helpDocument + "\n";
}

std::string WindowVersionText() {
    return "Tessvane " + std::string(ProgramVersion()) + "\n";
}

}  // namespace tessvane
