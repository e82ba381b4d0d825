// Runs the built tessvane-cli as a child process and collects what it printed.
#pragma once

#include <string>
#include <vector>

namespace tessvane::testing {

struct CliResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Runs tessvane-cli with `args` in the directory `workDir`. Standard input,
// output and error are not terminals, except standard error with
// `stderrIsTerminal` (a pseudo-terminal whose output lands in `err`).
CliResult RunCli(const std::vector<std::string>& args, const std::string& workDir,
                 bool stderrIsTerminal = false);

// The built program, for a test that runs a copy of it elsewhere.
std::string CliProgram();

// RunCli with the program at `program` instead of the built one.
CliResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::string& workDir, bool stderrIsTerminal = false);

}  // namespace tessvane::testing
