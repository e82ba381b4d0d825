// Where the editor keeps Tessvane.ini and Batch.Log.
//
// Portable use first: the executable's own directory when it is writable, as on
// Windows, unless the program is installed (see InstalledDataDirectory): an
// installed tree belongs to its package or installer, also for root, who may
// write to it. Otherwise the per-user directory $XDG_CONFIG_HOME/Tessvane/ (or
// $HOME/.config/Tessvane/ when XDG_CONFIG_HOME is unset or empty), created on
// first use.
#pragma once

#include <filesystem>
#include <string>

namespace tessvane {

// The directory of the running executable; empty when it cannot be told.
std::filesystem::path ExecutableDirectory();

// The installed data directory (<prefix>/share/tessvane, which holds the help)
// of a program in `executableDirectory` (<prefix>/bin), or empty when there is
// none: the program runs from a build tree or was copied somewhere alone.
std::filesystem::path InstalledDataDirectory(const std::filesystem::path& executableDirectory);

// The program's version ("2.2.1").
const char* ProgramVersion();

// The program directory for an executable in `executableDirectory`, with a
// trailing '/'. Creates the per-user directory when it is needed and missing;
// if even that fails, the per-user path is returned all the same (later file
// operations then report their own failures).
std::string ProgramDirectoryFor(const std::filesystem::path& executableDirectory);

// ProgramDirectoryFor(directory of the running executable).
std::string ProgramDirectory();

// The per-user directory alone, with a trailing '/', not created.
std::string UserConfigDirectory();

// Where a batch run writes Batch.Log: `programDirectory` while it is a
// directory this process may write to, otherwise `settingsDirectory`, where
// the settings file in use lives. Both are given with a trailing separator and
// the one chosen is returned as given.
std::string BatchLogDirectory(const std::string& programDirectory,
                              const std::string& settingsDirectory);

}  // namespace tessvane
