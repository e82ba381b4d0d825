// The editor's options. Each member is named after its key in the settings
// file ("Use Short Directory" -> UseShortDirectory, "(Batch) Use Default
// Textures" -> BatchUseDefaultTextures); the comment gives the key exactly.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "character_set.h"
#include "counted_text.h"
#include "volumes.h"

namespace tessvane {

enum class ComputerType : std::uint8_t { PC, Amiga };

// Texture Suffix Selection values.
inline constexpr std::uint16_t kTextureSuffixAsIs = 0;
inline constexpr std::uint16_t kTextureSuffixAsSpecified = 1;
inline constexpr std::uint16_t kTextureSuffixDll = 2;
inline constexpr std::uint16_t kTextureSuffixItx = 3;

// Brush Suffix Selection values 0 and 1; 2..12 are the words of kBrushSuffixWords.
inline constexpr std::uint16_t kBrushSuffixAsIs = 0;
inline constexpr std::uint16_t kBrushSuffixAsSpecified = 1;

// The words of the two selections, indexed by the selection value, as the
// Options page lists them and the settings file writes them.
inline constexpr std::array<std::string_view, 4> kTextureSuffixWords = {"as is", "as specified",
                                                                        "dll", "itx"};
inline constexpr std::array<std::string_view, 13> kBrushSuffixWords = {
    "as is", "as specified", "avi", "bmp", "cmp", "eps", "iff",
    "jpg",   "lbm",          "pcx", "tga", "tif", "wmf"};

struct Settings {
    ComputerType Computer = ComputerType::PC;    // Computer
    bool ValidateDirectory = false;              // Validate Directory
    bool ValidateFiles = false;                  // Validate Files
    bool ReloadAfterSave = true;                 // Reload After Save
    bool UseDefaultDirectories = false;          // Use Default Directories ("Set on Load")
    bool UseShortDirectory = false;              // Use Short Directory
    bool UseDefaultTextures = false;             // Use Default Textures ("Set on Load")
    bool UpdateTextureDescriptions = true;       // Update Texture Descriptions
    bool SaveSettings = false;                   // Save Settings
    bool GenerateLog = false;                    // Generate Log
    bool CreateBackups = true;                   // Create Backups
    bool BatchUseDefaultDirectories = false;     // (Batch) Use Default Directories
    bool BatchUseDefaultTextures = false;        // (Batch) Use Default Textures
    bool BatchUpdateFileSuffix = false;          // (Batch) Update File Suffix
    bool PromptForNewTexturesDirectory = false;  // Prompt for new Textures/Directory
    bool PromptIfDirectoryExists = false;        // Prompt if Directory Exists
    std::uint16_t TextureSuffixSelection = kTextureSuffixAsIs;  // Texture Suffix Selection, 0..3
    std::uint16_t BrushSuffixSelection = kBrushSuffixAsIs;      // Brush Suffix Selection, 0..12
    SuffixText TextureSuffix = "itx";                           // Texture Suffix
    SuffixText BrushSuffix;                                     // Brush Suffix
    PathText ImagineDirectory;  // Imagine Directory (default: ProgramDirectory)
    PathText LoadDirectory;     // Load Directory (default: ProgramDirectory)
    PathText SaveDirectory;     // Save Directory (default: ProgramDirectory)
    // Character Set: how the bytes of texts in object files, in this file's
    // lists and in the lists' entries are read and typed.
    tessvane::CharacterSet CharacterSet = tessvane::CharacterSet::Iso8859_1;
    // The "[Volumes]" section: where the other machine's drives, volumes and
    // assigns lie on this one.
    VolumeList Volumes;
};

// Every setting at its default; the three directories default to the program
// directory.
Settings DefaultSettings(std::string_view programDirectory);

}  // namespace tessvane
