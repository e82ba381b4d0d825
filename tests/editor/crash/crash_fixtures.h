// The files the crash and full-disk tests start from, shared by the helper
// program that is killed and the tests that inspect what it left.
#pragma once

#include <array>
#include <string>

#include "iff_builder.h"
#include "state/editor_state.h"

namespace crashfixtures {

inline constexpr std::array<const char*, 4> kBatchFiles = {"a0.iob", "a1.iob", "a2.iob", "a3.iob"};
inline constexpr const char* kSaveFile = "w.iob";
inline constexpr const char* kSettingsFile = "Tessvane.ini";
// Longer than the directory it replaces, so every saved file differs from
// its original.
inline constexpr const char* kNewDirectory = "D:\\NEW\\TEXTURES\\DIRECTORY";

inline constexpr const char* kStorePlugin = "crashtest";
struct StoreValue {
    const char* name;
    const char* oldValue;
    const char* newValue;
};
inline constexpr std::array<StoreValue, 3> kStoreChanges = {{
    {"swap_mode", "0", "3"},
    {"logfilename", "old.log", "a much longer log file name.log"},
    {"size_value", "1.000000", "2.500000"},
}};
// A value that no write touches.
inline constexpr StoreValue kStoreKept = {"keep_me", "kept", "kept"};

// The object file numbered i: textures and brushes under C:\TEX.
tessvane::testing::Bytes ObjectFileBytes(int i);

// Puts every starting file into `dir` (with its trailing '/'): the batch
// files, the file to save, the settings file and the store's key file.
void PutFixtures(const std::string& dir);

// Backups and a log on, files saved where they are, the directory list
// applied: C:\TEX becomes kNewDirectory.
void UseBatchSettings(tessvane::EditorContext& editor);

// The change the settings operation makes before writing.
void ChangeSettings(tessvane::EditorContext& editor);

// The settings file as PutFixtures writes it, and as the settings operation
// writes it afterwards.
std::string OldSettingsText(const std::string& dir);
std::string NewSettingsText(const std::string& dir);

}  // namespace crashfixtures
