// objread's entry points: the four exports, the class descriptor and the
// importer object the host creates through it.
#include <cstdint>
#include <string>

#include "entry/class_descriptor.h"
#include "entry/current_directory.h"
#include "entry/operations.h"
#include "framework/config_dialog.h"
#include "framework/contract.h"
#include "framework/file_dialog.h"
#include "framework/memory.h"
#include "objread/import_run.h"
#include "objread/import_settings.h"
#include "objread/strings.h"

namespace objread {

namespace {

PluginObject* CreateImporter();

constexpr pluginentry::ClassInfo kClassInfo = {"WaveFront (*.obj)", kPluginKindImport, 0x5B177FF5u};
pluginentry::PluginClassDescription g_descriptor(kClassInfo, CreateImporter);

class ObjImportPlugin final : public ImportPlugin {
  public:
    ObjImportPlugin() : fileName_(StrDup("")) {}

    void Delete() override {
        SafeFree(fileName_);
        DropResult();
        delete this;
    }

    void ShowHelp() override {
        pluginentry::HostCall([] { pluginentry::RunShowHelp(ObjReadStrings()); });
    }

    void Configure() override {
        pluginentry::HostCall([] { ConfigureSettings(); });
    }

    ObjectList* ImportFile(const char* path) override {
        return pluginentry::HostCall([&] { return ImportGivenFile(path); });
    }

    ObjectList* Import() override {
        return pluginentry::HostCall([&] { return ImportChosenFile(); });
    }

    const char* LastFileName() override { return fileName_; }

  private:
    ~ObjImportPlugin() = default;

    static void ConfigureSettings() {
        pluginentry::RunConfigure<ImportSettings>(
            ObjReadStrings(), AddImportFields,
            [](const ImportSettings& s, ConfigMembers& m) {
                int verbose = 0, swap = 0, unify = 0, objMode = 0;
                s.GetOptions(verbose, swap, unify, m.size_value, m.logfilename, objMode);
                m.verbose = static_cast<std::int16_t>(verbose);
                m.swap = static_cast<std::int16_t>(swap);
                m.unify = static_cast<std::int16_t>(unify);
                m.obj_mode = static_cast<std::int16_t>(objMode);
                if (m.logfilename.size() > kConfigLogFileNameChars) {
                    m.logfilename.resize(kConfigLogFileNameChars);
                }
            },
            [](ImportSettings& s, const ConfigMembers& m) {
                s.SetOptions(m.verbose, m.swap, m.unify, m.size_value, m.logfilename.c_str(),
                             m.obj_mode);
            });
    }

    ObjectList* ImportGivenFile(const char* path) {
        const std::string given = path != nullptr ? path : "";
        pluginentry::CurrentDirectoryGuard directory;
        ImportSettings settings;
        NewResult();
        // Taken before the directory changes, so that a relative path still
        // names the file the caller meant.
        settings.SetFileName(pluginentry::AbsolutePath(given).c_str());
        settings.SetPath(pluginentry::EnterDirectoryOf(given).c_str());
        ReplaceFileName(given.c_str());
        Run(settings);
        return result_;
    }

    ObjectList* ImportChosenFile() {
        pluginentry::CurrentDirectoryGuard directory;
        ImportSettings settings;
        NewResult();
        FileDialog dialog(true, nullptr, settings.file_name.c_str(),
                          kOfnHideReadOnly | kOfnOverwritePrompt, settings.filter);
        dialog.initial_dir = settings.path;
        if (dialog.DoModal() == kIdOk) {
            settings.SetFileName(dialog.GetPathName().c_str());
            settings.SetPath(pluginentry::CurrentDirectory().c_str());
            ReplaceFileName(dialog.GetFileName().c_str());
            Run(settings);
        }
        return result_;
    }

    void Run(const ImportSettings& settings) {
        pluginentry::ProgressSession progress(ObjReadStrings(), true);
        ImportRun(*result_, settings, progress.Callbacks());
    }

    // The meshes of an earlier import end when the next one starts.
    void NewResult() {
        DropResult();
        result_ = new ObjectList(ReleaseMeshObject);
    }

    void DropResult() {
        delete result_;  // releases its meshes
        result_ = nullptr;
    }

    void ReplaceFileName(const char* text) {
        char* copy = StrDup(text);
        SafeFree(fileName_);
        fileName_ = copy;
    }

    ObjectList* result_ = nullptr;
    char* fileName_;
};

PluginObject* CreateImporter() {
    return new ObjImportPlugin();
}

}  // namespace

}  // namespace objread

PLUGIN_ENTRY_POINTS("WAV Import Lib", objread::g_descriptor)
