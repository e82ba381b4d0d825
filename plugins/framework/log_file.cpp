#include "framework/log_file.h"

#include <cstdarg>
#include <string>

#include "framework/line_io.h"

namespace plugins {

LogFile::LogFile(const char* path) {
    if (path != nullptr) {
        file_ = std::fopen(path, "w");
        open_ = file_ != nullptr ? 1 : 0;
    }
}

LogFile::~LogFile() {
    if (open_ != 0) {
        std::fflush(file_);
        std::fclose(file_);
    }
}

void LogFile::Printf(const char* format, ...) {
    if (open_ == 0) {
        return;
    }
    std::va_list args;
    va_start(args, format);
    const std::string text = FormatText(format, args);
    va_end(args);
    std::fwrite(text.data(), 1, text.size(), file_);
    std::fflush(file_);
}

}  // namespace plugins
