// tessvane-cli: lists, checks and batch-updates the paths inside Imagine
// object and project files from a terminal or a script. Exit codes: 0 every
// file ok, 1 a file failed (check: a path not found), 2 bad usage.
#include <unistd.h>

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "batch_command.h"
#include "check_command.h"
#include "cli_options.h"
#include "list_command.h"

namespace {

int RunCommand(int argc, char** argv) {
    using namespace tessvane::cli;
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    try {
        const ParsedCommand command = ParseCommandLine(args);
        switch (command.kind) {
            case CommandKind::Help:
                std::cout << command.text;
                return 0;
            case CommandKind::Usage:
                std::cerr << "tessvane-cli: " << command.text << "\n"
                          << "Try 'tessvane-cli --help'.\n";
                return 2;
            case CommandKind::List:
                return RunListCommand(command.list, std::cout, std::cerr);
            case CommandKind::Check:
                return RunCheckCommand(command.check, std::cout, std::cerr,
                                       ::isatty(STDERR_FILENO) == 1);
            case CommandKind::Batch:
                return RunBatchCommand(command.batch, std::cout, std::cerr,
                                       ::isatty(STDERR_FILENO) == 1);
        }
    } catch (const std::exception& e) {
        std::cerr << "tessvane-cli: " << e.what() << '\n';
        return 1;
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    const int code = RunCommand(argc, argv);
    // A listing or a status line that never reached its reader (a full disk,
    // a closed pipe) is a failure, not a success.
    std::cout.flush();
    if (!std::cout) {
        std::cerr << "tessvane-cli: cannot write the output\n";
        return code == 0 ? 1 : code;
    }
    return code;
}
