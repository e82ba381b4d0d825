// convert: imports a file with an importer and writes its meshes with an
// exporter, the way a person would do it in a graphical host: options go
// into the plug-ins' settings, the output file into the exporter's stored
// file name, which its save-file dialog offers.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "commands.h"
#include "framework/settings_store.h"
#include "import_options.h"
#include "plugin_loader.h"

namespace meshconv {

using plugins::kCommonSettings;
using plugins::kMaxSettingText;
using plugins::kSpecificSettings;
using plugins::ReadSettingText;
using plugins::WriteSettingDouble;
using plugins::WriteSettingInt;
using plugins::WriteSettingText;

namespace {

namespace fs = std::filesystem;

const char* const kConvertUsage =
    "usage: meshconv convert IN OUT [--to obj|c|iob] [--smooth DEG] [--line-ends dos|unix|mac]\n"
    "                       [--split MODE] [--scale F] [--swap none|xy|xz|yz]\n"
    "                       [--unify | --no-unify] [--log FILE | --no-log] [--quiet]\n"
    "                       [--plugins DIR]\n"
    "\n"
    "Imports IN with the importer for its extension and writes its meshes to OUT\n"
    "with the exporter chosen by --to (obj: WaveFront, c: OpenGL C source,\n"
    "iob: Imagine object) or by OUT's extension.\n"
    "\n"
    "  --smooth DEG      smooth the normals across edges below DEG degrees (0: flat)\n"
    "  --line-ends ENDS  line ends of OUT: dos (CR LF), unix (LF) or mac (CR)\n"
    "  --quiet           no progress or status on standard error\n"
    "  --split, --scale, --swap, --unify, --log   as for meshconv import\n"
    "\n"
    "--smooth and --line-ends are stored in the exporter's settings, the import\n"
    "options in the importer's, and stay in effect; options not given keep the\n"
    "stored values. Scaling and the axis swap are applied once, on import.\n"
    "When standard input is a terminal, the exporter's save dialog asks for the\n"
    "file with OUT as the answer that Enter gives.\n"
    "Exit code 0 on success, 1 when IN could not be read or gave no mesh (an\n"
    "empty file excepted) or OUT could not be written,\n"
    "2 for bad usage.";

struct ConvertOptions {
    std::string in;
    std::string out;
    std::string to;  // extension with dot (".obj", ".c", ".iob"), empty: OUT's
    std::optional<double> smooth;
    std::optional<int> lineEnds;
    ImportOptions importOptions;
    bool quiet = false;
};

// Parses the arguments; returns false after printing what is wrong.
bool ParseOptions(const Arguments& args, ConvertOptions& o) {
    // The import options keep convert's own wording, and no check of the
    // factor against the settings' precision.
    const ImportOptionChecks checks{.genericChoiceMessage = true, .scaleWithinPrecision = true};
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string error;
        switch (ParseImportOption(args, i, o.importOptions, error, checks)) {
            case ImportOptionParse::Taken:
                continue;
            case ImportOptionParse::Bad:
                std::fprintf(stderr, "meshconv convert: %s\n", error.c_str());
                return false;
            case ImportOptionParse::NotImportOption:
                break;
        }
        std::string v;
        auto value = [&]() {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "meshconv convert: %s needs a value\n", a.c_str());
                return false;
            }
            v = args[++i];
            return true;
        };
        auto choice = [&](std::initializer_list<const char*> names, std::optional<int>& out) {
            if (!value()) {
                return false;
            }
            const int index = IndexOf(v, names);
            if (index < 0) {
                std::fprintf(stderr, "meshconv convert: unknown value '%s' for %s\n", v.c_str(),
                             a.c_str());
                return false;
            }
            out = index;
            return true;
        };
        auto number = [&](std::optional<double>& out) {
            double d = 0.0;
            if (!value()) {
                return false;
            }
            if (!ParseNumber(v, d)) {
                std::fprintf(stderr, "meshconv convert: '%s' is not a number\n", v.c_str());
                return false;
            }
            if (!FitsTheSettings(d)) {
                std::fprintf(stderr,
                             "meshconv convert: %s %s is too large for the settings to hold\n",
                             a.c_str(), v.c_str());
                return false;
            }
            out = d;
            return true;
        };
        bool ok = true;
        if (a == "--to") {
            std::optional<int> to;
            ok = choice({"obj", "c", "iob"}, to);
            if (ok) {
                o.to = "." + v;
            }
        } else if (a == "--smooth") {
            ok = number(o.smooth);
        } else if (a == "--line-ends") {
            ok = choice({"dos", "unix", "mac"}, o.lineEnds);
        } else if (a == "--quiet" || a == "-q") {
            o.quiet = true;
        } else if (!a.empty() && a[0] == '-' && a != "-") {
            std::fprintf(stderr, "meshconv convert: unknown option '%s'\n", a.c_str());
            return false;
        } else if (o.in.empty()) {
            o.in = a;
        } else if (o.out.empty()) {
            o.out = a;
        } else {
            std::fprintf(stderr, "meshconv convert: one IN and one OUT, please ('%s')\n",
                         a.c_str());
            return false;
        }
        if (!ok) {
            return false;
        }
    }
    if (o.in.empty() || o.out.empty()) {
        std::fprintf(stderr, "meshconv convert: needs IN and OUT\n");
        return false;
    }
    return true;
}

