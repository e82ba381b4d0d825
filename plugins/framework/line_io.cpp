#include "framework/line_io.h"

#include <cstdarg>
#include <cstring>

namespace plugins {

namespace {

// After a CR, a following LF belongs to the same line end.
void SkipLfAfterCr(std::FILE* file) {
    const int next = getc_unlocked(file);
    if (next != EOF && next != '\n') {
        std::ungetc(next, file);
    }
}

}  // namespace

char* ReadLine(char* buf, std::size_t cap, std::FILE* file) {
    if (buf == nullptr || cap < 2) {
        return nullptr;
    }
    std::size_t stored = 0;
    while (stored < cap - 1) {
        const int c = getc_unlocked(file);
        if (c == EOF) {
            // A last line without a line end is still a line.
            if (stored > 0 && !std::ferror(file)) {
                break;
            }
            return nullptr;
        }
        if (c == '\n') {
            break;
        }
        if (c == '\r') {
            SkipLfAfterCr(file);
            break;
        }
        buf[stored++] = static_cast<char>(c);
    }
    buf[stored] = '\0';
    return buf;
}

bool ReadLine(std::string& line, std::FILE* file) {
    line.clear();
    for (;;) {
        const int c = getc_unlocked(file);
        if (c == EOF) {
            return !line.empty() && !std::ferror(file);
        }
        if (c == '\n') {
            return true;
        }
        if (c == '\r') {
            SkipLfAfterCr(file);
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
}

std::string FormatText(const char* format, std::va_list args, bool* ok) {
    char small[1024];
    std::va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    std::string text;
    if (n < 0) {
        va_end(again);
        if (ok != nullptr) {
            *ok = false;
        }
        return text;
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        text.assign(small, static_cast<std::size_t>(n));
    } else {
        text.resize(static_cast<std::size_t>(n));
        std::vsnprintf(text.data(), text.size() + 1, format, again);
    }
    va_end(again);
    if (ok != nullptr) {
        *ok = true;
    }
    return text;
}

namespace {

// Writes text with every LF replaced by line_end, in runs between line feeds
// rather than byte by byte.
void WriteWithLineEnds(std::string_view line_end, std::FILE* file, const char* text,
                       std::size_t size) {
    const char* const end = text + size;
    while (text < end) {
        const void* lf = std::memchr(text, '\n', static_cast<std::size_t>(end - text));
        const char* run_end = lf != nullptr ? static_cast<const char*>(lf) : end;
        std::fwrite(text, 1, static_cast<std::size_t>(run_end - text), file);
        if (lf == nullptr) {
            break;
        }
        std::fwrite(line_end.data(), 1, line_end.size(), file);
        text = run_end + 1;
    }
}

}  // namespace

std::string_view LineEndBytes(LineDelimiter delimiter) {
    switch (delimiter) {
        case LineDelimiter::CrLf:
            return "\r\n";
        case LineDelimiter::Lf:
            return "\n";
        case LineDelimiter::Cr:
            return "\r";
        case LineDelimiter::None:
            break;
    }
    return "";
}

int WriteText(int mode, std::FILE* file, const char* format, ...) {
    const std::string_view line_end = LineEndBytes(LineDelimiterFromSetting(mode));
    // Most texts are single lines: format them on the stack, and only
    // longer ones on the heap.
    char small[1024];
    std::va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    if (n < 0) {
        return -1;
    }
    if (static_cast<std::size_t>(n) < sizeof small) {
        WriteWithLineEnds(line_end, file, small, static_cast<std::size_t>(n));
        return n;
    }
    std::string text(static_cast<std::size_t>(n), '\0');
    va_start(args, format);
    std::vsnprintf(text.data(), text.size() + 1, format, args);
    va_end(args);
    WriteWithLineEnds(line_end, file, text.data(), text.size());
    return n;
}

}  // namespace plugins
