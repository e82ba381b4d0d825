// Tessvane's command line: `Tessvane [FILE]`, `--help`, `--version`.
//
// Qt's own options (-platform NAME, -style NAME, ...) are taken out of the
// arguments by QApplication; the arguments left are parsed here. --help and
// --version are looked for first, before QApplication is made, so they work
// without a display.
#pragma once

#include <string>
#include <vector>

namespace tessvane {

enum class WindowCommand {
    Run,      // start the window, loading `file` when it is not empty
    Help,     // print WindowHelpText and exit 0
    Version,  // print WindowVersionText and exit 0
    Usage,    // print `message` to standard error and exit 2
};

struct WindowCommandLine {
    WindowCommand command = WindowCommand::Run;
    std::string file;
    std::string message;
};

// The arguments after the program name. -h or --help anywhere before "--"
// asks for help, else --version for the version; otherwise an unknown option
// or a second file is bad usage. After "--" every argument is a file.
WindowCommandLine ParseWindowCommandLine(const std::vector<std::string>& args);

// What --help prints; `helpDocument` says where F1's help is read from.
std::string WindowHelpText(const std::string& helpDocument);

// What --version prints: "Tessvane 2.2.1" and a line end.
std::string WindowVersionText();

}  // namespace tessvane
