// import: loads an importer, passes the command line's options on through
// the plug-in's settings (where its configuration form keeps them too) and
// prints what the import handed over.
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "commands.h"
#include "framework/settings_store.h"
#include "plugin_loader.h"

namespace meshconv {

namespace {

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
    "Exit code 0 on success, 1 when the file could not be imported, 2 for bad usage.";

struct ImportOptions {
    std::string file;
    std::optional<int> split;
    std::optional<double> scale;
    std::optional<int> swap;
    std::optional<int> unify;
    std::optional<std::string> log;  // empty: logging off
    std::string plugin;
};

int IndexOf(const std::string& value, std::initializer_list<const char*> names)
{
    int i = 0;
    for (const char* name : names) {
        if (value == name) {
            return i;
        }
        ++i;
    }
    return -1;
}

// Parses the arguments; returns false after printing what is wrong.
bool ParseOptions(const Arguments& args, ImportOptions& options)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "meshconv import: %s needs a value\n", a.c_str());
                return false;
            }
            out = args[++i];
            return true;
        };
        std::string v;
        if (a == "--split") {
            if (!value(v)) {
                return false;
            }
            const int mode = IndexOf(v, {"nothing", "object", "group", "smoothing", "usemap", "usemtl"});
            if (mode < 0) {
                std::fprintf(stderr, "meshconv import: unknown split mode '%s'\n", v.c_str());
                return false;
            }
            options.split = mode;
        } else if (a == "--scale") {
            if (!value(v)) {
                return false;
            }
            char* end = nullptr;
            const double f = std::strtod(v.c_str(), &end);
            if (v.empty() || *end != '\0' || !std::isfinite(f)) {
                std::fprintf(stderr, "meshconv import: '%s' is not a number\n", v.c_str());
                return false;
            }
            // The factor reaches the plug-in through its settings, which keep
            // six decimals: a small factor would arrive as 0 and flatten
            // every mesh to a point.
            if (f != 0.0 && std::fabs(f) < 0.0000005) {
                std::fprintf(stderr, "meshconv import: --scale %s is below the settings' precision (0.000001)\n",
                             v.c_str());
                return false;
            }
            options.scale = f;
        } else if (a == "--swap") {
            if (!value(v)) {
                return false;
            }
            const int mode = IndexOf(v, {"none", "xy", "xz", "yz"});
            if (mode < 0) {
                std::fprintf(stderr, "meshconv import: unknown swap '%s'\n", v.c_str());
                return false;
            }
            options.swap = mode;
        } else if (a == "--unify" || a == "--no-unify") {
            options.unify = a == "--unify" ? 1 : 0;
        } else if (a == "--log") {
            if (!value(v)) {
                return false;
            }
            // The run works in the imported file's directory; a log named
            // relative to where meshconv was started belongs there.
            std::error_code ec;
            const std::filesystem::path absolute = std::filesystem::absolute(v, ec);
            options.log = ec ? v : absolute.string();
        } else if (a == "--no-log") {
            options.log = std::string();
        } else if (a == "--plugin") {
            if (!value(options.plugin)) {
                return false;
            }
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            std::fprintf(stderr, "meshconv import: unknown option '%s'\n", a.c_str());
            return false;
        } else if (options.file.empty()) {
            options.file = a;
        } else {
            std::fprintf(stderr, "meshconv import: only one FILE, please ('%s')\n", a.c_str());
            return false;
        }
    }
    if (options.file.empty()) {
        std::fprintf(stderr, "meshconv import: which FILE?\n");
        return false;
    }
    return true;
}

