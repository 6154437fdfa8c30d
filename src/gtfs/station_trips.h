#pragma once

#include "gtfs/feed.h"
#include "gtfs/station_day.h"

#include <date/date.h>

#include <map>
#include <vector>

namespace zeb {

// The rows of one trip that matter for a station's day.
struct TripRow {
    int stop;
    int sequence;
    int arrival;   // seconds, -1 for none
    int departure; // seconds, -1 for none
    bool pickup;   // passengers may board
    bool dropOff;  // passengers may alight
};

// The trips that call at `station` on a service day that may reach `day`, each with its rows in
// the order of stop_times.txt. One pass when stop_times keeps each trip's rows together (as
// feeds do), a second pass for the trips it does not. A row of those trips that cannot be read
// stops the reading with GtfsError, naming its line and column.
std::map<int, std::vector<TripRow>> stationTrips(const GtfsFeed& feed, int station,
                                                 date::sys_days day, const ScanProgress& progress);

} // namespace zeb
