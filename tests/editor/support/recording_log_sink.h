// A LogSink for tests that keeps the lines written, the open line included.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/log_sink.h"

namespace tessvane::testing {

class RecordingLogSink : public LogSink {
  public:
    // Finished lines, in order.
    std::vector<std::string> lines;
    // The line being written (not yet ended).
    std::string current;

    void Write(std::string_view text) override { current.append(text); }
    void EndLine() override {
        lines.push_back(current);
        current.clear();
    }
};

}  // namespace tessvane::testing
