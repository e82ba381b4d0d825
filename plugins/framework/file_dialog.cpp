#include "framework/file_dialog.h"

#include <filesystem>
#include <ostream>
#include <system_error>

#include <unistd.h>

#include "framework/path_text.h"

namespace plugins {

namespace fs = std::filesystem;

FileDialog::FileDialog(bool open, const char* default_ext, const char* file_name, unsigned flags,
                       const char* filter, Terminal& term)
    : open_(open),
      defaultExt_(default_ext != nullptr ? default_ext : ""),
      fileName_(file_name != nullptr ? file_name : ""),
      flags_(flags),
      filter_(filter != nullptr ? filter : ""),
      term_(term) {}

std::string FileDialog::GetFileName() const {
    // The chosen path is a path of this system, where only '/' separates
    // directories: a '\' or ':' is part of the file's own name.
    return fs::path(pathName_).filename().string();
}

// The filter's descriptions, with their padding blanks squeezed:
// "WaveFront File (*.obj), All Files (*.*)".
std::string FileDialog::FilterText() const {
    std::string text;
    std::size_t start = 0;
    bool description = true;
    while (start < filter_.size()) {
        std::size_t bar = filter_.find('|', start);
        if (bar == std::string::npos) {
            bar = filter_.size();
        }
        if (description && bar > start) {
            if (!text.empty()) {
                text += ", ";
            }
            bool blank = false;
            for (std::size_t i = start; i < bar; ++i) {
                if (filter_[i] == ' ') {
                    blank = true;
                    continue;
                }
                if (blank) {
                    text += ' ';
                    blank = false;
                }
                text += filter_[i];
            }
        }
        description = !description;
        start = bar + 1;
    }
    return text;
}

bool FileDialog::Accept(const std::string& typed) {
    std::string name = typed;
    if (!open_ && !defaultExt_.empty() && PathSplit(name).ext.empty()) {
        name = PathJoin("", "", name, defaultExt_);
    }
    fs::path path(name);
    if (path.is_relative()) {
        path = fs::path(initialDir) / path;
    }
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) {
        absolute = path;
    }
    absolute = absolute.lexically_normal();

    if (!open_ && (flags_ & kOfnOverwritePrompt) != 0 && term_.in_is_terminal &&
        fs::exists(absolute, ec)) {
        *term_.err << TerminalSafe(absolute.string())
                   << " already exists.\nDo you want to replace it? [y/N] ";
        std::string answer;
        if (!ReadAnswer(term_, answer) || (answer != "y" && answer != "Y" && answer != "yes")) {
            return false;
        }
    }
    pathName_ = absolute.string();
    // The chosen file's directory becomes the current one, as with the
    // system's dialogs; a directory that does not exist leaves it as it is.
    const fs::path dir = absolute.parent_path();
    if (!dir.empty() && ::chdir(dir.c_str()) != 0) {
        // Nothing to undo: the current directory is unchanged.
    }
    return true;
}

int FileDialog::DoModal() {
    if (!term_.in_is_terminal) {
        if (fileName_.empty()) {
            return kIdCancel;
        }
        return Accept(fileName_) ? kIdOk : kIdCancel;
    }
    std::ostream& err = *term_.err;
    const std::string filter = FilterText();
    for (;;) {
        err << (open_ ? "Open" : "Save As");
        if (!filter.empty()) {
            err << " (" << filter << ')';
        }
        if (!fileName_.empty()) {
            err << " [" << TerminalSafe(fileName_) << ']';
        }
        err << ": ";
        std::string answer;
        if (!ReadAnswer(term_, answer)) {
            err << '\n';
            return kIdCancel;
        }
        const std::size_t begin = answer.find_first_not_of(" \t");
        const std::size_t end = answer.find_last_not_of(" \t");
        answer = begin == std::string::npos ? std::string() : answer.substr(begin, end - begin + 1);
        if (answer.empty()) {
            answer = fileName_;
        }
        if (answer.empty()) {
            return kIdCancel;
        }
        if (Accept(answer)) {
            return kIdOk;
        }
    }
}

}  // namespace plugins
