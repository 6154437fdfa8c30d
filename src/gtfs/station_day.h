#pragma once

#include "gtfs/feed.h"
#include "model/scenario.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// Told how far a scan of stop_times.txt has got; returning false stops it with ScanCancelled.
using ScanProgress = std::function<bool(std::uint64_t done, std::uint64_t total)>;
struct ScanCancelled {};

// A station of the feed (a station with its child stops, or a stop without a parent) and how
// many trains call there on a day.
struct StationCount {
    int stop = -1;
    std::string id;
    std::string name;
    int trains = 0;
};

// The feed's stations, busiest first on `day` (then by name), counting only rail services when
// `onlyTrains`; a train repeated by several trips at the same minute counts once.
std::vector<StationCount> stationsOfDay(const GtfsFeed& feed, date::sys_days day, bool onlyTrains,
                                        const ScanProgress& progress = {});

// The stations `text` names: the one whose stop_id it is (a child stop's station for a child's
// id), else those named exactly so, else those whose name holds it ignoring letter case.
std::vector<int> stationsNamed(const GtfsFeed& feed, std::string_view text);

// The day an import starts on: the feed's busiest day from `today` on, or its busiest day when
// `today` is past its end. Ties go to the earlier day.
date::sys_days defaultServiceDay(const GtfsFeed& feed, date::sys_days today);

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

// What the user chooses of a station's day.
struct ImportChoice {
    bool onlyTrains = true;
    // The window of first times at the station, both ends included; a window whose start lies
    // after its end crosses midnight.
    int fromMinute = 0;
    int toMinute = 24 * 60 - 1;
    std::map<std::string, int> categories; // kind → category position, where the user chose
};

struct KindChoice {
    std::string kind;
    int trains = 0;
    int category = 0; // the user's, else the default
};

// The trains a choice gives, each as INSERISCI TRENO would store it from the call's values, with
// the track its platform code names where `station` has that track, else none.
struct ChosenTrains {
    std::vector<Treno> trains;
    std::vector<KindChoice> kinds; // the kinds among the chosen trains, most trains first
};
ChosenTrains chooseTrains(const StationDay& day, const ImportChoice& choice,
                          const Scenario& station);

// The station's name and the tracks its platform codes name as the station data of `s`.
void useFeedStation(Scenario& s, const StationDay& day);

// Why `trains` cannot be appended to `base`, or nullopt: more than the table holds, or texts past
// the file's limits.
std::optional<std::string> importRefusal(const Scenario& base, const std::vector<Treno>& trains);

} // namespace zeb
