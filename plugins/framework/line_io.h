// Reading text lines with any line end, and writing text with the user's
// chosen line delimiter.
#pragma once

#include <cstdarg>
#include <cstdio>
#include <string>
#include <string_view>

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

// How written text ends its lines. The ld_mode setting holds the number of
// each.
enum class LineDelimiter : int {
    CrLf = 0,   // CR LF
    Lf = 1,     // LF
    Cr = 2,     // CR
    None = -1,  // any other stored number: line ends are dropped altogether
};

// The delimiter a stored ld_mode number names; any number outside 0 to 2 is
// None.
constexpr LineDelimiter LineDelimiterFromSetting(int ld_mode) {
    return ld_mode >= 0 && ld_mode <= 2 ? static_cast<LineDelimiter>(ld_mode) : LineDelimiter::None;
}

// The bytes that stand for one LF under delimiter ("" for None).
std::string_view LineEndBytes(LineDelimiter delimiter);

// Formats like printf and writes the text to file with every LF replaced by
// the line end of mode, the number of a LineDelimiter as ld_mode stores it. The text may be of any
// length. Open the file in binary mode so nothing else is translated. Returns the length of the
// formatted text (before line ends are replaced), or -1 when the format could not be applied. Write
// errors are left in the file's error indicator for the caller to test with ferror.
int WriteText(int mode, std::FILE* file, const char* format, ...)
    __attribute__((format(printf, 3, 4)));

// Formats like vsnprintf into a string of any length; on a formatting error
// the result is empty and ok (when given) becomes false.
std::string FormatText(const char* format, std::va_list args, bool* ok = nullptr);

}  // namespace plugins
