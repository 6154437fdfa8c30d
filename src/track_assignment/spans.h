#pragma once

#include "timetable/occupancy.h"
#include "timetable/train_times.h"

#include <algorithm>

namespace zeb {

// An occupancy widened by the separation, so that two trains clash exactly where their spans
// meet: [start, end) with start in 0..1439, end past 1440 across midnight.
struct Span {
    int start;
    int end;
};

// The checker's rule, the separation being in the spans' ends already.
inline bool clash(const Span& a, const Span& b) {
    return tooClose(a.start, a.end, b.start, b.end, 0);
}

// The minutes between two spans round the clock, the shorter way: from the end of one to the
// start of the other.
inline int gapAround(const Span& a, const Span& b) {
    auto after = [](const Span& first, const Span& next) {
        return minutesAfter(first.end, next.start);
    };
    return std::min(after(a, b), after(b, a));
}

} // namespace zeb
