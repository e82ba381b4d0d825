#include "framework/path_text.h"

#include <sys/stat.h>

namespace plugins {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

}  // namespace

PathParts PathSplit(std::string_view path) {
    PathParts parts;

    const std::size_t last_sep = path.find_last_of("\\/");
    const std::size_t name_start = last_sep == std::string_view::npos ? 0 : last_sep + 1;

    // Only a dot in the file name starts an extension; a dot in a directory
    // name ("../models/cube", "my.dir\cube") is part of the directory.
    std::string_view rest = path;
    const std::size_t dot = path.rfind('.');
    if (dot != std::string_view::npos && dot >= name_start) {
        parts.ext = path.substr(dot);
        rest = path.substr(0, dot);
    }

    if (last_sep != std::string_view::npos) {
        parts.name = rest.substr(name_start);
        const std::string_view head = rest.substr(0, name_start);
        const std::size_t colon = head.rfind(':');
        if (colon != std::string_view::npos) {
            parts.drive = head.substr(0, colon + 1);
            parts.dir = head.substr(colon + 1);
        } else {
            parts.dir = head;
        }
    } else {
        const std::size_t colon = rest.rfind(':');
        if (colon != std::string_view::npos) {
            parts.drive = rest.substr(0, colon + 1);
            parts.name = rest.substr(colon + 1);
        } else {
            parts.name = rest;
        }
    }
    return parts;
}

std::string PathJoin(std::string_view drive, std::string_view dir, std::string_view name,
                     std::string_view ext) {
    std::string out;
    if (!drive.empty()) {
        out += drive;
        if (drive.back() != ':') {
            out += ':';
        }
    }
    if (!dir.empty()) {
        out += dir;
        if (!IsSeparator(dir.back())) {
            const bool backslashes_only =
                dir.find('\\') != std::string_view::npos && dir.find('/') == std::string_view::npos;
            out += backslashes_only ? '\\' : '/';
        }
    }
    out += name;
    if (!ext.empty()) {
        if (ext.front() != '.') {
            out += '.';
        }
        out += ext;
    }
    return out;
}

bool SameFile(const char* a, const char* b) {
    struct stat first {};
    struct stat second {};
    return a != nullptr && b != nullptr && ::stat(a, &first) == 0 && ::stat(b, &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

std::int64_t FileSize(std::FILE* file) {
    const off_t here = ftello(file);
    if (here < 0 || fseeko(file, 0, SEEK_END) != 0) {
        return -1;
    }
    const off_t end = ftello(file);
    fseeko(file, here, SEEK_SET);
    return end;
}

}  // namespace plugins
