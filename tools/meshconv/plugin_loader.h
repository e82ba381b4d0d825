// Finding and loading converter plug-ins, the way any host does: dlopen the
// library, look up its four exports by name, and ask for its descriptor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/contract.h"

namespace meshconv {

// The names of the host contract that meshconv speaks.
using plugins::ClassDescription;
using plugins::ExportPlugin;
using plugins::ImportPlugin;
using plugins::kObjectTypeMesh;
using plugins::kPluginKindExport;
using plugins::kPluginKindImport;
using plugins::LibClassDescriptionFunction;
using plugins::LibNameFunction;
using plugins::LibNumberClassesFunction;
using plugins::LibVersionFunction;
using plugins::Mesh3d;
using plugins::ObjectList;
using plugins::ObjectListNode;
using plugins::PluginObject;

// One loaded plug-in library. The library stays loaded while the object
// lives; objects created through its descriptor must be deleted first.
class LoadedPlugin {
  public:
    LoadedPlugin() = default;
    ~LoadedPlugin();
    LoadedPlugin(LoadedPlugin&& other) noexcept;
    LoadedPlugin& operator=(LoadedPlugin&& other) noexcept;
    LoadedPlugin(const LoadedPlugin&) = delete;
    LoadedPlugin& operator=(const LoadedPlugin&) = delete;

    // Loads the library at path. Returns false, with a message in error,
    // when it cannot be loaded, lacks one of the four exports or offers no
    // descriptor.
    bool Load(const std::string& path, std::string& error);

    const std::string& Path() const { return path_; }
    // The library's file name without directory and extension ("objread");
    // it is also the name of the plug-in's settings key.
    const std::string& Name() const { return name_; }
    const char* LibName() const { return libName_(); }
    int LibVersion() const { return libVersion_(); }
    int NumberClasses() const { return numberClasses_(); }
    ClassDescription* Descriptor() const { return descriptor_; }

  private:
    void Unload();

    void* handle_ = nullptr;
    std::string path_;
    std::string name_;
    LibNameFunction libName_ = nullptr;
    LibVersionFunction libVersion_ = nullptr;
    LibNumberClassesFunction numberClasses_ = nullptr;
    ClassDescription* descriptor_ = nullptr;
};

// The directories searched for plug-ins when none is given. An installed
// meshconv (<prefix>/bin beside <prefix>/lib/<multiarch>/meshconv, as the build
// was configured: PluginDirectoryFromPrograms) searches that directory only.
// Otherwise the program's own directory and, in a build tree, every folder
// under <build>/plugins.
std::vector<std::string> DefaultPluginDirectories();

// The installed plug-in directory relative to the directory of the programs
// ("../lib/x86_64-linux-gnu/meshconv").
const char* PluginDirectoryFromPrograms();

// meshconv's version ("2.2.1").
const char* Version();

// Every plug-in library (*.so that loads and has the four exports) in the
// directories, in directory order and then by file name; a name found twice
// is taken from the first directory only. Libraries that fail to load are
// skipped; when problems is given, a message for each is added to it.
std::vector<LoadedPlugin> FindPlugins(const std::vector<std::string>& directories,
                                      std::vector<std::string>* problems = nullptr);

// The plug-in named by nameOrPath: a path to a library (when it holds a '/'),
// else the library name ("objread") searched in directories. Returns false,
// with a message in error, when there is none.
bool LoadNamedPlugin(const std::string& nameOrPath, const std::vector<std::string>& directories,
                     LoadedPlugin& plugin, std::string& error);

}  // namespace meshconv
