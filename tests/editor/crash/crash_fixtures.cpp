#include "crash_fixtures.h"

#include <filesystem>
#include <fstream>

#include "state/settings_file.h"

namespace crashfixtures {

using tessvane::EditorContext;
using tessvane::MakeEditorContext;
using tessvane::testing::Bytes;
using tessvane::testing::IffBuilder;
namespace chunks = tessvane::testing::chunks;

namespace {

void PutText(const std::string& path, const std::string& text) {
    tessvane::testing::WriteFileBytes(path, Bytes(text.begin(), text.end()));
}

EditorContext OldSettings(const std::string& dir) {
    EditorContext editor = MakeEditorContext(dir);
    editor.directoryDefaults.Append({"C:\\OLD", "D:\\OLD"});
    return editor;
}

}  // namespace

Bytes ObjectFileBytes(int i) {
    const std::string n = std::to_string(i);
    return IffBuilder("TDDD")
        .Begin("OBJ ")
        .Begin("DESC")
        .Chunk("NAME", chunks::Name("PART" + n))
        .Chunk("TXT1", chunks::Txt1("C:\\TEX\\wood" + n + ".iff"))
        .Chunk("TXT4", chunks::Txt4("LID", "Oak", "C:\\TEX\\oak" + n + ".itx"))
        .Chunk("BRS1", chunks::Brs1("C:\\TEX\\stone" + n + ".iff"))
        .End()
        .Chunk("TOBJ", {})
        .End()
        .Build();
}

void PutFixtures(const std::string& dir) {
    for (std::size_t i = 0; i < kBatchFiles.size(); ++i) {
        tessvane::testing::WriteFileBytes(dir + kBatchFiles[i],
                                          ObjectFileBytes(static_cast<int>(i)));
    }
    tessvane::testing::WriteFileBytes(dir + kSaveFile, ObjectFileBytes(9));
    PutText(dir + kSettingsFile, OldSettingsText(dir));

    const std::filesystem::path store =
        std::filesystem::path(dir) / "Orrin Software" / kStorePlugin;
    std::filesystem::create_directories(store);
    std::string values = "# class: Converter\n";
    for (const StoreValue& v : kStoreChanges)
        values += std::string(v.name) + "=" + v.oldValue + "\n";
    values += std::string(kStoreKept.name) + "=" + kStoreKept.oldValue + "\n";
    PutText((store / "Common Settings").string(), values);
}

void UseBatchSettings(EditorContext& editor) {
    editor.settings.CreateBackups = true;
    editor.settings.GenerateLog = true;
    editor.settings.BatchUseDefaultDirectories = true;
    editor.shell.SaveInOriginalDirectory = true;
    editor.directoryDefaults.Append({"C:\\TEX", kNewDirectory});
}

void ChangeSettings(EditorContext& editor) {
    editor.settings.SaveSettings = true;
    editor.settings.ImagineDirectory = "/srv/imagine/a/much/longer/directory";
    for (int i = 0; i < 50; ++i) {
        editor.directoryDefaults.Append(
            {"C:\\OLD" + std::to_string(i), "D:\\NEW" + std::to_string(i)});
    }
}

std::string OldSettingsText(const std::string& dir) {
    return tessvane::SettingsFileText(OldSettings(dir));
}

std::string NewSettingsText(const std::string& dir) {
    EditorContext editor = OldSettings(dir);
    ChangeSettings(editor);
    return tessvane::SettingsFileText(editor);
}

}  // namespace crashfixtures
