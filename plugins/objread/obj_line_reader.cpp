#include "objread/obj_line_reader.h"

#include <cstring>

namespace plugins::objread {

namespace {
constexpr std::size_t kBlockSize = 1 << 16;
}

ObjLineReader::ObjLineReader(std::FILE* file, std::size_t maxLine)
    : file_(file), maxLine_(maxLine), buffer_(kBlockSize + 1) {}

bool ObjLineReader::Fill() {
    if (eof_) {
        return false;
    }
    // Keep the unread rest at the front and make room for one more block
    // (plus the terminating zero written after a line).
    if (begin_ > 0) {
        std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (buffer_.size() - end_ < kBlockSize + 1) {
        buffer_.resize(end_ + kBlockSize + 1);
    }
    const std::size_t got = std::fread(buffer_.data() + end_, 1, kBlockSize, file_);
    if (got == 0) {
        eof_ = true;
        if (std::ferror(file_) != 0) {
            ended_ = End::ReadError;
        }
        return false;
    }
    end_ += got;
    return true;
}

bool ObjLineReader::Next(const char*& line, std::size_t& length) {
    std::size_t scanned = 0;  // bytes of the pending line already known to hold no line end
    for (;;) {
        char* start = buffer_.data() + begin_;
        const std::size_t held = end_ - begin_;
        char* stop = nullptr;
        if (held > scanned) {
            char* from = start + scanned;
            const std::size_t n = held - scanned;
            char* lf = static_cast<char*>(std::memchr(from, '\n', n));
            const std::size_t crSpan = lf != nullptr ? static_cast<std::size_t>(lf - from) : n;
            char* cr = static_cast<char*>(std::memchr(from, '\r', crSpan));
            stop = cr != nullptr ? cr : lf;
        }
        if (stop != nullptr) {
            std::size_t len = static_cast<std::size_t>(stop - start);
            std::size_t endLength = 1;
            if (*stop == '\r') {
                // A CR at the very end of what is held may be the first half
                // of a CR LF that the next block completes.
                if (static_cast<std::size_t>(stop - start) + 1 == held && Fill()) {
                    scanned = len;
                    continue;
                }
                start = buffer_.data() + begin_;
                stop = start + len;
                if (begin_ + len + 1 < end_ && stop[1] == '\n') {
                    endLength = 2;
                }
            }
            if (len > maxLine_) {
                ended_ = End::LineTooLong;
                return false;
            }
            *stop = '\0';
            line = start;
            length = len;
            begin_ += len + endLength;
            consumed_ += len + endLength;
            return true;
        }
        scanned = held;
        if (held > maxLine_) {
            ended_ = End::LineTooLong;
            return false;
        }
        if (!Fill()) {
            if (ended_ == End::ReadError) {
                return false;
            }
            ended_ = End::EndOfFile;
            if (begin_ == end_) {
                return false;
            }
            // The last line of the file has no line end.
            char* last = buffer_.data() + begin_;
            const std::size_t len = end_ - begin_;
            if (len > maxLine_) {
                ended_ = End::LineTooLong;
                return false;
            }
            last[len] = '\0';
            line = last;
            length = len;
            begin_ = end_;
            consumed_ += len;
            return true;
        }
    }
}

}  // namespace plugins::objread
