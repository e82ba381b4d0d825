#include "core/batch_list.h"

namespace tessvane {

std::string BatchFileEntry::Path() const {
    std::string path(Directory.view());
    path += FileName.view();
    return path;
}

bool MakeBatchFileEntry(std::string_view path, BatchFileEntry& entry) {
    if (path.empty() || path.size() > kMaxPathText) return false;
    const std::size_t separator = path.find_last_of("/\\");
    const std::size_t nameStart = separator == std::string_view::npos ? 0 : separator + 1;
    if (nameStart >= path.size()) return false;
    entry.Directory = path.substr(0, nameStart);
    entry.FileName = path.substr(nameStart);
    return true;
}

BatchSelectionResult BatchList::AddSelection(std::span<const std::string> paths,
                                             ShellState& shell) {
    BatchSelectionResult result;
    if (paths.empty()) return result;
    if (runFinished_) Clear();
    for (const std::string& path : paths) {
        BatchFileEntry entry;
        if (!MakeBatchFileEntry(path, entry)) {
            result.refused.push_back(path);
            continue;
        }
        shell.CurrentFileDirectory = entry.Directory;
        entries_.push_back(std::move(entry));
        ++result.added;
    }
    return result;
}

void BatchList::Clear() {
    entries_.clear();
    runFinished_ = false;
}

std::string_view BatchSelectButtonCaption(const BatchList& list) {
    // After a run the next selection starts a new list, so the button says so.
    return list.Empty() || list.RunFinished() ? "Select Object Files" : "Add More Object Files";
}

}  // namespace tessvane
