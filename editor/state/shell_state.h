// The few items of state that the window, the batch run and the core share.
#pragma once

#include <cstdint>

#include "counted_text.h"

namespace tessvane {

// Order of the Details page and the printed list.
inline constexpr std::uint16_t kSortFileOrder = 0;
inline constexpr std::uint16_t kSortByPartName = 1;
inline constexpr std::uint16_t kSortByOldFileName = 2;
inline constexpr std::uint16_t kSortByOldDescription = 3;

struct ShellState {
    // Directory that holds the program (see program_directory.h), with its
    // trailing separator; fixed at start. Never cut: Tessvane.ini and
    // Batch.Log are found through it.
    FullText ProgramDirectory;
    // Directory and name of the current settings file.
    PathText SettingsDirectory;
    NameText SettingsFileName;
    // Working copy of the "Reload After Save" setting, read by Save and Save As.
    bool WorkingReloadAfterSave = true;
    // Batch option "Save in Original Directory"; never stored in the settings file.
    bool SaveInOriginalDirectory = false;
    // Where the Load dialog starts and from where the current object file is read.
    PathText CurrentFileDirectory;
    // Where the texture file dialogs start.
    PathText TextureDialogDirectory;
    // Full path of the object file last loaded, or of the file the batch run handles.
    PathText CurrentFilePath;
    // Its file name without directory; shown in the title and in messages.
    PathText CurrentFileName;
    // kSortFileOrder .. kSortByOldDescription; kept across loads.
    std::uint16_t SortMode = kSortFileOrder;
};

}  // namespace tessvane
