#include "gtfs/station_list.h"

#include "gtfs/day_runs.h"
#include "gtfs/gtfs_error.h"
#include "gtfs/service_rules.h"
#include "gtfs/station_trips.h"
#include "model/value_tables.h"
#include "text/latin_letters.h"

#include <algorithm>
#include <array>
#include <tuple>
#include <unordered_set>

namespace zeb {

namespace {

// The train number of each trip that runs near the day, as a small id, written as the import
// writes it; only trips that share their number with another may repeat a train.
struct TripNumbers {
    TripNumbers(const GtfsFeed& feed, const DayRuns& runs) : ofTrip(feed.trips.size(), -1) {
        IndexOf numbers;
        for (std::size_t i = 0; i < feed.trips.size(); ++i) {
            const GtfsTrip& t = feed.trips[i];
            if (runs.runsOf(t.service) == 0)
                continue;
            bool changed = false;
            const std::string number = fittedName(
                trainNumber(t, feed.routes[static_cast<std::size_t>(t.route)]).text, changed);
            int id = numbers.find(number);
            if (id < 0) {
                id = static_cast<int>(tripsWith.size());
                numbers.insert(number, id);
                tripsWith.push_back(0);
            }
            ofTrip[i] = id;
            ++tripsWith[static_cast<std::size_t>(id)];
        }
    }

    bool shared(int trip) const {
        return tripsWith[static_cast<std::size_t>(ofTrip[static_cast<std::size_t>(trip)])] > 1;
    }

    std::vector<int> ofTrip;
    std::vector<int> tripsWith;
};

// A call of a trip whose number others share, kept until the day is read: the import may take it
// as a repeat or as part of a train run as several trips.
struct SharedCall {
    int station;
    int number;
    int arrival;   // minute of its day, -1 where passengers may not alight
    int departure; // -1 where they may not board
    int origin;    // a name's id, -1 for none
    int destination;
    std::uint32_t tripRows;
    bool counts; // a rail service, or any where every service counts
};

// The calls at every station on the day, taken as a station's day takes them (readStationDay):
// the same runs on the day, the same repeats and trips run as parts of one train left out. Calls
// of a number no other trip has are counted as they come; the others are kept to be compared.
class DayTally {
public:
    DayTally(const GtfsFeed& feed, date::sys_days day, bool onlyTrains)
        : feed_(feed), runs_(feed, day), numbers_(feed, runs_), onlyTrains_(onlyTrains),
          counts_(feed.stops.size(), 0), countedOf_(feed.trips.size()),
          sharedOf_(feed.trips.size()), nameOfStation_(feed.stops.size(), -1) {}

    void addTrip(int trip, std::vector<TripRow>& rows) {
        putInOrder(rows);
        const GtfsTrip& t = feed_.trips[static_cast<std::size_t>(trip)];
        const GtfsRoute& route = feed_.routes[static_cast<std::size_t>(t.route)];
        if (!route.unreadable.empty())
            return; // an import of a station it calls at refuses the day
        const bool counts = !onlyTrains_ || isRailService(route.type);
        const bool shared = numbers_.shared(trip);
        const std::vector<int> offsets = runOffsets(feed_, trip, rows);
        const auto tripRows = static_cast<std::uint32_t>(rows.size());
        sharedOf_[static_cast<std::size_t>(trip)] = {shared_.size(), shared_.size()};
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const CallUse use = callUseAt(rows, i);
            if ((!use.mayAlight && !use.mayBoard) || (rows[i].arrival < 0 && rows[i].departure < 0))
                continue;
            const int station = feed_.stops[static_cast<std::size_t>(rows[i].stop)].station;
            const int origin = use.mayAlight ? nameOf(rows.front().stop) : -1;
            const int destination = use.mayBoard ? nameOf(rows.back().stop) : -1;
            runs_.forEachRun(
                route, runs_.runsOf(t.service), rows[i], offsets, [&](const RunTimes& times) {
                    if (++made_ > kMaxListCallsMade)
                        throw GtfsError("Il feed dà più di " + std::to_string(kMaxListCallsMade) +
                                        " passaggi nelle stazioni in quel giorno: troppi da "
                                        "contare.");
                    const SharedCall call{station,
                                          numbers_.ofTrip[static_cast<std::size_t>(trip)],
                                          use.mayAlight ? times.arrival : -1,
                                          use.mayBoard ? times.departure : -1,
                                          origin,
                                          destination,
                                          tripRows,
                                          counts};
                    (shared ? shared_ : own_).push_back(call);
                });
        }
        sharedOf_[static_cast<std::size_t>(trip)].second = shared_.size();
        // A number of its own repeats a train only within its trip: counted now.
        countedOf_[static_cast<std::size_t>(trip)] = {counted_.size(), counted_.size()};
        countGroups(own_, [&](int station) { counted_.push_back(station); });
        countedOf_[static_cast<std::size_t>(trip)].second = counted_.size();
    }

