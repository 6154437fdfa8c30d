#pragma once

#include "timetable/occupancy.h"

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

} // namespace zeb
