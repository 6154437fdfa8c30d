#pragma once

namespace zeb {

inline constexpr int kMinutesPerDay = 24 * 60;

// `minute` taken round the clock, 0 to 1439, however many days before or after it lies.
constexpr int minuteOnClock(int minute) {
    return (minute % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
}

// The minutes from `from` to the next time the clock shows `to`, 0 to 1439: a unit that arrives
// at 23:50 and leaves at 00:20 stands 30.
constexpr int minutesAfter(int from, int to) {
    return minuteOnClock(to - from);
}

} // namespace zeb
