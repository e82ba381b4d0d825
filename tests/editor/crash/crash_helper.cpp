// The save paths of the editor and the plug-ins' settings store, run once in
// a process of their own with a fault injected at a chosen file-system call.
//
//   tessvane_crash_helper <operation> <directory> <kill|nospace|count> <step>
//
// Operations, over the files that crash_fixtures.h puts in <directory>:
//   batch     the batch run over every object file (the first one twice),
//             saving into their own directory with backups and a log;
//   save      Save of the window: read w.iob, give every record a new
//             directory, back the file up and write it;
//   settings  read Tessvane.ini, change it and write it back;
//   store     three values written to the plug-ins' settings store, whose
//             root ($XDG_CONFIG_HOME) is <directory>.
// What the operation reports goes to standard output, one item a line, then
// "steps N": the number of file-system calls it made.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/backup.h"
#include "core/batch.h"
#include "core/scanner.h"
#include "core/writer.h"
#include "crash_fixtures.h"
#include "fault_injection.h"
#include "framework/settings_store.h"
#include "scripted_core_ui.h"
#include "state/settings_file.h"

namespace fs = std::filesystem;
using namespace tessvane;

namespace {

class FixedClock final : public BatchClock {
  public:
    std::string LongTime() const override { return "12:00:00"; }
    std::string ShortDate() const override { return "01/01/2026"; }
};

void PrintMessages(const testing::ScriptedCoreUi& ui) {
    for (const std::string& text : ui.Texts()) std::printf("message %s\n", text.c_str());
}

CoreContext MakeContext(const std::string& dir, testing::ScriptedCoreUi& ui) {
    CoreContext context{MakeEditorContext(dir), {}, &ui, nullptr};
    return context;
}

void RunBatchOperation(const std::string& dir) {
    testing::ScriptedCoreUi ui;
    CoreContext context = MakeContext(dir, ui);
    crashfixtures::UseBatchSettings(context.editor);
    BatchList list;
    std::vector<std::string> paths;
    for (const char* name : crashfixtures::kBatchFiles) paths.push_back(dir + name);
    paths.push_back(dir + crashfixtures::kBatchFiles[0]);
    list.AddSelection(paths, context.editor.shell);

    FixedClock clock;
    for (const BatchFileResult& r : RunBatch(context, list, BatchRunOptions{}, clock)) {
        std::printf("%s\n", BatchResultLine(r.path, r.status).c_str());
    }
    PrintMessages(ui);
}

void RunSaveOperation(const std::string& dir) {
    testing::ScriptedCoreUi ui;
    CoreContext context = MakeContext(dir, ui);
    const std::string path = dir + crashfixtures::kSaveFile;
    context.editor.shell.CurrentFilePath = path;
    context.editor.shell.CurrentFileName = crashfixtures::kSaveFile;
    if (ReadObjectFile(context, path, true) != ReadStatus::Ok) std::abort();
    for (PathRecord& r : context.file.Paths.Records) r.NewDirectory = crashfixtures::kNewDirectory;
    std::printf("status %d\n", static_cast<int>(SaveObjectFile(context, path, true)));
    PrintMessages(ui);
}

void RunSettingsOperation(const std::string& dir) {
    EditorContext editor = MakeEditorContext(dir);
    const std::string path = dir + crashfixtures::kSettingsFile;
    if (ReadSettings(editor, path) != SettingsReadStatus::Read) std::abort();
    crashfixtures::ChangeSettings(editor);
    std::printf("written %d\n", WriteSettings(editor, path) ? 1 : 0);
}

void RunStoreOperation() {
    for (const crashfixtures::StoreValue& v : crashfixtures::kStoreChanges) {
        std::printf("written %d\n",
                    plugins::WriteSettingText(crashfixtures::kStorePlugin, plugins::kCommonSettings,
                                              v.name, v.newValue));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr,
                     "usage: tessvane_crash_helper <batch|save|settings|store> <dir> "
                     "<kill|nospace|count> <step>\n");
        return 2;
    }
    const std::string operation = argv[1];
    std::string dir = argv[2];
    if (dir.back() != '/') dir += '/';
    const std::string mode = argv[3];
    const crashtest::Fault fault = mode == "kill"      ? crashtest::Fault::Kill
                                   : mode == "nospace" ? crashtest::Fault::NoSpace
                                                       : crashtest::Fault::None;
    const long step = std::strtol(argv[4], nullptr, 10);
    setenv("XDG_CONFIG_HOME", dir.c_str(), 1);
    setenv("HOME", dir.c_str(), 1);

    crashtest::Arm(fault, step);
    if (operation == "batch") {
        RunBatchOperation(dir);
    } else if (operation == "save") {
        RunSaveOperation(dir);
    } else if (operation == "settings") {
        RunSettingsOperation(dir);
    } else if (operation == "store") {
        RunStoreOperation();
    } else {
        return 2;
    }
    std::printf("steps %ld\n", crashtest::Disarm());
    return 0;
}
