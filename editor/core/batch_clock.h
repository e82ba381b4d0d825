// Where the batch run takes the time and date of its log lines from. The run
// asks for them once at its start and once at its end; tests hand in a clock
// that always answers the same.
#pragma once

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
class SystemBatchClock final : public BatchClock {
public:
    std::string LongTime() const override;
    std::string ShortDate() const override;
};

}  // namespace tessvane
