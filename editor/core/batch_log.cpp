#include "core/batch_log.h"

#include "core/file_system.h"

namespace tessvane {

BatchLogFile::~BatchLogFile() {
    Close();
}

bool BatchLogFile::Open(std::string_view path) {
    Close();
    failed_ = false;
    const std::optional<std::string> host = HostPath(path);
    if (!host) return false;
    file_ = std::fopen(host->c_str(), "ab");
    return file_ != nullptr;
}

bool BatchLogFile::Close() {
    if (file_ != nullptr) {
        if (std::fflush(file_) != 0) failed_ = true;
        if (std::fclose(file_) != 0) failed_ = true;
        file_ = nullptr;
    }
    return !failed_;
}

void BatchLogFile::Write(std::string_view text) {
    if (file_ == nullptr || text.empty()) return;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size()) failed_ = true;
}

void BatchLogFile::EndLine() {
    if (file_ == nullptr) return;
    if (std::fputc('\n', file_) == EOF) failed_ = true;
}

void BatchLogFile::Flush() {
    if (file_ != nullptr && std::fflush(file_) != 0) failed_ = true;
}

std::string BatchStartedLine(std::string_view time, std::string_view date) {
    std::string line = "*************** Started.... ";
    line += time;
    line += ' ';
    line += date;
    return line;
}

std::string BatchCompletedLine(std::string_view time, std::string_view date) {
    std::string line = "*************** Completed.. ";
    line += time;
    line += ' ';
    line += date;
    return line;
}

std::string BatchProcessingText(std::string_view path) {
    std::string text = "Processing....";
    text += path;
    return text;
}

std::string BatchSavedLine(std::string_view target) {
    std::string line = "File Saved as..";
    line += target;
    return line;
}

std::string BatchStatusSuffix(BatchStatus status) {
    std::string text = "......";
    text += BatchStatusText(status);
    return text;
}

}  // namespace tessvane
