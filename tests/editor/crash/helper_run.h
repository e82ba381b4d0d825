// Runs tessvane_crash_helper over a fresh copy of the crash fixtures and
// reads back what it left.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "crash_fixtures.h"
#include "iff_builder.h"

namespace crashtest {

struct HelperRun {
    bool killed = false;             // ended by SIGKILL
    int exitCode = -1;               // when it exited
    std::vector<std::string> lines;  // its standard output

    // The N of the "steps N" line, or -1.
    long Steps() const;
    bool Printed(const std::string& line) const;
};

HelperRun RunHelper(const std::string& operation, const std::string& dir, const std::string& mode,
                    long step);

// Every regular file of `dir` by name, with its bytes.
std::map<std::string, tessvane::testing::Bytes> Files(const std::string& dir);

// At least a FORM header, and the FORM size matches the file's length.
bool IsCompleteForm(const tessvane::testing::Bytes& bytes);

// The values of the store's key file written by PutFixtures, by name; lines
// are "name=value" without escapes.
std::map<std::string, std::string> StoreValues(const std::string& dir);

// Names in `dir` that start with '.': temporary files left by a write.
std::vector<std::string> TemporaryFiles(const std::string& dir);

}  // namespace crashtest
