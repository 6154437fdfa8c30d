#pragma once

#include "gtfs/feed.h"
#include "gtfs/station_day.h"

#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// A station of the feed (a station with its child stops, or a stop without a parent) and how
// many trains call there on a day.
struct StationCount {
    int stop = -1;
    std::string id;
    std::string name;
    int trains = 0; // kMaxTrains + 1 for more than a scenario holds

    // "12", or "più di 2001" past what a scenario holds.
    std::string trainsText() const {
        return trains > kMaxTrains ? "più di " + std::to_string(kMaxTrains)
                                   : std::to_string(trains);
    }
};

// The most calls the list makes at all the stations of a day, counting repeated ones: far beyond
// any feed's day, it bounds a feed made to exhaust the count. Past it the count stops with
// GtfsError.
inline constexpr std::size_t kMaxListCallsMade = 20'000'000;

// The feed's stations, busiest first on `day` (then by name), counting only rail services when
// `onlyTrains` (then a station without a train is left out). A station's count is what an import
// of its whole day would take (readStationDay, chooseTrains).
std::vector<StationCount> stationsOfDay(const GtfsFeed& feed, date::sys_days day, bool onlyTrains,
                                        const ScanProgress& progress = {});

// The stations `text` names: the one whose stop_id it is (a child stop's station for a child's
// id), else those named exactly so, else, letter case and accents aside, those so named, those
// whose name starts so, those whose name holds it.
std::vector<int> stationsNamed(const GtfsFeed& feed, std::string_view text);

// The day an import starts on: the feed's busiest day from `today` on, or its busiest day when
// `today` is past its end. Ties go to the earlier day.
date::sys_days defaultServiceDay(const GtfsFeed& feed, date::sys_days today);

} // namespace zeb
