// Escaping for the list command's machine-readable formats. Texts from object
// files are bytes in the Amiga's or the PC's 8-bit character set, not UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace tessvane::cli {

// A TSV field: '\' -> "\\", tab -> "\t", LF -> "\n", CR -> "\r"; everything
// else as it is.
std::string TsvField(std::string_view text);

// A JSON string literal with its quotes; control characters as \u00XX. A
// text that is valid UTF-8 (a file name on this host) keeps its characters;
// any other text (names from an Amiga or a PC in their 8-bit character sets)
// is read as Latin-1 and its bytes above 127 are written as \u00XX. Either
// way the output is valid JSON and valid UTF-8.
std::string JsonString(std::string_view text);

// A text as it may be printed for a person to read: every control character
// becomes '?' (bytes below 0x20 and DEL; in UTF-8 text U+0080..U+009F, in any
// other text the bytes 0x80..0x9F). Names from object files of unknown origin
// must not move the cursor or retitle the terminal; other bytes, Latin-1
// letters included, are printed as they are.
std::string TerminalText(std::string_view text);

}  // namespace tessvane::cli
