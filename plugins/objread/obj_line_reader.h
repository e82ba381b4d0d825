// Line-by-line reading of an OBJ file.
//
// Lines are returned whole, whatever their length, and CR, LF and CR LF all
// end a line. A last line without a line end is a line like any other: many
// exporters leave it off, and dropping it would lose the file's last face.
// The file is read in large blocks, so a line costs a scan of its bytes and
// no call into the C library per character.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace plugins::objread {

// The longest line read: 256 MiB. A longer one ends the input as a failure,
// so that input without line ends (a device that never ends, /dev/zero)
// cannot take all memory.
inline constexpr std::size_t kMaxObjLine = std::size_t{256} << 20;

class ObjLineReader {
  public:
    // Why the input ended.
    enum class End { NotYet, EndOfFile, ReadError, LineTooLong };

    // Reads from file, which stays owned (and open) by the caller. The
    // reader starts at the file's current position. maxLine is the longest
    // line taken, in bytes without the line end.
    explicit ObjLineReader(std::FILE* file, std::size_t maxLine = kMaxObjLine);

    // Advances to the next line. On success line points to its text
    // (NUL-terminated, without the line end; valid until the next call) and
    // length to its length, and the result is true. False when the input
    // ended; Ended() says why.
    bool Next(const char*& line, std::size_t& length);

    End Ended() const { return ended_; }

    // Bytes of the file consumed so far (lines returned and their ends).
    std::uint64_t Position() const { return consumed_; }

  private:
    // Reads more of the file behind the unread rest; false when nothing more
    // could be read.
    bool Fill();

    std::FILE* file_;
    std::size_t maxLine_;
    End ended_ = End::NotYet;
    std::vector<char> buffer_;
    std::size_t begin_ = 0;  // first unread byte
    std::size_t end_ = 0;    // one past the last byte held
    bool eof_ = false;
    std::uint64_t consumed_ = 0;
};

}  // namespace plugins::objread
