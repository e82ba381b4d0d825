// The output file of an export run.
//
// The writers produce a file of text lines whose line ends follow the
// setting ld_mode (0 CR LF, 1 LF, 2 CR, any other value: no line end at all),
// the rule of WriteText. Formatted lines go through WriteText itself; the
// bulk of the numbers is buffered here and formatted without printf, because
// an export may write millions of lines.
//
// The file is written by the plug-ins' one atomic writer (see
// framework/replacement_file.h): a failed or abandoned export leaves an
// existing file of that name as it was, a link has the file it names
// replaced, and a device or a pipe is written to directly.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "export/text_block.h"
#include "framework/line_io.h"
#include "framework/replacement_file.h"

namespace plugins {

class TextOutput {
  public:
    explicit TextOutput(LineDelimiter delimiter);
    // Abandons a file that was opened and not committed.
    ~TextOutput();
    TextOutput(const TextOutput&) = delete;
    TextOutput& operator=(const TextOutput&) = delete;

    // Starts the file at path. Returns false, creating nothing, when that is
    // impossible (missing directory, no permission, empty path) or when path
    // is a directory or a file that may not be written. The finished file
    // keeps the permissions of the file it replaces. A file already open is
    // abandoned first.
    bool Open(const std::string& path);
    bool IsOpen() const { return output_.IsOpen(); }

    // Appends text; every '\n' in it becomes the line end of the delimiter.
    void Text(std::string_view text);
    // Appends v as "%lf" prints it.
    void Fixed6(double v);
    // Appends v as "%d" prints it.
    void Int(int v);
    // Appends the line end of the delimiter.
    void LineEnd() { Append(lineEnd_); }
    // Appends bytes as they are, line ends included: for a file that is not
    // text.
    void Bytes(std::string_view bytes) { Append(bytes); }
    // Formats like printf and writes the text through WriteText, after what
    // is buffered. For the few lines of a file that carry names and counts;
    // the bulk of numbers goes through Fixed6 and Int.
    void Printf(const char* format, ...) __attribute__((format(printf, 2, 3)));

    // Block i of the file's spare blocks (created with the file's line ends
    // when first asked for), for text formatted apart and appended whole
    // with Bytes (see chunked_text.h). A block keeps its memory, and
    // whatever it holds, until the output is destroyed.
    TextBlock& SpareBlock(std::size_t i);

    // Writes out what is buffered, closes the file and renames it over the
    // target. Returns false when any write, the close or the rename failed;
    // the temporary file is then removed and the target left as it was.
    // Nothing happens (and true is returned) when no file is open.
    bool Commit();

    // Closes and removes the temporary file without touching the target.
    void Abandon();

  private:
    void Append(std::string_view bytes);
    // Makes room for n more bytes in the buffer, writing it out if needed.
    char* Reserve(std::size_t n);
    void FlushBuffer();
    // Counts written bytes given to the file and asks the system to start
    // writing the file to the disk, every few megabytes.
    void StartWriteBack(std::size_t written);

    LineDelimiter delimiter_;
    std::string_view lineEnd_;
    ReplacementFile output_;
    std::vector<char> buffer_;
    std::vector<std::unique_ptr<TextBlock>> spareBlocks_;
    std::size_t used_ = 0;
    bool failed_ = false;
    off_t writtenBack_ = 0;           // the file's bytes before this were asked to be written
    std::size_t sinceWriteBack_ = 0;  // bytes given to the file since the last request
};

}  // namespace plugins
