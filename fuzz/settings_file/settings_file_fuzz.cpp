// The settings file: any text is read; what was read is written and read
// again, which must give the same settings and lists, and writing that gives
// the same text.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "state/editor_state.h"
#include "state/settings_file.h"
#include "support/scratch.h"

using namespace tessvane;
using fuzzsupport::Require;

namespace {

bool SameSettings(const Settings& a, const Settings& b) {
    return a.Computer == b.Computer && a.ValidateDirectory == b.ValidateDirectory &&
           a.ValidateFiles == b.ValidateFiles && a.ReloadAfterSave == b.ReloadAfterSave &&
           a.UseDefaultDirectories == b.UseDefaultDirectories &&
           a.UseShortDirectory == b.UseShortDirectory &&
           a.UseDefaultTextures == b.UseDefaultTextures &&
           a.UpdateTextureDescriptions == b.UpdateTextureDescriptions &&
           a.SaveSettings == b.SaveSettings && a.GenerateLog == b.GenerateLog &&
           a.CreateBackups == b.CreateBackups &&
           a.BatchUseDefaultDirectories == b.BatchUseDefaultDirectories &&
           a.BatchUseDefaultTextures == b.BatchUseDefaultTextures &&
           a.BatchUpdateFileSuffix == b.BatchUpdateFileSuffix &&
           a.PromptForNewTexturesDirectory == b.PromptForNewTexturesDirectory &&
           a.PromptIfDirectoryExists == b.PromptIfDirectoryExists &&
           a.TextureSuffixSelection == b.TextureSuffixSelection &&
           a.BrushSuffixSelection == b.BrushSuffixSelection && a.TextureSuffix == b.TextureSuffix &&
           a.BrushSuffix == b.BrushSuffix && a.ImagineDirectory == b.ImagineDirectory &&
           a.LoadDirectory == b.LoadDirectory && a.SaveDirectory == b.SaveDirectory;
}

bool SameLists(const EditorContext& a, const EditorContext& b) {
    const auto& d1 = a.directoryDefaults.Entries();
    const auto& d2 = b.directoryDefaults.Entries();
    if (d1.size() != d2.size()) return false;
    for (std::size_t i = 0; i < d1.size(); ++i) {
        if (!(d1[i].OldDirectory == d2[i].OldDirectory) ||
            !(d1[i].NewDirectory == d2[i].NewDirectory))
            return false;
    }
    const auto& t1 = a.textureDefaults.Entries();
    const auto& t2 = b.textureDefaults.Entries();
    if (t1.size() != t2.size()) return false;
    for (std::size_t i = 0; i < t1.size(); ++i) {
        if (!(t1[i].OldTexture == t2[i].OldTexture) || !(t1[i].NewTexture == t2[i].NewTexture) ||
            !(t1[i].Description == t2[i].Description)) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto dir = fuzzsupport::ScratchDirectory();
    const std::string input = (dir / "input.ini").string();
    const std::string output = (dir / "output.ini").string();
    fuzzsupport::WriteFile(input, data, size);

    EditorContext first = MakeEditorContext("/program/");
    if (ReadSettings(first, input) != SettingsReadStatus::Read) return 0;

    const std::string text = SettingsFileText(first);
    fuzzsupport::WriteFile(output, text.data(), text.size());
    EditorContext second = MakeEditorContext("/program/");
    Require(ReadSettings(second, output) == SettingsReadStatus::Read,
            "a written settings file reads");
    if (!SameSettings(first.settings, second.settings) || !SameLists(first, second)) {
        const std::string again = SettingsFileText(second);
        std::fprintf(stderr, "written:\n%s\nread back:\n%s\n", text.c_str(), again.c_str());
    }
    Require(SameSettings(first.settings, second.settings),
            "the same settings after writing and reading");
    Require(SameLists(first, second), "the same lists after writing and reading");
    Require(SettingsFileText(second) == text, "writing again gives the same text");
    return 0;
}