// Standard error sent to /dev/null while the object lives (for --quiet:
// the plug-ins write their progress and status there).
class MutedStderr {
  public:
    explicit MutedStderr(bool mute) {
        if (!mute) {
            return;
        }
        std::fflush(stderr);
        saved_ = dup(STDERR_FILENO);
        const int null = open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0) {
            dup2(null, STDERR_FILENO);
        }
        if (null >= 0) {
            close(null);
        }
    }
    ~MutedStderr() {
        if (saved_ >= 0) {
            std::fflush(stderr);
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }
    MutedStderr(const MutedStderr&) = delete;
    MutedStderr& operator=(const MutedStderr&) = delete;

  private:
    int saved_ = -1;
};

// The working directory given back when the object goes away.
class DirectoryGuard {
  public:
    DirectoryGuard() {
        std::error_code ec;
        saved_ = fs::current_path(ec);
    }
    ~DirectoryGuard() {
        std::error_code ec;
        if (!saved_.empty()) {
            fs::current_path(saved_, ec);
        }
    }
    DirectoryGuard(const DirectoryGuard&) = delete;
    DirectoryGuard& operator=(const DirectoryGuard&) = delete;

  private:
    fs::path saved_;
};

// What identifies one version of a file: a new file written in its place
// has another inode (it was created while the old one still existed).
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    struct timespec modified {};
};

FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
        stamp.exists = true;
        stamp.device = info.st_dev;
        stamp.inode = info.st_ino;
        stamp.size = info.st_size;
        stamp.modified = info.st_mtim;
    }
    return stamp;
}

// True when path is a regular file that was created or replaced at or after
// start. The file systems stamp files from the coarse clock, so start has to
// come from it too.
bool WrittenSince(const std::string& path, const struct timespec& start) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return false;
    }
    return info.st_ctim.tv_sec > start.tv_sec ||
           (info.st_ctim.tv_sec == start.tv_sec && info.st_ctim.tv_nsec >= start.tv_nsec);
}

bool Changed(const FileStamp& before, const FileStamp& after) {
    if (!after.exists) {
        return false;
    }
    return !before.exists || before.device != after.device || before.inode != after.inode ||
           before.size != after.size || before.modified.tv_sec != after.modified.tv_sec ||
           before.modified.tv_nsec != after.modified.tv_nsec;
}

// Runs the exporter's Export on list with OUT as the file its save dialog
// offers and with scaling and swapping off (the importer applied them);
// the exporter's stored size and swap come back afterwards. Returns true
// when a file was written.
bool ExportTo(LoadedPlugin& exporter, ObjectList* list, const ConvertOptions& o,
              const fs::path& out) {
    const std::string subkey = exporter.Name();
    const char* key = subkey.c_str();
    std::string stored_size;
    std::string stored_swap;
    ReadSettingText(key, kCommonSettings, "size_value", "1.000000", stored_size, 2048);
    ReadSettingText(key, kCommonSettings, "swap_mode", "0", stored_swap, 2048);
    WriteSettingDouble(key, kCommonSettings, "size_value", 1.0);
    WriteSettingInt(key, kCommonSettings, "swap_mode", 0);
    if (o.smooth) {
        WriteSettingDouble(key, kSpecificSettings, "smooth_angle", *o.smooth);
    }
    if (o.lineEnds) {
        WriteSettingInt(key, kCommonSettings, "ld_mode", *o.lineEnds);
    }
    // The dialog takes the stored name in the stored directory. OUT never
    // passes through a stored directory, which a long path could not come
    // back from: the export runs in OUT's directory, with no stored directory
    // and OUT's bare name (which the settings can always hold).
    const std::string dir = out.parent_path().string();
    WriteSettingText(key, kSpecificSettings, "path", "");
    WriteSettingText(key, kSpecificSettings, "file_name", out.filename().string().c_str());

    const FileStamp before = StampOf(out.string());
    struct timespec start {};
    clock_gettime(CLOCK_REALTIME_COARSE, &start);
    bool entered = false;
    {
        DirectoryGuard directory;
        std::error_code ec;
        fs::current_path(dir, ec);
        entered = !ec;
        // Where OUT's directory cannot be entered no file can be written
        // there, and nothing is written anywhere else instead.
        if (entered) {
            auto* plugin = static_cast<ExportPlugin*>(exporter.Descriptor()->CreateInstance());
            if (plugin != nullptr) {
                MutedStderr quiet(o.quiet);
                plugin->Export(list);
                plugin->Delete();
            }
        }
    }
    if (!entered) {
        WriteSettingText(key, kCommonSettings, "size_value", stored_size.c_str());
        WriteSettingText(key, kCommonSettings, "swap_mode", stored_swap.c_str());
        if (!o.quiet) {
            std::fprintf(stderr, "meshconv convert: unable to write '%s'\n", o.out.c_str());
        }
        return false;
    }
    WriteSettingText(key, kCommonSettings, "size_value", stored_size.c_str());
    WriteSettingText(key, kCommonSettings, "swap_mode", stored_swap.c_str());

    // A person at a terminal may have chosen another name in the dialog;
    // the exporter then stored the full path it wrote to. A name still
    // relative is the one stored above: the dialog was cancelled. Another
    // file only counts when this export has just written it.
    std::string chosen;
    ReadSettingText(key, kSpecificSettings, "file_name", nullptr, chosen, 2048);
    std::error_code ec;
    if (fs::path(chosen).is_absolute() && StampOf(chosen).exists &&
        !fs::equivalent(chosen, out, ec)) {
        return WrittenSince(chosen, start);
    }
    // A device or a pipe is written to, not replaced, and shows no trace of
    // it: the export counts when the dialog took it.
    // (std::filesystem::equivalent refuses to compare two devices.)
    struct stat info {};
    if (stat(out.c_str(), &info) == 0 && !S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) {
        struct stat taken {};
        return fs::path(chosen).is_absolute() && stat(chosen.c_str(), &taken) == 0 &&
               taken.st_dev == info.st_dev && taken.st_ino == info.st_ino;
    }
    return Changed(before, StampOf(out.string()));
}

}  // namespace

