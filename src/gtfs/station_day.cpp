#include "gtfs/station_day.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/service_rules.h"
#include "gtfs/station_trips.h"
#include "gtfs/stop_times_scan.h"
#include "model/track_slots.h"
#include "model/value_tables.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <unordered_map>

namespace zeb {

namespace {

// Names as the file can hold them, each fitted once and counted once when it changed.
class FittedNames {
public:
    const std::string& operator()(const std::string& name) {
        const auto [it, added] = names_.try_emplace(name);
        if (added) {
            bool changed = false;
            it->second = fittedName(name, changed);
            changed_ += changed ? 1 : 0;
        }
        return it->second;
    }
    int changed() const { return changed_; }

private:
    std::unordered_map<std::string, std::string> names_;
    int changed_ = 0;
};

// The tracks the platform codes of the station's stops name, in order.
std::vector<int> platformSlotsOf(const GtfsFeed& feed, int station) {
    std::vector<int> slots;
    for (const GtfsStop& stop : feed.stops) {
        if (stop.station != station)
            continue;
        const auto slot = trackSlotOfPlatform(stop.platformCode);
        if (slot && std::find(slots.begin(), slots.end(), *slot) == slots.end())
            slots.push_back(*slot);
    }
    std::sort(slots.begin(), slots.end());
    return slots;
}

// The runs of a trip: its own times, or one run per headway of its frequencies, as offsets from
// its own times.
std::vector<int> runOffsets(const GtfsFeed& feed, int trip, const std::vector<TripRow>& rows) {
    const auto f = feed.frequencies.find(trip);
    if (f == feed.frequencies.end())
        return {0};
    const int first =
        rows.front().departure >= 0 ? rows.front().departure : std::max(rows.front().arrival, 0);
    std::vector<int> offsets;
    for (const GtfsFrequency& frequency : f->second) {
        for (int start = frequency.start; start <= frequency.end; start += frequency.headway)
            offsets.push_back(start - first);
    }
    return offsets;
}

// One trip's call at the station: its rows, the row at the station, what passengers may do there.
struct TripCall {
    int trip;
    const std::vector<TripRow>& rows;
    std::size_t at;
    bool mayAlight;
    bool mayBoard;
    std::size_t lastAlighting;
};

// Builds the station's day trip by trip: each call on each service day and run that falls on the
// calendar day becomes a train, the same number at the same times once.
class DayBuilder {
public:
    DayBuilder(const GtfsFeed& feed, int station, date::sys_days day, StationDay& result)
        : feed_(feed), station_(station), day_(day), runs_(candidateRuns(feed, day)),
          result_(result) {}

    FittedNames fitted;

    void addTrip(int trip, std::vector<TripRow>& rows) {
        std::stable_sort(rows.begin(), rows.end(), [](const TripRow& a, const TripRow& b) {
            return a.sequence < b.sequence;
        });
        const GtfsTrip& t = feed_.trips[static_cast<std::size_t>(trip)];
        const GtfsRoute& route = feed_.routes[static_cast<std::size_t>(t.route)];
        number_ = fitted(trainNumber(t, route));
        const auto [kind, added] = kindIndex_.try_emplace({serviceKind(t, route), route.type},
                                                          static_cast<int>(kindIndex_.size()));
        if (added)
            result_.kinds.push_back({kind->first.first, route.type});
        kind_ = kind->second;
        std::size_t lastAlighting = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (rows[i].dropOff)
                lastAlighting = i;
        }
        const std::vector<int> offsets = runOffsets(feed_, trip, rows);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const GtfsStop& stop = feed_.stops[static_cast<std::size_t>(rows[i].stop)];
            if (stop.station != station_)
                continue;
            const TripCall call{trip,
                                rows,
                                i,
                                i > 0 && rows[i].dropOff,
                                i + 1 < rows.size() && rows[i].pickup,
                                lastAlighting};
            if (!call.mayAlight && !call.mayBoard)
                continue;
            if (rows[i].arrival < 0 && rows[i].departure < 0) {
                ++result_.untimedCalls;
                continue;
            }
            for (const int offset : offsets)
                addRuns(call, offset);
        }
    }

private:
    // The call on each service day it runs that brings it to the calendar day.
    void addRuns(const TripCall& call, int offset) {
        const GtfsTrip& t = feed_.trips[static_cast<std::size_t>(call.trip)];
        const GtfsRoute& route = feed_.routes[static_cast<std::size_t>(t.route)];
        const TripRow& row = call.rows[call.at];
        const GtfsStop& stop = feed_.stops[static_cast<std::size_t>(row.stop)];
        const date::time_zone* zone = stopZone(feed_, stop);
        if (!zone)
            zone = route.zone;
        const int first = row.arrival >= 0 ? row.arrival : row.departure;
        const int runsMask = runs_[static_cast<std::size_t>(t.service)];
        for (int k = 0; k < kCandidateDays; ++k) {
            if ((runsMask >> k & 1) == 0)
                continue;
            const date::sys_seconds start =
                clock_.dayStart(route.zone, day_ + date::days{k - kDaysBack});
            auto at = [&](int seconds) {
                return localTime(zone, start + std::chrono::seconds(seconds + offset));
            };
            const date::local_seconds local = at(first);
            const auto localDay = date::floor<date::days>(local);
            if (localDay.time_since_epoch() != day_.time_since_epoch())
                continue;
            StationCall made;
            made.minute = static_cast<int>(
                std::chrono::duration_cast<std::chrono::minutes>(local - localDay).count());
            fillTrain(made.train, call, at);
            if (!seen_
                     .emplace(made.train.numero, made.train.ora_arrivo, made.train.min_arrivo,
                              made.train.ora_partenza, made.train.min_partenza)
                     .second) {
                ++result_.repeatedCalls;
                continue;
            }
            made.kind = kind_;
            made.rail = isRailService(route.type);
            made.platformSlot = trackSlotOfPlatform(stop.platformCode);
            result_.calls.push_back(std::move(made));
        }
    }

