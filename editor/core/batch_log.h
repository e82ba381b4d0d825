// Batch.Log: the log a batch run appends to. The run writes its own lines
// (start, file, saved, status, end) through the functions below; the scanner,
// the path rules and the backup step write theirs through the same LogSink
// while the run has it installed in the CoreContext.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "core/batch_status.h"
#include "core/log_sink.h"

namespace tessvane {

inline constexpr std::string_view kBatchLogFileName = "Batch.Log";

// A LogSink appending to a file. Lines end in '\n'. Write errors are
// remembered, not thrown: the run goes on (the object files matter more than
// their log) and reports the failure once at its end.
class BatchLogFile final : public LogSink {
  public:
    BatchLogFile() = default;
    ~BatchLogFile() override;
    BatchLogFile(const BatchLogFile&) = delete;
    BatchLogFile& operator=(const BatchLogFile&) = delete;

    // Opens `path` for appending, creating it when missing. The path is a path
    // text as the editor keeps it ('\' is read as '/' on this host). False when
    // the file cannot be opened.
    bool Open(std::string_view path);
    bool IsOpen() const { return file_ != nullptr; }
    // Closes the file; false when a write, the flush or the close failed at
    // any time since Open.
    bool Close();

    void Write(std::string_view text) override;
    void EndLine() override;
    // Pushes what was written to the disk's cache, so a crash mid-file still
    // leaves the "Processing...." line of the file being handled.
    void Flush();

    bool Failed() const { return failed_; }

  private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
};

// The lines of the log that belong to the run itself.
std::string BatchStartedLine(std::string_view time,
                             std::string_view date);  // "*************** Started.... " ...
std::string BatchCompletedLine(std::string_view time,
                               std::string_view date);   // "*************** Completed.. " ...
std::string BatchProcessingText(std::string_view path);  // "Processing...." + path
std::string BatchSavedLine(std::string_view target);     // "File Saved as.." + target
// "......" + status text: the end of a file's line in the log, in the Batch
// page's list and in the command line's output.
std::string BatchStatusSuffix(BatchStatus status);

}  // namespace tessvane