int RunConvert(const Arguments& input) {
    Arguments args = input;
    if (WantsHelp(args)) {
        std::puts(kConvertUsage);
        return kExitOk;
    }
    std::vector<std::string> directories;
    if (!TakePluginDirectories(args, directories)) {
        return kExitUsage;
    }
    ConvertOptions o;
    if (!ParseOptions(args, o)) {
        std::fprintf(stderr, "(see meshconv convert --help)\n");
        return kExitUsage;
    }
    std::error_code ec;
    const fs::path in = fs::absolute(o.in, ec).lexically_normal();
    const fs::path out = fs::absolute(o.out, ec).lexically_normal();
    if (out.filename().empty()) {
        std::fprintf(stderr, "meshconv convert: OUT '%s' names no file\n", o.out.c_str());
        return kExitUsage;
    }
    if (out.filename().string().size() > kMaxSettingText) {
        std::fprintf(stderr,
                     "meshconv convert: OUT '%s': the file name is longer than the %zu "
                     "characters the settings can hold\n",
                     o.out.c_str(), kMaxSettingText);
        return kExitUsage;
    }

    LoadedPlugin importer;
    if (!FindPluginFor(kPluginKindImport, in.extension().string(), directories, importer)) {
        std::fprintf(stderr, "meshconv convert: no importer for '%s' (see meshconv list)\n",
                     o.in.c_str());
        return kExitFailed;
    }
    const std::string to = o.to.empty() ? out.extension().string() : o.to;
    LoadedPlugin exporter;
    if (!FindPluginFor(kPluginKindExport, to, directories, exporter)) {
        std::fprintf(stderr, "meshconv convert: no exporter for '%s' (use --to obj, c or iob)\n",
                     o.out.c_str());
        return kExitFailed;
    }

    StoreImportOptions(importer.Name(), o.importOptions);
    // The importer reports a file it cannot read itself, but hands over an
    // empty list all the same: nothing is exported then.
    if (!CanRead(in.string())) {
        std::fprintf(stderr, "meshconv convert: cannot read '%s'\n", o.in.c_str());
        return kExitFailed;
    }
    auto* plugin = static_cast<ImportPlugin*>(importer.Descriptor()->CreateInstance());
    if (plugin == nullptr) {
        std::fprintf(stderr, "meshconv convert: %s made no importer object\n",
                     importer.Name().c_str());
        return kExitFailed;
    }
    ObjectList* list = nullptr;
    {
        MutedStderr quiet(o.quiet);
        list = plugin->ImportFile(in.string().c_str());
    }
    // The importer owns the meshes until it is deleted, after the export.
    // A file read in part, or one that gave no mesh, is not converted: the
    // importer has said why, and OUT is left as it is.
    if (MeshCount(list) == 0 && !IsEmptyFile(in.string())) {
        plugin->Delete();
        if (o.quiet) {
            std::fprintf(stderr, "meshconv convert: no meshes from '%s'\n", o.in.c_str());
        }
        return kExitFailed;
    }
    const bool written = ExportTo(exporter, list, o, out);
    plugin->Delete();
    if (!written) {
        // Without --quiet the exporter has told the person already.
        if (o.quiet) {
            std::fprintf(stderr, "meshconv convert: unable to write '%s'\n", o.out.c_str());
        }
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace meshconv
