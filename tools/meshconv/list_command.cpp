// list: prints a line for every plug-in found in the plug-in directories.
#include <cstdio>

#include "commands.h"
#include "plugin_loader.h"

namespace meshconv {

int RunList(const Arguments& input) {
    Arguments args = input;
    if (WantsHelp(args)) {
        std::puts(
            "usage: meshconv list [--plugins DIR]\n"
            "\n"
            "Lists every plug-in found, one a line, tab-separated: its file name,\n"
            "library name, file type, kind (import or export), class id and\n"
            "interface version.");
        return kExitOk;
    }
    std::vector<std::string> directories;
    if (!TakePluginDirectories(args, directories)) {
        return kExitUsage;
    }
    if (!args.empty()) {
        std::fprintf(stderr, "meshconv list: unexpected argument '%s'\n", args.front().c_str());
        return kExitUsage;
    }
    std::vector<std::string> problems;
    const std::vector<LoadedPlugin> plugins = FindPlugins(directories, &problems);
    for (const std::string& problem : problems) {
        std::fprintf(stderr, "meshconv list: skipped %s\n", problem.c_str());
    }
    for (const LoadedPlugin& plugin : plugins) {
        ClassDescription* d = plugin.Descriptor();
        const int kind = d->PluginKind();
        const char* kindText = kind == kPluginKindImport   ? "import"
                               : kind == kPluginKindExport ? "export"
                                                           : "other";
        std::printf("%s\t%s\t%s\t%s\t0x%08X\t%d\n", plugin.Name().c_str(), plugin.LibName(),
                    d->ClassName(), kindText, static_cast<unsigned>(d->ClassId()),
                    plugin.LibVersion());
    }
    return kExitOk;
}

}  // namespace meshconv
