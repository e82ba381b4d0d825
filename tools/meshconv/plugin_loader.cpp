#include "plugin_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <system_error>

namespace meshconv {

namespace fs = std::filesystem;

LoadedPlugin::~LoadedPlugin() {
    Unload();
}

LoadedPlugin::LoadedPlugin(LoadedPlugin&& other) noexcept {
    *this = std::move(other);
}

LoadedPlugin& LoadedPlugin::operator=(LoadedPlugin&& other) noexcept {
    if (this != &other) {
        Unload();
        handle_ = other.handle_;
        path_ = std::move(other.path_);
        name_ = std::move(other.name_);
        libName_ = other.libName_;
        libVersion_ = other.libVersion_;
        numberClasses_ = other.numberClasses_;
        descriptor_ = other.descriptor_;
        other.handle_ = nullptr;
        other.descriptor_ = nullptr;
    }
    return *this;
}

void LoadedPlugin::Unload() {
    if (handle_ != nullptr) {
        dlclose(handle_);
        handle_ = nullptr;
    }
    descriptor_ = nullptr;
}

bool LoadedPlugin::Load(const std::string& path, std::string& error) {
    Unload();
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* why = dlerror();
        error = why != nullptr ? why : ("cannot load " + path);
        return false;
    }
    auto libName = reinterpret_cast<LibNameFunction>(dlsym(handle, "LibName"));
    auto numberClasses =
        reinterpret_cast<LibNumberClassesFunction>(dlsym(handle, "LibNumberClasses"));
    auto classDescription =
        reinterpret_cast<LibClassDescriptionFunction>(dlsym(handle, "LibClassDescription"));
    auto libVersion = reinterpret_cast<LibVersionFunction>(dlsym(handle, "LibVersion"));
    if (libName == nullptr || numberClasses == nullptr || classDescription == nullptr ||
        libVersion == nullptr) {
        dlclose(handle);
        error = path + ": not a converter plug-in (an entry point is missing)";
        return false;
    }
    ClassDescription* descriptor = numberClasses() >= 1 ? classDescription(0) : nullptr;
    if (descriptor == nullptr) {
        dlclose(handle);
        error = path + ": the plug-in offers no class";
        return false;
    }
    handle_ = handle;
    path_ = path;
    name_ = fs::path(path).stem().string();
    libName_ = libName;
    libVersion_ = libVersion;
    numberClasses_ = numberClasses;
    descriptor_ = descriptor;
    return true;
}

const char* PluginDirectoryFromPrograms() {
    return MESHCONV_PLUGINS_FROM_BINDIR;
}

const char* Version() {
    return MESHCONV_VERSION;
}

std::vector<std::string> DefaultPluginDirectories() {
    std::vector<std::string> dirs;
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) {
        return dirs;
    }
    const fs::path here = exe.parent_path();
    // Installed: <prefix>/bin/meshconv and <prefix>/lib[/<multiarch>]/meshconv/,
    // and nothing else: the program's own directory is /usr/bin or the like,
    // whose libraries (ld.so) are no plug-ins and must not be loaded.
    const fs::path installed = (here / MESHCONV_PLUGINS_FROM_BINDIR).lexically_normal();
    if (fs::is_directory(installed, ec)) {
        dirs.push_back(installed.string());
        return dirs;
    }
    dirs.push_back(here.string());
    // Build tree: <build>/tools/meshconv/meshconv next to <build>/plugins/<name>/.
    const fs::path buildPlugins = here.parent_path().parent_path() / "plugins";
    if (fs::is_directory(buildPlugins, ec)) {
        std::vector<std::string> sub;
        for (const auto& entry : fs::directory_iterator(buildPlugins, ec)) {
            if (entry.is_directory(ec)) {
                sub.push_back(entry.path().string());
            }
        }
        std::sort(sub.begin(), sub.end());
        dirs.insert(dirs.end(), sub.begin(), sub.end());
    }
    return dirs;
}

namespace {

std::vector<fs::path> LibrariesIn(const std::string& directory) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(directory, ec)) {
        if (entry.path().extension() == ".so" && entry.is_regular_file(ec)) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

std::vector<LoadedPlugin> FindPlugins(const std::vector<std::string>& directories,
                                      std::vector<std::string>* problems) {
    std::vector<LoadedPlugin> plugins;
    std::set<std::string> names;
    for (const std::string& dir : directories) {
        for (const fs::path& library : LibrariesIn(dir)) {
            if (names.count(library.stem().string()) != 0) {
                continue;
            }
            LoadedPlugin plugin;
            std::string error;
            if (plugin.Load(library.string(), error)) {
                names.insert(plugin.Name());
                plugins.push_back(std::move(plugin));
            } else if (problems != nullptr) {
                problems->push_back(error);
            }
        }
    }
    return plugins;
}

bool LoadNamedPlugin(const std::string& nameOrPath, const std::vector<std::string>& directories,
                     LoadedPlugin& plugin, std::string& error) {
    if (nameOrPath.find('/') != std::string::npos) {
        return plugin.Load(nameOrPath, error);
    }
    std::error_code ec;
    for (const std::string& dir : directories) {
        const fs::path candidate = fs::path(dir) / (nameOrPath + ".so");
        if (fs::is_regular_file(candidate, ec)) {
            return plugin.Load(candidate.string(), error);
        }
    }
    error = "no plug-in named '" + nameOrPath + "' (try 'meshconv list')";
    return false;
}

}  // namespace meshconv
