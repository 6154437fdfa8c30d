#include "model/clock.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// Any minute, days before or after, lands on the clock where the day's minute is; the minutes
// from one time to another and back make a day, or nothing for the same time.
TEST(Clock, MinutesRoundTheClock) {
    for (int minute = -3 * kMinutesPerDay; minute <= 3 * kMinutesPerDay; minute += 7) {
        const int onClock = minuteOnClock(minute);
        ASSERT_GE(onClock, 0);
        ASSERT_LT(onClock, kMinutesPerDay);
        ASSERT_EQ((minute - onClock) % kMinutesPerDay, 0) << minute;
        const int other = minuteOnClock(minute * 13 + 5);
        const int there = minutesAfter(onClock, other), back = minutesAfter(other, onClock);
        ASSERT_EQ(minuteOnClock(onClock + there), other);
        ASSERT_EQ(there + back, onClock == other ? 0 : kMinutesPerDay) << minute;
    }
    static_assert(minutesAfter(23 * 60 + 50, 20) == 30);
}

} // namespace
} // namespace zeb
