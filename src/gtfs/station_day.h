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

// One call of a trip at the station on the day, as a train without its category, its track and,
// where passengers may board, its list of stops, which the call names in StationDay::stopLists.
struct StationCall {
    Treno train;
    int stops = -1;                           // in StationDay::stopLists, for a train that leaves
    std::uint32_t stopsFrom = 0, stopsTo = 0; // the positions in that list of its stops
    int minute = 0; // the first time at the station (arrival, else departure), minute of the day
    int kind = 0;   // index into StationDay::kinds
    bool rail = true;
    std::optional<int> platformSlot; // the track its platform code names
    std::size_t tripRows = 0;        // of the trip it comes from
    bool lineNumber = false;         // its number is its line's: the feed gives the train none
    int block = -1;                  // of its trip, in GtfsFeed::blockIndex; -1 for none
    int serviceDay = 0;              // of its run, from the calendar day: -1 the day before
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
    // The stops after the calls of each trip that leaves, kept once for all its calls: positions
    // in stopNames of the stops where passengers may alight.
    std::vector<std::vector<std::uint32_t>> stopLists;
    std::vector<std::string> stopNames; // as a list of stops names them
    int untimedCalls = 0;               // calls without any time at the station, left out
    int repeatedCalls = 0;              // the same number at the same times again, left out
    // The names and numbers the file could not hold as they were, as they were and as written.
    std::vector<std::pair<std::string, std::string>> namesChanged;
    int longTrips = 0;                    // trips of more rows than any timetable has, left out
    std::vector<std::string> skippedRows; // of the feed's files, which the day does not need
};

// The most calls a day keeps, and the most it makes counting those left out as repeated: far
// beyond any station's day (a scenario holds 2001 trains), they bound a feed made to exhaust the
// reading. Past them the reading stops with GtfsError.
inline constexpr std::size_t kMaxDayCalls = 50'000;
inline constexpr std::size_t kMaxCallsMade = 1'000'000;
// The stops the lists of a day keep together (4 bytes each).
inline constexpr std::size_t kMaxListedStops = 8'000'000;

StationDay readStationDay(const GtfsFeed& feed, int station, date::sys_days day,
                          const ScanProgress& progress = {});

// The call's list of stops as INSERISCI TRENO stores it. A list longer than a stored text may be
// is cut just past that length: still too long to store, it costs no more to refuse.
std::string stopsText(const StationDay& day, const StationCall& call);

} // namespace zeb
