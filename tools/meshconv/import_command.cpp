// import: loads an importer, passes the command line's options on through
// the plug-in's settings (where its configuration form keeps them too) and
// prints what the import handed over.
#include <cstdio>
#include <filesystem>
#include <string>

#include "commands.h"
#include "export/fixed_format.h"
#include "import_options.h"
#include "plugin_loader.h"

namespace meshconv {

namespace {

// Appends v as printf's "%f" writes it, without printf's arithmetic of many
// digits for each number, which would cost an import of many small meshes
// more than the import itself.
void AppendFixed6(std::string& line, double v) {
    char text[plugins::kFixed6MaxChars];
    line.append(text, plugins::FormatFixed6(text, v));
}

const char* const kImportUsage =
    "usage: meshconv import FILE [--split nothing|object|group|smoothing|usemap|usemtl]\n"
    "                            [--scale F] [--swap none|xy|xz|yz] [--unify | --no-unify]\n"
    "                            [--log FILE | --no-log] [--plugin PLUGIN] [--plugins DIR]\n"
    "\n"
    "Imports FILE with the importer whose file type matches its extension (or\n"
    "the one named with --plugin) and prints one line per mesh, tab-separated:\n"
    "name, points, triangles, minimum x y z, maximum x y z; then a line\n"
    "'total' with the numbers of meshes, points and triangles.\n"
    "\n"
    "  --split MODE   what starts a new mesh: nothing, an o line (object), a g\n"
    "                 line (group), an s line (smoothing), usemap or usemtl\n"
    "  --scale F      multiply every coordinate by F\n"
    "  --swap AXES    exchange two axes\n"
    "  --unify        give the faces of each connected part one orientation\n"
    "  --log FILE     write the plug-in's log to FILE\n"
    "\n"
    "The options are stored in the plug-in's settings, just as 'meshconv\n"
    "configure' stores them, and stay in effect for later imports.\n"
    "Exit code 0 on success, 1 when the file could not be imported or gave no\n"
    "mesh (an empty file excepted), 2 for bad usage.";

struct ImportCommand {
    std::string file;
    ImportOptions options;
    std::string plugin;
};

// Parses the arguments; returns false after printing what is wrong.
bool ParseOptions(const Arguments& args, ImportCommand& command) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string error;
        switch (ParseImportOption(args, i, command.options, error)) {
            case ImportOptionParse::Taken:
                continue;
            case ImportOptionParse::Bad:
                std::fprintf(stderr, "meshconv import: %s\n", error.c_str());
                return false;
            case ImportOptionParse::NotImportOption:
                break;
        }
        if (a == "--plugin") {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "meshconv import: %s needs a value\n", a.c_str());
                return false;
            }
            command.plugin = args[++i];
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            std::fprintf(stderr, "meshconv import: unknown option '%s'\n", a.c_str());
            return false;
        } else if (command.file.empty()) {
            command.file = a;
        } else {
            std::fprintf(stderr, "meshconv import: only one FILE, please ('%s')\n", a.c_str());
            return false;
        }
    }
    if (command.file.empty()) {
        std::fprintf(stderr, "meshconv import: which FILE?\n");
        return false;
    }
    return true;
}

}  // namespace

int RunImport(const Arguments& input) {
    Arguments args = input;
    if (WantsHelp(args)) {
        std::puts(kImportUsage);
        return kExitOk;
    }
    std::vector<std::string> directories;
    if (!TakePluginDirectories(args, directories)) {
        return kExitUsage;
    }
    ImportCommand command;
    if (!ParseOptions(args, command)) {
        std::fprintf(stderr, "(see meshconv import --help)\n");
        return kExitUsage;
    }

    LoadedPlugin importer;
    std::string error;
    if (!command.plugin.empty()) {
        if (!LoadNamedPlugin(command.plugin, directories, importer, error)) {
            std::fprintf(stderr, "meshconv import: %s\n", error.c_str());
            return kExitUsage;
        }
        if (importer.Descriptor()->PluginKind() != kPluginKindImport) {
            std::fprintf(stderr, "meshconv import: %s is not an importer\n",
                         importer.Name().c_str());
            return kExitUsage;
        }
    } else if (!FindPluginFor(kPluginKindImport,
                              std::filesystem::path(command.file).extension().string(), directories,
                              importer)) {
        std::fprintf(stderr, "meshconv import: no importer for '%s' (see meshconv list)\n",
                     command.file.c_str());
        return kExitFailed;
    }

    StoreImportOptions(importer.Name(), command.options);
    // The importer reports a file it cannot open itself; the host only
    // sees an empty list, so it checks the file too to set its exit code.
    const bool readable = CanRead(command.file);

    auto* plugin = static_cast<ImportPlugin*>(importer.Descriptor()->CreateInstance());
    if (plugin == nullptr) {
        std::fprintf(stderr, "meshconv import: %s made no importer object\n",
                     importer.Name().c_str());
        return kExitFailed;
    }
    ObjectList* list = plugin->ImportFile(command.file.c_str());
    long long points = 0;
    long long triangles = 0;
    int meshes = 0;
    for (const ObjectListNode* node = list != nullptr ? list->head : nullptr; node != nullptr;
         node = node->next) {
        if (node->object == nullptr || node->object->type != kObjectTypeMesh) {
            continue;
        }
        const auto* mesh = static_cast<const Mesh3d*>(node->object);
        // name, points, triangles, minimum x y z, maximum x y z
        std::string line = mesh->name != nullptr ? mesh->name : "(null)";
        line +=
            '\t' + std::to_string(mesh->pointCount) + '\t' + std::to_string(mesh->triangleCount);
        const double bounds[6] = {mesh->min.x, mesh->min.y, mesh->min.z,
                                  mesh->max.x, mesh->max.y, mesh->max.z};
        for (int i = 0; i < 6; ++i) {
            line += i % 3 == 0 ? '\t' : ' ';
            AppendFixed6(line, bounds[i]);
        }
        line += '\n';
        std::fwrite(line.data(), 1, line.size(), stdout);
        ++meshes;
        points += mesh->pointCount;
        triangles += mesh->triangleCount;
    }
    plugin->Delete();
    // The importer has said why it gave nothing.
    if (!readable || (meshes == 0 && !IsEmptyFile(command.file))) {
        return kExitFailed;
    }
    std::printf("total\t%d\t%lld\t%lld\n", meshes, points, triangles);
    return kExitOk;
}

}  // namespace meshconv
