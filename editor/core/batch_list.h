// The batch list: the object files a batch run handles, in the order they were
// chosen. The same file may be listed twice; it is then handled twice.
//
// The list is not capped: a selection of any size is taken whole. A path of
// more than 255 characters is refused rather than cut, because a cut path
// names a different file (or none) and the run would read or overwrite the
// wrong one.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "state/counted_text.h"
#include "state/shell_state.h"

namespace tessvane {

struct BatchFileEntry {
    // With its trailing separator; empty for a file given without directory.
    PathText Directory;
    // File name without directory. Kept whole: Directory + FileName never
    // exceeds 255 characters (see AddSelection).
    PathText FileName;

    // Directory + FileName: the path the run reads.
    std::string Path() const;
};

// Splits `path` after its last '/' or '\'. False, leaving `entry` alone, when
// the path is empty, ends in a separator (names no file) or is longer than 255
// characters.
bool MakeBatchFileEntry(std::string_view path, BatchFileEntry& entry);

struct BatchSelectionResult {
    std::size_t added = 0;
    // Chosen paths that could not be listed (see MakeBatchFileEntry), in the
    // order given; the caller tells the user.
    std::vector<std::string> refused;
};

class BatchList {
  public:
    const std::vector<BatchFileEntry>& Entries() const { return entries_; }
    std::size_t Count() const { return entries_.size(); }
    bool Empty() const { return entries_.empty(); }

    // Adds the files of one selection (file dialog or command line) in order
    // and sets `shell.CurrentFileDirectory` to each added file's directory.
    //
    // After a finished run the list is emptied first, but only when the
    // selection holds at least one path: a cancelled dialog (an empty
    // selection) leaves the list, and what the page shows of it, as it was.
    BatchSelectionResult AddSelection(std::span<const std::string> paths, ShellState& shell);

    // Set by the run when it ends.
    bool RunFinished() const { return runFinished_; }
    void MarkRunFinished() { runFinished_ = true; }

    void Clear();

  private:
    std::vector<BatchFileEntry> entries_;
    bool runFinished_ = false;
};

// "Add More Object Files" while the list holds files that a selection would
// add to; "Select Object Files" while it is empty or a finished run's list
// (which the next selection replaces).
std::string_view BatchSelectButtonCaption(const BatchList& list);

}  // namespace tessvane
