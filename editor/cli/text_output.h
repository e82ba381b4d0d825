// Escaping for the list command's machine-readable formats. Texts from object
// files are bytes in the Amiga's or the PC's 8-bit character set, not UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tessvane::cli {

// A TSV field: '\' -> "\\", tab -> "\t", LF -> "\n", CR -> "\r"; everything
// else as it is.
std::string TsvField(std::string_view text);

// A JSON string literal with its quotes. Control characters and bytes above
// 127 are written as \u00XX, reading the text as Latin-1, so the output is
// valid JSON (and valid UTF-8) whatever bytes the file held.
std::string JsonString(std::string_view text);

}  // namespace tessvane::cli
