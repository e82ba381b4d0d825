#include "export/text_output.h"

#include "export/fixed_format.h"
#include "framework/line_io.h"

#include <fcntl.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace plugins {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;

// Bytes between two requests to start writing the file out.
constexpr off_t kWriteBackStep = off_t{8} << 20;

}  // namespace

TextOutput::TextOutput(LineDelimiter delimiter)
    : delimiter_(delimiter), lineEnd_(LineEndBytes(delimiter)), buffer_(kBufferSize) {}

TextOutput::~TextOutput() {
    Abandon();
}

bool TextOutput::Open(const std::string& path) {
    Abandon();
    return output_.Open(path);
}

void TextOutput::Text(std::string_view text) {
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        Append(text.substr(0, lf));
        if (lf == std::string_view::npos) {
            return;
        }
        Append(lineEnd_);
        text.remove_prefix(lf + 1);
    }
}

void TextOutput::Fixed6(double v) {
    char* p = Reserve(kFixed6MaxChars);
    used_ = static_cast<std::size_t>(FormatFixed6(p, v) - buffer_.data());
}

void TextOutput::Int(int v) {
    char* p = Reserve(kIntMaxChars);
    used_ = static_cast<std::size_t>(FormatInt(p, v) - buffer_.data());
}

void TextOutput::Printf(const char* format, ...) {
    std::FILE* file = output_.Stream();
    if (file == nullptr) {
        return;
    }
    std::va_list args;
    va_start(args, format);
    bool ok = true;
    std::string text = FormatText(format, args, &ok);
    va_end(args);
    FlushBuffer();
    if (!ok || WriteText(static_cast<int>(delimiter_), file, "%s", text.c_str()) < 0 ||
        std::ferror(file)) {
        failed_ = true;
    }
}

void TextOutput::Append(std::string_view bytes) {
    if (bytes.size() > buffer_.size()) {
        FlushBuffer();
        std::FILE* file = output_.Stream();
        if (file != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
            failed_ = true;
        }
        StartWriteBack(bytes.size());
        return;
    }
    char* p = Reserve(bytes.size());
    std::memcpy(p, bytes.data(), bytes.size());
    used_ += bytes.size();
}

char* TextOutput::Reserve(std::size_t n) {
    if (buffer_.size() - used_ < n) {
        FlushBuffer();
    }
    return buffer_.data() + used_;
}

void TextOutput::FlushBuffer() {
    std::FILE* file = output_.Stream();
    if (used_ > 0 && file != nullptr && std::fwrite(buffer_.data(), 1, used_, file) != used_) {
        failed_ = true;
    }
    StartWriteBack(used_);
    used_ = 0;
}

void TextOutput::StartWriteBack(std::size_t written) {
    sinceWriteBack_ += written;
    std::FILE* file = output_.Stream();
    if (file == nullptr || sinceWriteBack_ < static_cast<std::size_t>(kWriteBackStep)) {
        return;
    }
    sinceWriteBack_ = 0;
    const off_t end = ftello(file);
    if (end < writtenBack_ + kWriteBackStep) {
        return;
    }
    // The file is flushed to the disk when it is committed. Asking for the
    // bytes written so far now lets the disk take them while the rest is
    // formatted, instead of all at the end. Only a request: a file that is
    // not on a disk (a pipe, a device) refuses it, which changes nothing.
    sync_file_range(fileno(file), writtenBack_, end - writtenBack_, SYNC_FILE_RANGE_WRITE);
    writtenBack_ = end;
}

TextBlock& TextOutput::SpareBlock(std::size_t i) {
    while (spareBlocks_.size() <= i) {
        spareBlocks_.push_back(std::make_unique<TextBlock>(delimiter_));
    }
    return *spareBlocks_[i];
}

bool TextOutput::Commit() {
    if (!output_.IsOpen()) {
        return true;
    }
    FlushBuffer();
    if (failed_) {
        output_.Abandon();
        return false;
    }
    return output_.Commit();
}

void TextOutput::Abandon() {
    output_.Abandon();
    used_ = 0;
    writtenBack_ = 0;
    sinceWriteBack_ = 0;
    failed_ = false;
}

}  // namespace plugins
