// Where the core writes its log lines (change lines, the backup line, the line
// end after a successful read). The batch run opens one for Batch.Log; with no
// sink installed nothing is written.
#pragma once

#include <string_view>

namespace tessvane {

class LogSink {
  public:
    virtual ~LogSink() = default;
    // Appends text to the current line.
    virtual void Write(std::string_view text) = 0;
    // Ends the current line.
    virtual void EndLine() = 0;

    void WriteLine(std::string_view text) {
        Write(text);
        EndLine();
    }
};

}  // namespace tessvane
