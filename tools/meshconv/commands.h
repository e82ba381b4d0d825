// The meshconv commands. Each takes the arguments after its name and
// returns the program's exit code: 0 success, 1 when the work failed (an
// import that yielded an error, a plug-in that cannot be loaded), 2 for bad
// usage.
#pragma once

#include <string>
#include <vector>

namespace meshconv {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

using Arguments = std::vector<std::string>;

int RunList(const Arguments& args);
int RunImport(const Arguments& args);
int RunConvert(const Arguments& args);
int RunConfigure(const Arguments& args);
int RunHelp(const Arguments& args);

// Prints the program's usage (to stdout for --help, else to stderr).
void PrintUsage(bool toStdout);

// Takes "--plugins DIR" out of args when present and returns the directories
// to search: that one directory, or the default ones. Returns false (after
// printing a message) when the option lacks its value.
bool TakePluginDirectories(Arguments& args, std::vector<std::string>& directories);

// True when args hold --help or -h.
bool WantsHelp(const Arguments& args);

}  // namespace meshconv
