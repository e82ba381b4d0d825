#include "core/batch_clock.h"

#include <ctime>
#include <iomanip>
#include <locale>
#include <sstream>

namespace tessvane {
namespace {

std::string Format(std::time_t now, const char* format) {
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

std::string SystemBatchClock::LongTime() const {
    pending_ = now_();
    return Format(*pending_, "%X");
}

std::string SystemBatchClock::ShortDate() const {
    const std::time_t when = pending_ ? *pending_ : now_();
    pending_.reset();
    return Format(when, "%x");
}

}  // namespace tessvane
