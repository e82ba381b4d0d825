#include "cli_context.h"

#include <filesystem>
#include <system_error>

#include "cli_settings.h"
#include "core/volume_map.h"
#include "state/volumes.h"

namespace tessvane::cli {

bool EncodeArgument(std::string_view utf8, CharacterSet set, std::string_view option,
                    std::string& bytes, std::string& error) {
    EncodeResult encoded = EncodeFromUtf8(utf8, set);
    if (!encoded.ok()) {
        error = "option " + std::string(option) + ": the character set " +
                std::string(CharacterSetName(set)) + " cannot hold " +
                DescribeCodePoint(*encoded.refused);
        return false;
    }
    bytes = std::move(encoded.bytes);
    return true;
}

namespace {

// A directory named on the command line that is none would make every path
// on it missing, or a search find nothing, with no word of the typing error.
bool IsDirectoryArgument(const std::string& directory, std::string_view option,
                         std::string& error) {
    std::error_code ec;
    if (std::filesystem::is_directory(directory, ec)) return true;
    error = "option " + std::string(option) + ": " + directory + " is not a directory";
    return false;
}

}  // namespace

bool PrepareEditor(EditorContext& editor, const ContextOptions& options, std::string& error) {
    if (options.settingsFile != nullptr && *options.settingsFile &&
        !LoadSettingsFile(editor, **options.settingsFile, error))
        return false;
    Settings& settings = editor.settings;
    if (options.charset != nullptr && *options.charset) settings.CharacterSet = **options.charset;

    if (options.volumes != nullptr) {
        for (const VolumeOption& volume : *options.volumes) {
            std::string name;
            if (!EncodeArgument(volume.name, settings.CharacterSet, "--volume", name, error) ||
                !IsDirectoryArgument(volume.directory, "--volume", error))
                return false;
            std::error_code ec;
            const std::filesystem::path absolute = std::filesystem::absolute(volume.directory, ec);
            SetVolume(settings.Volumes, name, ec ? volume.directory : absolute.string());
        }
    }
    if (options.imagineDir != nullptr && *options.imagineDir) {
        const std::string& given = **options.imagineDir;
        // A directory of this machine keeps its bytes; one of the object
        // files' machine is typed in UTF-8 and stored in their set.
        std::string imagine = given;
        if (SplitObjectPath(given).root != ObjectPathParts::Root::Local &&
            !EncodeArgument(given, settings.CharacterSet, "--imagine-dir", imagine, error))
            return false;
        settings.ImagineDirectory = imagine;
    }
    if (options.searchDirs != nullptr) {
        for (const std::string& directory : *options.searchDirs) {
            if (!IsDirectoryArgument(directory, "--search", error)) return false;
        }
    }
    return true;
}

}  // namespace tessvane::cli
