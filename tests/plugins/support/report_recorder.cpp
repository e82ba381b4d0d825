#include "support/report_recorder.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>

namespace pluginsupport {

namespace {

void RecordStatus(std::FILE*, const char* format, ...) {
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    RecordedReports().push_back(std::string("S:") + text);
}

std::string Fraction(const char* kind, std::uint32_t index, std::uint32_t count) {
    return kind + std::to_string(index) + "/" + std::to_string(count);
}

void RecordFile(std::uint32_t index, std::uint32_t count) {
    RecordedReports().push_back(Fraction("F:", index, count));
}

void RecordMesh(std::uint32_t index, std::uint32_t count) {
    RecordedReports().push_back(Fraction("M:", index, count));
}

}  // namespace

plugins::ProgressCallbacks ReportRecorder() {
    return {RecordStatus, RecordFile, RecordMesh};
}

std::vector<std::string>& RecordedReports() {
    static std::vector<std::string> reports;
    return reports;
}

}  // namespace pluginsupport