    // What `trip` counted or kept is taken back: it comes again whole.
    void forgetTrip(int trip) {
        auto& [from, to] = countedOf_[static_cast<std::size_t>(trip)];
        for (std::size_t c = from; c < to; ++c)
            --counts_[static_cast<std::size_t>(counted_[c])];
        from = to;
        auto& [first, last] = sharedOf_[static_cast<std::size_t>(trip)];
        for (std::size_t c = first; c < last; ++c)
            shared_[c].station = -1;
        first = last;
    }

    std::vector<std::int64_t> finish() {
        std::erase_if(shared_, [](const SharedCall& call) { return call.station < 0; });
        countGroups(shared_, [](int) {});
        return std::move(counts_);
    }

private:
    // Counts the trains of `calls`, each number at each station apart, telling `counted` the
    // station of each; `calls` are left empty.
    template <typename Counted> void countGroups(std::vector<SharedCall>& calls, Counted counted) {
        std::stable_sort(calls.begin(), calls.end(), [](const SharedCall& a, const SharedCall& b) {
            return std::tie(a.station, a.number) < std::tie(b.station, b.number);
        });
        for (std::size_t from = 0; from < calls.size();) {
            std::size_t to = from + 1;
            while (to < calls.size() && calls[to].station == calls[from].station &&
                   calls[to].number == calls[from].number)
                ++to;
            countTrainsOf(calls, from, to, counted);
            from = to;
        }
        calls.clear();
    }

    // The calls of one number at one station, in the order they were made: a repeat of the same
    // times is left out, then of two parts of one train the shorter trip.
    template <typename Counted>
    void countTrainsOf(const std::vector<SharedCall>& group, std::size_t from, std::size_t to,
                       Counted counted) {
        if (to - from == 1) { // most numbers call once at a station
            if (group[from].counts) {
                ++counts_[static_cast<std::size_t>(group[from].station)];
                counted(group[from].station);
            }
            return;
        }
        std::vector<SharedCall> calls;
        std::unordered_set<int> times; // for many calls; a few are compared with each other
        for (std::size_t c = from; c < to; ++c) {
            const SharedCall& call = group[c];
            const bool repeated =
                to - from <= 16
                    ? std::any_of(calls.begin(), calls.end(),
                                  [&](const SharedCall& k) {
                                      return k.arrival == call.arrival &&
                                             k.departure == call.departure;
                                  })
                    : !times.insert((call.arrival + 1) * 2048 + call.departure + 1).second;
            if (!repeated)
                calls.push_back(call);
        }
        std::vector<bool> dropped(calls.size(), false);
        markSplitParts(
            dropped,
            [&](std::size_t i, std::size_t j) {
                const SharedCall &a = calls[i], &b = calls[j];
                const bool leaving = a.departure >= 0 && a.departure == b.departure &&
                                     a.destination == b.destination;
                const bool arriving =
                    a.arrival >= 0 && a.arrival == b.arrival && a.origin == b.origin;
                return leaving || arriving;
            },
            [&](std::size_t k) { return calls[k].tripRows; });
        for (std::size_t c = 0; c < calls.size(); ++c) {
            if (!dropped[c] && calls[c].counts) {
                ++counts_[static_cast<std::size_t>(calls[c].station)];
                counted(calls[c].station);
            }
        }
    }

    // A station's name as a train's ends give it, as an id.
    int nameOf(int stop) {
        const int station = feed_.stops[static_cast<std::size_t>(stop)].station;
        int& id = nameOfStation_[static_cast<std::size_t>(station)];
        if (id < 0) {
            bool changed = false;
            const std::string name = stopListName(
                fittedName(feed_.stops[static_cast<std::size_t>(station)].name, changed));
            id = names_.find(name);
            if (id < 0) {
                id = static_cast<int>(names_.size());
                names_.insert(name, id);
            }
        }
        return id;
    }

