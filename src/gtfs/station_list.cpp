#include "gtfs/station_list.h"

#include "gtfs/service_rules.h"
#include "gtfs/stop_times_scan.h"
#include "model/value_tables.h"

#include <algorithm>
#include <array>
#include <unordered_set>

namespace zeb {

namespace {

// The train number of each trip that runs near the day, as a small id; only trips that share
// their number with another may repeat a train, so the others count without a look-up.
struct TripNumbers {
    TripNumbers(const GtfsFeed& feed, const std::vector<std::uint16_t>& runs)
        : ofTrip(feed.trips.size(), -1) {
        IndexOf numbers;
        for (std::size_t i = 0; i < feed.trips.size(); ++i) {
            const GtfsTrip& t = feed.trips[i];
            if (t.service < 0 || runs[static_cast<std::size_t>(t.service)] == 0)
                continue;
            const std::string number =
                trainNumber(t, feed.routes[static_cast<std::size_t>(t.route)]);
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

// The shift from a route's zone to a stop's at noon of the day, in seconds, for a stop in another.
class ZoneShifts {
public:
    explicit ZoneShifts(date::sys_days day)
        : noon_(date::sys_seconds(day) + std::chrono::hours(12)) {}

    int operator()(const date::time_zone* route, const date::time_zone* stop) {
        if (!stop || stop == route || !route)
            return 0;
        const auto [it, added] = shifts_.try_emplace({route, stop}, 0);
        if (added)
            it->second = static_cast<int>(
                (stop->get_info(noon_).offset - route->get_info(noon_).offset).count());
        return it->second;
    }

private:
    date::sys_seconds noon_;
    std::map<std::pair<const date::time_zone*, const date::time_zone*>, int> shifts_;
};

// How many trains call at each stop's station on the day, by one scan of stop_times.
std::vector<std::int64_t> callsPerStation(const GtfsFeed& feed, date::sys_days day, bool onlyTrains,
                                          const ScanProgress& progress) {
    const std::vector<std::uint16_t> runs = candidateRuns(feed, day);
    const TripNumbers numbers(feed, runs);
    ZoneShifts shiftOf(day);
    std::vector<std::int64_t> counts(feed.stops.size(), 0);
    std::unordered_set<std::uint64_t> seen;
    TripCursor cursor(feed);
    scanStopTimes(feed, progress, [&](const GtfsTable& table, const StopTimeColumns& c) {
        bool changed = false;
        const int trip = cursor.trip(table, c.trip, changed);
        const GtfsTrip& t = feed.trips[static_cast<std::size_t>(trip)];
        if (t.service < 0 || runs[static_cast<std::size_t>(t.service)] == 0)
            return;
        const GtfsRoute& route = feed.routes[static_cast<std::size_t>(t.route)];
        if ((onlyTrains && !isRailService(route.type)) ||
            (noPassengers(table.field(c.pickup)) && noPassengers(table.field(c.dropOff))))
            return;
        int seconds = secondsIn(table, c.arrival);
        if (seconds < 0)
            seconds = secondsIn(table, c.departure);
        if (seconds < 0)
            return;
        const int stopIndex = lookup(table, c.stop, feed.stopIndex, "la fermata", "stops.txt");
        const GtfsStop& stop = feed.stops[static_cast<std::size_t>(stopIndex)];
        const int local = seconds + shiftOf(route.zone, stopZone(feed, stop));
        const int k = kDaysBack - (local >= 0 ? local / kSecondsPerDay : -1);
        if (k < 0 || k >= kCandidateDays ||
            (runs[static_cast<std::size_t>(t.service)] >> k & 1) == 0)
            return;
        std::int64_t& count = counts[static_cast<std::size_t>(stop.station)];
        if (const auto frequencies = feed.frequencies.find(trip);
            frequencies != feed.frequencies.end()) {
            for (const GtfsFrequency& f : frequencies->second)
                count += (f.end - f.start) / f.headway + 1;
            return;
        }
        if (!numbers.shared(trip)) {
            ++count;
            return;
        }
        const std::uint64_t key =
            static_cast<std::uint64_t>(stop.station) << 40 |
            static_cast<std::uint64_t>(numbers.ofTrip[static_cast<std::size_t>(trip)]) << 12 |
            static_cast<std::uint64_t>(local / 60 % 1440);
        if (seen.insert(key).second)
            ++count;
    });
    return counts;
}

} // namespace

std::vector<StationCount> stationsOfDay(const GtfsFeed& feed, date::sys_days day, bool onlyTrains,
                                        const ScanProgress& progress) {
    const std::vector<std::int64_t> counts = callsPerStation(feed, day, onlyTrains, progress);
    std::vector<StationCount> stations;
    for (std::size_t i = 0; i < feed.stops.size(); ++i) {
        const GtfsStop& stop = feed.stops[i];
        if (stop.station != static_cast<int>(i) ||
            (stop.locationType != 0 && stop.locationType != 1))
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
