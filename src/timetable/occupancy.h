#pragma once

#include "model/scenario.h"

#include <string>
#include <vector>

namespace zeb {

// The minutes the checker and the chart take as given; the user may change them for a session.
struct CheckSettings {
    int separation = 3;   // the least gap between two trains on one track
    int turnaround = 10;  // a terminating train holds its track this long after arriving
    int preparation = 10; // a starting train holds its track this long before leaving
};

enum class OccupancyKind { Passing, Terminating, Starting };

// One train's hold on its track, in minutes from the midnight before `start`: start is in
// 0..1439 and end >= start, so an occupancy across midnight ends past 1440.
struct Occupancy {
    int train; // index in the table
    std::string track;
    int start;
    int end;
    OccupancyKind kind;
};

// The occupancies of every stored train of a category with a track whose times it needs are
// valid, in table order. Tracks are not checked against the station here.
std::vector<Occupancy> trackOccupancies(const Scenario& s, const CheckSettings& settings);

} // namespace zeb
