// Reading text lines with any line end, and writing text with the user's
// chosen line delimiter.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>

namespace plugins {

// Reads one line of at most cap - 1 bytes into buf and terminates it.
// A line ends at LF, at CR LF or at a lone CR; the line end is not stored.
// A line longer than cap - 1 bytes comes in pieces of cap - 1 bytes; the
// rest follows with the next calls. The last line of a file is returned even
// when it has no line end.
// Returns buf, or null at the end of the input, on a read error, or when
// cap is below 2 (no room for a byte and the terminator).
// Both readers take the file byte by byte from the C library's buffer
// without locking it: no other thread may use the file meanwhile.
char* ReadLine(char* buf, std::size_t cap, std::FILE* file);

// Reads one whole line, however long, into line (same line ends as above).
// Returns false at the end of the input or on a read error.
bool ReadLine(std::string& line, std::FILE* file);

// Line delimiter modes (the ld_mode setting): how WriteText writes each LF.
enum LineDelimiter : int {
    kLineDelimiterCrLf = 0,  // CR LF
    kLineDelimiterLf = 1,    // LF
    kLineDelimiterCr = 2,    // CR
    // Any other value drops line ends altogether.
};

// Formats like printf and writes the text to file with every LF replaced by
// the line end of mode. The text may be of any length. Open the file in
// binary mode so nothing else is translated.
// Returns the length of the formatted text (before line ends are replaced),
// or -1 when the format could not be applied. Write errors are left in the
// file's error indicator for the caller to test with ferror.
int WriteText(int mode, std::FILE* file, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Formats like vsnprintf into a string of any length; on a formatting error
// the result is empty and ok (when given) becomes false.
std::string FormatText(const char* format, std::va_list args, bool* ok = nullptr);

}  // namespace plugins
