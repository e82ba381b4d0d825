#include "core/batch_clock.h"

#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>

namespace tessvane {
namespace {

std::string FormatNow(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::ostringstream out;
    // The user's locale decides the formats, as the system's own time and date
    // formats would; a broken locale setting falls back to the C locale.
    try {
        out.imbue(std::locale(""));
    } catch (const std::runtime_error&) {
        out.imbue(std::locale::classic());
    }
    out << std::put_time(&local, format);
    return out.str();
}

}  // namespace

std::string SystemBatchClock::LongTime() const { return FormatNow("%X"); }

std::string SystemBatchClock::ShortDate() const { return FormatNow("%x"); }

}  // namespace tessvane
