// meshconv: a command-line converter host. It loads the converter plug-ins
// at run time, exactly as a graphical host would, and drives them from the
// command line.
#include <cstdio>
#include <cstring>
#include <string>

#include "commands.h"
#include "plugin_loader.h"

namespace meshconv {

void PrintUsage(bool toStdout) {
    std::FILE* out = toStdout ? stdout : stderr;
    std::fputs(
        "usage: meshconv COMMAND [ARGUMENTS]\n"
        "\n"
        "Loads converter plug-ins and runs them from the command line.\n"
        "\n"
        "commands:\n"
        "  list [--plugins DIR]           list the plug-ins found\n"
        "  import FILE [options]          import FILE and print its meshes\n"
        "  convert IN OUT [options]       import IN and export its meshes to OUT\n"
        "  configure PLUGIN               edit a plug-in's settings\n"
        "  help PLUGIN                    show a plug-in's help\n"
        "\n"
        "options:\n"
        "  --help                         show this help (after a command: its help)\n"
        "  --version                      show meshconv's version\n"
        "\n"
        "Every command takes --help. An installed meshconv loads the plug-ins of\n",
        out);
    std::fprintf(out,
                 "%s (relative to itself); one that is not installed, those\n"
                 "beside itself and in a build tree's plugins folders. --plugins DIR names\n"
                 "another folder. PLUGIN is a plug-in's file name without extension\n"
                 "(objread) or a path to its library.\n",
                 PluginDirectoryFromPrograms());
}

bool WantsHelp(const Arguments& args) {
    for (const std::string& a : args) {
        if (a == "--help" || a == "-h") {
            return true;
        }
    }
    return false;
}

bool TakePluginDirectories(Arguments& args, std::vector<std::string>& directories) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--plugins") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "meshconv: --plugins needs a directory\n");
                return false;
            }
            directories = {args[i + 1]};
            args.erase(args.begin() + static_cast<long>(i),
                       args.begin() + static_cast<long>(i) + 2);
            return true;
        }
    }
    directories = DefaultPluginDirectories();
    return true;
}

}  // namespace meshconv

namespace {

// Runs one command; output that could not be written (a full disk, a closed
// pipe) turns a success into a failure instead of a silently cut listing.
int RunCommand(int argc, char** argv);

}  // namespace

int main(int argc, char** argv) {
    const int code = RunCommand(argc, argv);
    if (std::fflush(stdout) != 0 || std::ferror(stdout) != 0) {
        std::fprintf(stderr, "meshconv: cannot write the output\n");
        return code == meshconv::kExitOk ? meshconv::kExitFailed : code;
    }
    return code;
}

namespace {

int RunCommand(int argc, char** argv) {
    using namespace meshconv;
    if (argc < 2) {
        PrintUsage(false);
        return kExitUsage;
    }
    const std::string command = argv[1];
    Arguments args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || (command == "help" && args.empty())) {
        PrintUsage(true);
        return kExitOk;
    }
    if (command == "--version") {
        std::printf("meshconv %s\n", Version());
        return kExitOk;
    }
    if (command == "list") {
        return RunList(args);
    }
    if (command == "import") {
        return RunImport(args);
    }
    if (command == "convert") {
        return RunConvert(args);
    }
    if (command == "configure") {
        return RunConfigure(args);
    }
    if (command == "help") {
        return RunHelp(args);
    }
    std::fprintf(stderr, "meshconv: unknown command '%s'\n\n", command.c_str());
    PrintUsage(false);
    return kExitUsage;
}

}  // namespace
