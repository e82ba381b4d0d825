// The importer object of a plug-in: what the host creates through the class
// descriptor and drives through its slots. Importers differ only in their
// settings, their run and their string table.
#pragma once

#include <string>

#include "entry/current_directory.h"
#include "entry/operations.h"
#include "framework/contract.h"
#include "framework/file_dialog.h"
#include "framework/memory.h"
#include "framework/plugin_strings.h"

namespace plugins::entry {

// What an importer plug-in supplies. Settings loads its sections when
// constructed and saves them when destroyed; it has path and file_name
// (texts), filter (the open dialog's filter text) and SetFileName/SetPath.
template <class Settings>
struct ImporterParts {
    const PluginStrings& strings;
    // Imports settings.file_name into result with the progress dialog's
    // callbacks.
    bool (*run)(ObjectList& result, const Settings& settings, const ProgressCallbacks* callbacks);
    // The plug-in's Configure.
    void (*configure)();
};

// Owned by the host from CreateInstance until Delete(), which destroys it
// together with the meshes of its last import.
template <class Settings>
class ImporterObject : public ImportPlugin {
  public:
    explicit ImporterObject(const ImporterParts<Settings>& parts)
        : parts_(parts), fileName_(StrDup("")) {}

    void Delete() override {
        SafeFree(fileName_);
        DropResult();
        delete this;
    }

    void ShowHelp() override {
        HostCall([this] { RunShowHelp(parts_.strings); });
    }

    void Configure() override { HostCall(parts_.configure); }

    ObjectList* ImportFile(const char* path) override {
        return HostCall([&] { return ImportGivenFile(path); });
    }

    ObjectList* Import() override {
        return HostCall([&] { return ImportChosenFile(); });
    }

    const char* LastFileName() override { return fileName_; }

  protected:
    virtual ~ImporterObject() = default;

  private:
    ObjectList* ImportGivenFile(const char* path) {
        const std::string given = path != nullptr ? path : "";
        CurrentDirectoryGuard directory;
        Settings settings;
        NewResult();
        // Taken before the directory changes, so that a relative path still
        // names the file the caller meant.
        settings.SetFileName(AbsolutePath(given).c_str());
        settings.SetPath(EnterDirectoryOf(given).c_str());
        ReplaceFileName(given.c_str());
        Run(settings);
        return result_;
    }

    ObjectList* ImportChosenFile() {
        CurrentDirectoryGuard directory;
        Settings settings;
        NewResult();
        FileDialog dialog(true, nullptr, settings.file_name.c_str(),
                          kOfnHideReadOnly | kOfnOverwritePrompt, settings.filter);
        dialog.initialDir = settings.path;
        if (dialog.DoModal() == kIdOk) {
            settings.SetFileName(dialog.GetPathName().c_str());
            settings.SetPath(CurrentDirectory().c_str());
            ReplaceFileName(dialog.GetFileName().c_str());
            Run(settings);
        }
        return result_;
    }

    void Run(const Settings& settings) {
        ProgressSession progress(parts_.strings, true);
        parts_.run(*result_, settings, progress.Callbacks());
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

    const ImporterParts<Settings>& parts_;
    ObjectList* result_ = nullptr;
    char* fileName_;
};

}  // namespace plugins::entry