std::string Lower(std::string s)
{
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

// The importer whose file type ("WaveFront (*.obj)") names the file's
// extension as a whole: "x.o" is no OBJ file.
bool FindImporter(const std::string& file, const std::vector<std::string>& directories, LoadedPlugin& importer)
{
    const std::string ext = Lower(std::filesystem::path(file).extension().string());
    if (ext.empty()) {
        return false;
    }
    const std::string pattern = "(*" + ext + ")";
    for (LoadedPlugin& plugin : FindPlugins(directories)) {
        ClassDescription* d = plugin.Descriptor();
        if (d->PluginKind() == kPluginKindImport && Lower(d->ClassName()).find(pattern) != std::string::npos) {
            importer = std::move(plugin);
            return true;
        }
    }
    return false;
}

void StoreOptions(const std::string& subkey, const ImportOptions& o)
{
    const char* key = subkey.c_str();
    if (o.split) {
        WriteSettingInt(key, kSpecificSettings, "obj_mode", *o.split);
    }
    if (o.scale) {
        WriteSettingDouble(key, kCommonSettings, "size_value", *o.scale);
    }
    if (o.swap) {
        WriteSettingInt(key, kCommonSettings, "swap_mode", *o.swap);
    }
    if (o.unify) {
        WriteSettingInt(key, kCommonSettings, "unify_mode", *o.unify);
    }
    if (o.log) {
        WriteSettingInt(key, kCommonSettings, "verbose_mode", o.log->empty() ? 0 : 1);
        if (!o.log->empty()) {
            WriteSettingText(key, kCommonSettings, "logfilename", o.log->c_str());
        }
    }
}

// Whether the importer can open file, decided without consuming it: a pipe
// (meshconv import --plugin objread /dev/stdin) is read by the importer
// alone, so it is only tested for permission, never opened here.
bool CanRead(const std::string& file)
{
    struct stat info {};
    if (stat(file.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) {
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        return access(file.c_str(), R_OK) == 0;
    }
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (f == nullptr) {
        return false;
    }
    std::fclose(f);
    return true;
}

}  // namespace

int RunImport(const Arguments& input)
{
    Arguments args = input;
    if (WantsHelp(args)) {
        std::puts(kImportUsage);
        return kExitOk;
    }
    std::vector<std::string> directories;
    if (!TakePluginDirectories(args, directories)) {
        return kExitUsage;
    }
    ImportOptions options;
    if (!ParseOptions(args, options)) {
        std::fprintf(stderr, "(see meshconv import --help)\n");
        return kExitUsage;
    }

    LoadedPlugin importer;
    std::string error;
    if (!options.plugin.empty()) {
        if (!LoadNamedPlugin(options.plugin, directories, importer, error)) {
            std::fprintf(stderr, "meshconv import: %s\n", error.c_str());
            return kExitUsage;
        }
        if (importer.Descriptor()->PluginKind() != kPluginKindImport) {
            std::fprintf(stderr, "meshconv import: %s is not an importer\n", importer.Name().c_str());
            return kExitUsage;
        }
    } else if (!FindImporter(options.file, directories, importer)) {
        std::fprintf(stderr, "meshconv import: no importer for '%s' (see meshconv list)\n", options.file.c_str());
        return kExitFailed;
    }

    StoreOptions(importer.Name(), options);
    // The importer reports a file it cannot open itself; the host only
    // sees an empty list, so it checks the file too to set its exit code.
    const bool readable = CanRead(options.file);

    auto* plugin = static_cast<ImportPlugin*>(importer.Descriptor()->CreateInstance());
    if (plugin == nullptr) {
        std::fprintf(stderr, "meshconv import: %s made no importer object\n", importer.Name().c_str());
        return kExitFailed;
    }
    ObjectList* list = plugin->ImportFile(options.file.c_str());
    long long points = 0;
    long long triangles = 0;
    int meshes = 0;
    for (const ObjectListNode* node = list != nullptr ? list->head : nullptr; node != nullptr; node = node->next) {
        if (node->object == nullptr || node->object->type != kObjectTypeMesh) {
            continue;
        }
        const auto* mesh = static_cast<const Mesh3d*>(node->object);
        std::printf("%s\t%d\t%d\t%f %f %f\t%f %f %f\n", mesh->name, mesh->pointCount, mesh->triangleCount,
                    mesh->min.x, mesh->min.y, mesh->min.z, mesh->max.x, mesh->max.y, mesh->max.z);
        ++meshes;
        points += mesh->pointCount;
        triangles += mesh->triangleCount;
    }
    plugin->Delete();
    if (!readable) {
        return kExitFailed;
    }
    std::printf("total\t%d\t%lld\t%lld\n", meshes, points, triangles);
    return kExitOk;
}

}  // namespace meshconv
