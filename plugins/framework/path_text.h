// Splitting and joining file paths into drive, directory, name and extension.
//
// Paths come from the user, from settings and from the host in the
// drive/directory/name/extension manner of the original platform
// ("C:\data\cube.obj"), and on this platform also with '/' separators
// ("/home/ann/cube.obj"). Both separators are understood everywhere.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace plugins {

// The four parts of a path. Joining them again with PathJoin gives the path.
struct PathParts {
    std::string drive;  // "C:" (with its colon) or empty
    std::string dir;    // "\data\" or "/home/ann/" (with its final separator) or empty
    std::string name;   // "cube" or empty
    std::string ext;    // ".obj" (with its dot) or empty
};

// Splits a path into its parts.
//  - ext: from the last '.' of the file name (the text after the last
//    separator) to the end, dot included; empty when the file name has none.
//  - name: the file name without ext.
//  - dir: everything up to and including the last separator, after the drive.
//  - drive: the text up to and including a ':' that precedes the file name.
// Example: "C:\data\cube.obj" gives "C:", "\data\", "cube", ".obj".
PathParts PathSplit(std::string_view path);

// Joins path parts; any part may be empty.
//  - a drive gets a ':' unless it ends with one;
//  - a directory gets a separator unless it ends with '\' or '/': a '\' when
//    the directory is written with backslashes only, else '/' on this
//    platform;
//  - an extension gets a leading '.' unless it starts with one.
// Example: ("", "\data", "", "") gives "\data\".
std::string PathJoin(std::string_view drive, std::string_view dir, std::string_view name,
                     std::string_view ext);

// True when both names lead to one existing file (the same file however it
// is spelled or linked); false when either cannot be found.
bool SameFile(const char* a, const char* b);

// Size in bytes of an open file, leaving its read position where it was.
// Returns -1 when the file cannot be positioned (a pipe, a read error).
std::int64_t FileSize(std::FILE* file);

}  // namespace plugins