    // The train's number, ends, times and stops as INSERISCI TRENO would take them; `at` gives
    // the local time of a time of the trip.
    template <typename LocalTime>
    void fillTrain(Treno& train, const TripCall& call, const LocalTime& at) {
        const TripRow& row = call.rows[call.at];
        const int first = row.arrival >= 0 ? row.arrival : row.departure;
        auto setTime = [&](int seconds, std::string& ora, std::string& minuti) {
            const date::local_seconds when = at(seconds);
            const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(
                                     when - date::floor<date::days>(when))
                                     .count();
            ora = twoDigits(minutes / 60);
            minuti = twoDigits(minutes % 60);
        };
        train.numero = number_;
        train.ora_arrivo = train.min_arrivo = "--";
        train.ora_partenza = train.min_partenza = "--";
        if (call.mayAlight) {
            train.provenienza = nameOf(call.rows.front().stop);
            setTime(first, train.ora_arrivo, train.min_arrivo);
        }
        if (!call.mayBoard) {
            train.fermate = std::string(kTerminaQui) + std::string(kFineFermate);
            return;
        }
        train.destinazione = nameOf(call.rows.back().stop);
        setTime(row.departure >= 0 ? row.departure : first, train.ora_partenza, train.min_partenza);
        std::string stops;
        for (std::size_t j = call.at + 1; j < call.lastAlighting; ++j) {
            if (call.rows[j].dropOff)
                stops += (stops.empty() ? "" : ",") + nameOf(call.rows[j].stop);
        }
        train.fermate = stops + std::string(kFineFermate);
    }

    // A stop's station as the train's ends and its list of stops name it.
    const std::string& nameOf(int stop) {
        const GtfsStop& s = feed_.stops[static_cast<std::size_t>(stop)];
        const std::string& name = fitted(feed_.stops[static_cast<std::size_t>(s.station)].name);
        const auto [listed, added] = listNames_.try_emplace(name);
        if (added)
            listed->second = stopListName(name);
        return listed->second;
    }

    const GtfsFeed& feed_;
    int station_;
    date::sys_days day_;
    std::vector<std::uint16_t> runs_;
    StationDay& result_;
    ServiceClock clock_;
    std::map<std::pair<std::string, int>, int> kindIndex_;
    std::set<std::tuple<std::string, std::string, std::string, std::string, std::string>> seen_;
    std::unordered_map<std::string, std::string> listNames_;
    std::string number_; // of the trip being added
    int kind_ = 0;
};

} // namespace

StationDay readStationDay(const GtfsFeed& feed, int station, date::sys_days day,
                          const ScanProgress& progress) {
    if (station < 0 || static_cast<std::size_t>(station) >= feed.stops.size())
        throw GtfsError("La stazione scelta non è nel feed");
    StationDay result;
    DayBuilder builder(feed, station, day, result);
    result.stationName = builder.fitted(feed.stops[static_cast<std::size_t>(station)].name);
    result.platformSlots = platformSlotsOf(feed, station);
    for (auto& [trip, rows] : stationTrips(feed, station, day, progress))
        builder.addTrip(trip, rows);
    std::stable_sort(
        result.calls.begin(), result.calls.end(), [](const StationCall& a, const StationCall& b) {
            return a.minute != b.minute ? a.minute < b.minute : a.train.numero < b.train.numero;
        });
    result.namesChanged = builder.fitted.changed();
    return result;
}

} // namespace zeb