    const GtfsFeed& feed_;
    DayRuns runs_;
    TripNumbers numbers_;
    bool onlyTrains_;
    std::vector<std::int64_t> counts_;
    std::vector<int> counted_; // the stations counted, trip by trip
    std::vector<std::pair<std::size_t, std::size_t>> countedOf_;
    std::vector<SharedCall> shared_;
    std::vector<std::pair<std::size_t, std::size_t>> sharedOf_;
    std::vector<int> nameOfStation_;
    IndexOf names_;
    std::vector<SharedCall> own_; // the calls of a trip whose number is its own
    std::size_t made_ = 0;
};

} // namespace

std::vector<StationCount> stationsOfDay(const GtfsFeed& feed, date::sys_days day, bool onlyTrains,
                                        const ScanProgress& progress) {
    DayTally tally(feed, day, onlyTrains);
    const StationTripsVisitor visitor{
        [&](int trip, std::vector<TripRow>& rows) { tally.addTrip(trip, rows); },
        [&](int trip) { tally.forgetTrip(trip); }};
    readStationTrips(feed, kEveryStation, day, progress, visitor);
    const std::vector<std::int64_t> counts = tally.finish();
    std::vector<StationCount> stations;
    for (std::size_t i = 0; i < feed.stops.size(); ++i) {
        const GtfsStop& stop = feed.stops[i];
        if (stop.station != static_cast<int>(i) ||
            (stop.locationType != 0 && stop.locationType != 1) || (onlyTrains && counts[i] == 0))
            continue;
        // Past what a scenario holds the count stops: "più di 2001".
        stations.push_back({static_cast<int>(i), stop.id, stop.name,
                            static_cast<int>(std::min<std::int64_t>(counts[i], kMaxTrains + 1))});
    }
    std::stable_sort(stations.begin(), stations.end(),
                     [](const StationCount& a, const StationCount& b) {
                         return a.trains != b.trains ? a.trains > b.trains : a.name < b.name;
                     });
    return stations;
}

std::vector<int> stationsNamed(const GtfsFeed& feed, std::string_view text) {
    if (const int id = feed.stopIndex.find(text); id >= 0)
        return {feed.stops[static_cast<std::size_t>(id)].station};
    // Found as written, as folded, by the start of the folded name, anywhere in it: the first
    // of these that finds any.
    std::array<std::vector<int>, 4> found;
    const std::string wanted = searchKey(text);
    for (std::size_t i = 0; i < feed.stops.size(); ++i) {
        const GtfsStop& stop = feed.stops[i];
        if (stop.station != static_cast<int>(i))
            continue;
        const std::string key = searchKey(stop.name);
        const std::size_t at = wanted.empty() ? std::string::npos : key.find(wanted);
        const int how = stop.name == text ? 0
                        : key == wanted   ? 1
                        : at == 0         ? 2
                        : at != key.npos  ? 3
                                          : -1;
        if (how >= 0)
            found[static_cast<std::size_t>(how)].push_back(static_cast<int>(i));
    }
    for (std::vector<int>& stations : found) {
        if (!stations.empty())
            return stations;
    }
    return {};
}

date::sys_days defaultServiceDay(const GtfsFeed& feed, date::sys_days today) {
    constexpr int kMostDays = 2 * 366;
    date::sys_days from = today > feed.lastDay ? feed.firstDay : std::max(today, feed.firstDay);
    if (daysBetween(from, feed.lastDay) >= kMostDays && today > feed.lastDay)
        from = feed.lastDay - date::days{kMostDays - 1};
    const date::sys_days to = std::min(feed.lastDay, from + date::days{kMostDays - 1});
    date::sys_days best = from;
    std::int64_t most = -1;
    for (date::sys_days d = from; d <= to; d += date::days{1}) {
        std::int64_t trips = 0;
        for (std::size_t s = 0; s < feed.services.size(); ++s) {
            if (feed.tripsOfService[s] > 0 && feed.services[s].runsOn(d))
                trips += feed.tripsOfService[s];
        }
        if (trips > most) {
            most = trips;
            best = d;
        }
    }
    return best;
}

} // namespace zeb
