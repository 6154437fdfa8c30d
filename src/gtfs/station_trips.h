#pragma once

#include "gtfs/feed.h"
#include "gtfs/station_day.h"

#include <date/date.h>

#include <cstdint>
#include <functional>
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

// A trip with more rows than this is no timetable a station could show: it is left out, and its
// rows are never all kept.
inline constexpr std::size_t kMaxTripRows = 100'000;
inline constexpr std::size_t kMaxTripBytes = 32u << 20;
// The rows kept at once of trips whose rows lie apart in stop_times.txt; past them the reading
// stops with GtfsError.
inline constexpr std::size_t kMaxScatteredRows = 2'000'000;

// Where the trips of a station's day go as they are read.
struct StationTripsVisitor {
    // A trip that calls at the station on a service day that may reach the day, with its rows in
    // the order of stop_times.txt.
    std::function<void(int trip, std::vector<TripRow>& rows)> trip;
    // The rows handed over for `trip` were not all of its rows: forget them, the whole trip comes
    // again later.
    std::function<void(int trip)> partial;
};

// Stands for every station of the feed: each trip that runs near the day is handed over.
inline constexpr int kEveryStation = -1;

// Reads stop_times.txt for `station` and `day`, handing each trip over as soon as its rows end:
// one pass when stop_times keeps each trip's rows together (as feeds do), a second pass for the
// trips it does not. Memory stays within one trip's rows, and the rows of the scattered trips. A
// row of those trips that cannot be read stops the reading with GtfsError, naming its line and
// column. Returns how many trips were left out for having more than kMaxTripRows rows.
int readStationTrips(const GtfsFeed& feed, int station, date::sys_days day,
                     const ScanProgress& progress, const StationTripsVisitor& visitor);

} // namespace zeb
