#include "export/text_output.h"

#include "export/fixed_format.h"
#include "framework/line_io.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace plugins {

namespace {

constexpr std::size_t kBufferSize = 1 << 16;
constexpr std::size_t kMaxFileNameLength = 255;

}  // namespace

std::string_view LineEndBytes(int ld_mode) {
    switch (ld_mode) {
        case 0:
            return "\r\n";
        case 1:
            return "\n";
        case 2:
            return "\r";
        default:
            return "";
    }
}

TextOutput::TextOutput(int ld_mode)
    : ld_mode_(ld_mode), line_end_(LineEndBytes(ld_mode)), buffer_(kBufferSize) {}

TextOutput::~TextOutput() {
    Abandon();
}

bool TextOutput::Open(const std::string& path) {
    Abandon();
    if (path.empty()) {
        return false;
    }
    // The file replaces the target only at the end, so whatever would stop
    // writing the target itself has to stop the export here: a directory of
    // that name, or a file the user may not write.
    struct stat target {};
    const bool exists = stat(path.c_str(), &target) == 0;
    if (exists && (S_ISDIR(target.st_mode) || access(path.c_str(), W_OK) != 0)) {
        return false;
    }
    if (exists && !S_ISREG(target.st_mode)) {
        // A device, a pipe or a socket is not replaced but written to, as
        // it comes: a file put in its place would take the device's name
        // away (think of /dev/null), and there is no old content to keep.
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (file == nullptr) {
            return false;
        }
        file_ = file;
        target_ = path;
        temp_.clear();
        direct_ = true;
        used_ = 0;
        failed_ = false;
        return true;
    }
    // A link is followed: the file it names is replaced, the link stays.
    std::string real_path = path;
    if (exists) {
        if (char* resolved = realpath(path.c_str(), nullptr)) {
            real_path = resolved;
            std::free(resolved);
        }
    }
    return OpenReplacement(real_path, exists ? &target : nullptr);
}

bool TextOutput::OpenReplacement(const std::string& path, const struct stat* existing) {
    const bool exists = existing != nullptr;
    // The temporary name adds seven characters to the file's own, unless
    // that would make it longer than a file name may be.
    const std::size_t slash = path.rfind('/');
    const std::size_t name_length =
        slash == std::string::npos ? path.size() : path.size() - slash - 1;
    std::string temp =
        name_length + 7 <= kMaxFileNameLength
            ? path + ".XXXXXX"
            : path.substr(0, slash == std::string::npos ? 0 : slash + 1) + ".export-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    // mkstemp makes the file private; the finished file gets the permissions
    // that writing the target directly would have left: the old file's, or
    // those of a newly created one.
    mode_t mode = 0;
    if (exists) {
        mode = existing->st_mode & 07777;
    } else {
        const mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(fd, mode) != 0) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    std::FILE* file = fdopen(fd, "wb");
    if (file == nullptr) {
        close(fd);
        unlink(temp.c_str());
        return false;
    }
    file_ = file;
    target_ = path;
    temp_ = std::move(temp);
    direct_ = false;
    used_ = 0;
    failed_ = false;
    return true;
}

void TextOutput::Text(std::string_view text) {
    while (!text.empty()) {
        std::size_t lf = text.find('\n');
        Append(text.substr(0, lf));
        if (lf == std::string_view::npos) {
            return;
        }
        Append(line_end_);
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
    if (file_ == nullptr) {
        return;
    }
    std::va_list args;
    va_start(args, format);
    bool ok = true;
    std::string text = FormatText(format, args, &ok);
    va_end(args);
    FlushBuffer();
    if (!ok || WriteText(ld_mode_, file_, "%s", text.c_str()) < 0 || std::ferror(file_)) {
        failed_ = true;
    }
}

void TextOutput::Append(std::string_view bytes) {
    if (bytes.size() > buffer_.size()) {
        FlushBuffer();
        if (file_ != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
            failed_ = true;
        }
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
    if (used_ > 0 && file_ != nullptr && std::fwrite(buffer_.data(), 1, used_, file_) != used_) {
        failed_ = true;
    }
    used_ = 0;
}

bool TextOutput::Commit() {
    if (file_ == nullptr) {
        return true;
    }
    FlushBuffer();
    bool ok = !failed_;
    if (std::fflush(file_) != 0) {
        ok = false;
    }
    if (std::fclose(file_) != 0) {
        ok = false;
    }
    file_ = nullptr;
    if (!direct_) {
        if (ok && std::rename(temp_.c_str(), target_.c_str()) != 0) {
            ok = false;
        }
        if (!ok) {
            unlink(temp_.c_str());
        }
    }
    temp_.clear();
    target_.clear();
    return ok;
}

void TextOutput::Abandon() {
    if (file_ == nullptr) {
        return;
    }
    std::fclose(file_);
    file_ = nullptr;
    if (!direct_) {
        unlink(temp_.c_str());
    }
    temp_.clear();
    target_.clear();
    used_ = 0;
}

}  // namespace plugins
