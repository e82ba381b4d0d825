// The machine clock of the batch log: a time and the date asked for right
// after it belong to one instant.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "core/batch_clock.h"

namespace tessvane {
namespace {

// Sets an environment variable for the life of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) previous_ = old;
        setenv(name, value, 1);
        tzset();
    }
    ~ScopedEnv() {
        if (previous_) {
            setenv(name_, previous_->c_str(), 1);
        } else {
            unsetenv(name_);
        }
        tzset();
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

TEST(SystemBatchClockTest, TimeAndDateOfOneLineAreOneInstantAcrossMidnight) {
    const ScopedEnv tz("TZ", "UTC");
    const ScopedEnv locale("LC_ALL", "C");
    // 2026-12-09 23:59:59 UTC; every later call is one second on.
    std::time_t now = 1796860799;
    const SystemBatchClock clock([&] { return now++; });

    EXPECT_EQ(clock.LongTime(), "23:59:59");
    EXPECT_EQ(clock.ShortDate(), "12/09/26");
    // The next line's time and date: both past midnight.
    EXPECT_EQ(clock.LongTime(), "00:00:00");
    EXPECT_EQ(clock.ShortDate(), "12/10/26");
    // A date asked for on its own is today's.
    EXPECT_EQ(clock.ShortDate(), "12/10/26");
}

}  // namespace
}  // namespace tessvane
