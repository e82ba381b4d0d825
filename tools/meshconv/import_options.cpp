#include "import_options.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "framework/settings_store.h"

namespace meshconv {

using plugins::kCommonSettings;
using plugins::kMaxSettingText;
using plugins::kSpecificSettings;
using plugins::SettingsDoubleText;
using plugins::WriteSettingDouble;
using plugins::WriteSettingInt;
using plugins::WriteSettingText;

namespace {

std::string Lower(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return s;
}

}  // namespace

int IndexOf(const std::string& value, std::initializer_list<const char*> names) {
    int i = 0;
    for (const char* name : names) {
        if (value == name) {
            return i;
        }
        ++i;
    }
    return -1;
}

bool FitsTheSettings(double value) {
    return SettingsDoubleText(value).size() <= kMaxSettingText;
}

bool ParseNumber(const std::string& text, double& value) {
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return !text.empty() && *end == '\0' && std::isfinite(value);
}

ImportOptionParse ParseImportOption(const Arguments& args, std::size_t& i, ImportOptions& options,
                                    std::string& error, const ImportOptionChecks& checks) {
    const std::string& a = args[i];
    std::string v;
    auto value = [&]() {
        if (i + 1 >= args.size()) {
            error = a + " needs a value";
            return false;
        }
        v = args[++i];
        return true;
    };
    auto choice = [&](const char* what, std::initializer_list<const char*> names,
                      std::optional<int>& out) {
        if (!value()) {
            return ImportOptionParse::Bad;
        }
        const int index = IndexOf(v, names);
        if (index < 0) {
            error = checks.genericChoiceMessage ? "unknown value '" + v + "' for " + a
                                                : "unknown " + std::string(what) + " '" + v + "'";
            return ImportOptionParse::Bad;
        }
        out = index;
        return ImportOptionParse::Taken;
    };

    if (a == "--split") {
        return choice("split mode", {"nothing", "object", "group", "smoothing", "usemap", "usemtl"},
                      options.split);
    }
    if (a == "--swap") {
        return choice("swap", {"none", "xy", "xz", "yz"}, options.swap);
    }
    if (a == "--scale") {
        if (!value()) {
            return ImportOptionParse::Bad;
        }
        double f = 0.0;
        if (!ParseNumber(v, f)) {
            error = "'" + v + "' is not a number";
            return ImportOptionParse::Bad;
        }
        // The factor reaches the plug-in through its settings, which keep
        // six decimals: a small factor would arrive as 0 and flatten every
        // mesh to a point.
        if (checks.scaleWithinPrecision && f != 0.0 && std::fabs(f) < 0.0000005) {
            error = "--scale " + v + " is below the settings' precision (0.000001)";
            return ImportOptionParse::Bad;
        }
        if (!FitsTheSettings(f)) {
            error = "--scale " + v + " is too large for the settings to hold";
            return ImportOptionParse::Bad;
        }
        options.scale = f;
        return ImportOptionParse::Taken;
    }
    if (a == "--unify" || a == "--no-unify") {
        options.unify = a == "--unify" ? 1 : 0;
        return ImportOptionParse::Taken;
    }
    if (a == "--log") {
        if (!value()) {
            return ImportOptionParse::Bad;
        }
        // The importer may work in another directory than the one meshconv
        // was started in; a log named relative to the start belongs there.
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(v, ec);
        options.log = ec ? v : absolute.string();
        // A longer name would read back from the settings as none, and the
        // log would go to the default name beside the input.
        if (options.log->size() > kMaxSettingText) {
            error = "--log " + v + ": the path " + *options.log + " is longer than the " +
                    std::to_string(kMaxSettingText) + " characters the settings can hold";
            return ImportOptionParse::Bad;
        }
        return ImportOptionParse::Taken;
    }
    if (a == "--no-log") {
        options.log = std::string();
        return ImportOptionParse::Taken;
    }
    return ImportOptionParse::NotImportOption;
}

void StoreImportOptions(const std::string& subkey, const ImportOptions& o) {
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

bool FindPluginFor(int kind, const std::string& ext, const std::vector<std::string>& directories,
                   LoadedPlugin& found) {
    if (ext.empty()) {
        return false;
    }
    const std::string pattern = "(*" + Lower(ext) + ")";
    for (LoadedPlugin& plugin : FindPlugins(directories)) {
        ClassDescription* d = plugin.Descriptor();
        if (d->PluginKind() == kind && Lower(d->ClassName()).find(pattern) != std::string::npos) {
            found = std::move(plugin);
            return true;
        }
    }
    return false;
}

bool IsEmptyFile(const std::string& file) {
    struct stat info {};
    return stat(file.c_str(), &info) == 0 && S_ISREG(info.st_mode) && info.st_size == 0;
}

int MeshCount(const ObjectList* list) {
    int meshes = 0;
    for (const ObjectListNode* node = list != nullptr ? list->head : nullptr; node != nullptr;
         node = node->next) {
        meshes += node->object != nullptr && node->object->type == kObjectTypeMesh ? 1 : 0;
    }
    return meshes;
}

bool CanRead(const std::string& file) {
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

}  // namespace meshconv
