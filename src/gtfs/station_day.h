#pragma once

#include "gtfs/feed.h"
#include "model/scenario.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// Told how far a scan of stop_times.txt has got; returning false stops it with ScanCancelled.
using ScanProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;
struct ScanCancelled {};

// One call of a trip at the station on the day, as a train without its category and track.
struct StationCall {
    Treno train;
    int minute = 0; // the first time at the station (arrival, else departure), minute of the day
    int kind = 0;   // index into StationDay::kinds
    bool rail = true;
    std::optional<int> platformSlot; // the track its platform code names
};

struct ServiceKind {
    std::string text;
    int routeType = 3;
};

// Every call at a station on a calendar day of the station, read in one pass over stop_times.
struct StationDay {
    std::string stationName;        // as the scenario file can hold it
    std::vector<int> platformSlots; // the tracks the station's platform codes name, in order
    std::vector<StationCall> calls; // in order of their minute, then number
    std::vector<ServiceKind> kinds;
    int untimedCalls = 0;  // calls without any time at the station, left out
    int repeatedCalls = 0; // the same number at the same times again, left out
    int namesChanged = 0;  // names and numbers the file could not hold as they were
};
StationDay readStationDay(const GtfsFeed& feed, int station, date::sys_days day,
                          const ScanProgress& progress = {});

} // namespace zeb
