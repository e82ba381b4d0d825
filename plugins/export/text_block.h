// Text formatted away from the output file, to be appended to it whole.
//
// Writers that format on more than one thread give each thread blocks of
// its own and append the finished blocks to the file in order (see
// chunked_text.h). A block is written line by line through raw pointers:
// Reserve room for a line, put its pieces, Commit the end. The pieces are
// printf's "%lf" and "%d" (fixed_format.h), plain bytes and the line end of
// the file's delimiter.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "export/fixed_format.h"
#include "framework/line_io.h"

namespace plugins {

class TextBlock {
  public:
    explicit TextBlock(LineDelimiter delimiter) : lineEnd_(LineEndBytes(delimiter)) {}
    ~TextBlock();
    TextBlock(const TextBlock&) = delete;
    TextBlock& operator=(const TextBlock&) = delete;

    // Room for n more bytes, at the returned position. Growing keeps what
    // was written; an allocation that fails ends the process with exit
    // code 1, as every allocation of the plug-ins does.
    char* Reserve(std::size_t n) {
        if (capacity_ - used_ < n) {
            Grow(n);
        }
        return bytes_ + used_;
    }
    // Ends what was written from the last Reserve at end.
    void Commit(char* end) {
        assert(end >= bytes_ + used_ && end <= bytes_ + capacity_);
        used_ = static_cast<std::size_t>(end - bytes_);
    }

    // Puts text (no line ends in it) at p and returns its end.
    static char* Put(char* p, std::string_view text) {
        std::memcpy(p, text.data(), text.size());
        return p + text.size();
    }
    // Puts the delimiter's line end (up to two bytes) at p.
    char* PutLineEnd(char* p) const { return Put(p, lineEnd_); }

    std::string_view View() const { return {bytes_, used_}; }
    // Empties the block and keeps its memory.
    void Clear() { used_ = 0; }

  private:
    void Grow(std::size_t n);

    std::string_view lineEnd_;
    char* bytes_ = nullptr;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace plugins
