// Where the batch run takes the time and date of its log lines from. The run
// asks for them once at its start and once at its end; tests hand in a clock
// that always answers the same.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace tessvane {

class BatchClock {
  public:
    virtual ~BatchClock() = default;
    // The current time in the system's long time format.
    virtual std::string LongTime() const = 0;
    // The current date in the system's short date format.
    virtual std::string ShortDate() const = 0;
};

// The machine's clock, formatted for the user's locale (strftime %X and %x
// under the environment's LC_TIME; "HH:MM:SS" and "MM/DD/YY" in the C locale).
//
// A log line takes the time and then the date. The date asked for right
// after a time is that time's date, so a line written as midnight passes
// never pairs 23:59:59 with the next day.
class SystemBatchClock final : public BatchClock {
  public:
    // `now` gives the current time; tests hand in their own.
    explicit SystemBatchClock(std::function<std::time_t()> now = [] { return std::time(nullptr); })
        : now_(std::move(now)) {}

    std::string LongTime() const override;
    std::string ShortDate() const override;

  private:
    std::function<std::time_t()> now_;
    // The instant of the last LongTime, until ShortDate has used it.
    mutable std::optional<std::time_t> pending_;
};

}  // namespace tessvane
