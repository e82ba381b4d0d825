// The batch run: the Batch page's "Process" and tessvane-cli's batch command.
//
// For every file of the batch list, in order: read it, apply the default lists
// and the suffix rules, move an existing target aside (or ask before replacing
// it), write it, drop it, and log each step to Batch.Log. No message is shown
// for a file that fails; its status is recorded and the run goes on. The only
// questions are the default-list prompts (when prompting is on) and the
// overwrite question (when backups are off), both through context.ui.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/batch_clock.h"
#include "core/batch_list.h"
#include "core/batch_status.h"
#include "core/core_context.h"
#include "core/log_sink.h"

namespace tessvane {

// What the run reports while it goes, so the page can fill its list and move
// its progress bar, and the command line can print its lines.
class BatchObserver {
  public:
    virtual ~BatchObserver() = default;
    // Before the first file: the progress range is 0..count.
    virtual void RunStarted(std::size_t count) { (void)count; }
    // File `index` (1-based) has been handled: its list line becomes
    // BatchResultLine(path, status) and the progress bar moves to `index`.
    virtual void FileFinished(std::size_t index, std::string_view path, BatchStatus status) {
        (void)index;
        (void)path;
        (void)status;
    }
    // After the last file: reset the progress bar and redraw the two
    // default-list grids, which the prompts may have extended.
    virtual void RunFinished() {}
};

struct BatchRunOptions {
    // The text of the page's save-directory field: where files are saved
    // unless shell.SaveInOriginalDirectory is on. Empty: the bare file name,
    // that is the process's working directory.
    std::string saveDirectory;
    // The log file used when Generate Log is on; empty means
    // shell.ProgramDirectory + "Batch.Log".
    std::string logPath;
    // Write nothing: no object file, no backup and no log file. The files are
    // read and the rules applied; the change lines go to `logSink` when one is
    // given. An existing target counts as handled the way the run would handle
    // it (backed up, or the overwrite question asked).
    bool dryRun = false;
    // When set, the run's lines go here instead of to a log file, whatever
    // Generate Log says (tests, the command line's dry run). Not owned.
    LogSink* logSink = nullptr;
    // When set, called for every file that was read, after the lists and the
    // suffix rules and before its target is looked at, with the file's path
    // as listed; it may change the records, logging what it changes
    // (tessvane-cli's --relink).
    std::function<void(CoreContext&, std::string_view path)> beforeSave;
};

struct BatchFileResult {
    std::string path;  // directory + file name as listed
    BatchStatus status = BatchStatus::Ok;
};

// Where file `entry` is saved: S + the file name, where S is the entry's own
// directory with `saveInOriginalDirectory`, else `saveDirectory`; a non-empty
// S that ends in none of ':', '\', '/' gets a separator first: '\' when S
// holds a '\' (a PC directory), else '/'. So D:\OUT gives D:\OUT\name, D:
// gives D:name and /srv/out gives /srv/out/name.
std::string BatchTargetPath(const BatchFileEntry& entry, bool saveInOriginalDirectory,
                            std::string_view saveDirectory);

// The list line of a handled file: path + "......" + status text.
std::string BatchResultLine(std::string_view path, BatchStatus status);

// Runs the batch over `list` and marks the run finished. Uses context.file for
// each file (nothing is held afterwards), context.ui for questions (null: every
// question answered No, every prompt cancelled) and sets context.log only while
// it runs. Returns one result per entry, in list order.
//
// Failures of single files are statuses. A log that cannot be opened gives the
// warning "Unable to create Log File (Batch.Log)" and the run goes on without
// it; a log that fails while it is written gives "Error writing Log File
// (Batch.Log)" once at the end.
std::vector<BatchFileResult> RunBatch(CoreContext& context, BatchList& list,
                                      const BatchRunOptions& options, const BatchClock& clock,
                                      BatchObserver* observer = nullptr);

}  // namespace tessvane
