// configure and help: both hand the terminal to one of the plug-in's dialogs.
#include <cstdio>

#include "commands.h"
#include "plugin_loader.h"

namespace meshconv {

namespace {

enum class Dialog { Configure, Help };

int RunDialog(const Arguments& input, Dialog dialog) {
    const char* name = dialog == Dialog::Configure ? "configure" : "help";
    Arguments args = input;
    if (WantsHelp(args)) {
        if (dialog == Dialog::Configure) {
            std::puts(
                "usage: meshconv configure PLUGIN [--plugins DIR]\n"
                "\n"
                "Shows the plug-in's configuration form. OK stores the settings, which\n"
                "later imports and exports use; Cancel keeps them as they were.");
        } else {
            std::puts(
                "usage: meshconv help PLUGIN [--plugins DIR]\n"
                "\n"
                "Shows the plug-in's help text.");
        }
        return kExitOk;
    }
    std::vector<std::string> directories;
    if (!TakePluginDirectories(args, directories)) {
        return kExitUsage;
    }
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: meshconv %s PLUGIN [--plugins DIR]\n", name);
        return kExitUsage;
    }
    LoadedPlugin plugin;
    std::string error;
    if (!LoadNamedPlugin(args[0], directories, plugin, error)) {
        std::fprintf(stderr, "meshconv %s: %s\n", name, error.c_str());
        return kExitUsage;
    }
    PluginObject* object = plugin.Descriptor()->CreateInstance();
    if (object == nullptr) {
        std::fprintf(stderr, "meshconv %s: %s made no plug-in object\n", name,
                     plugin.Name().c_str());
        return kExitFailed;
    }
    if (dialog == Dialog::Configure) {
        object->Configure();
    } else {
        object->ShowHelp();
    }
    object->Delete();
    return kExitOk;
}

}  // namespace

int RunConfigure(const Arguments& args) {
    return RunDialog(args, Dialog::Configure);
}

int RunHelp(const Arguments& args) {
    return RunDialog(args, Dialog::Help);
}

}  // namespace meshconv
