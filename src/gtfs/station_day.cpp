#include "gtfs/station_day.h"

#include "gtfs/gtfs_error.h"
#include "gtfs/gtfs_table.h"
#include "gtfs/service_rules.h"
#include "model/counted.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/text_limits.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <charconv>
#include <date/tz.h>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace zeb {

namespace {

using namespace std::chrono_literals;

constexpr int kSecondsPerDay = 24 * 3600;
// Calls are looked for on the service days from a week before the calendar day (feeds run past
// 48:00) to the day after (a station in a zone west of the agency's).
constexpr int kDaysBack = 7;
constexpr int kCandidateDays = kDaysBack + 2;
constexpr std::uint64_t kProgressEveryRows = 1 << 16;

int daysBetween(date::sys_days from, date::sys_days to) {
    return static_cast<int>((to - from).count());
}

// For each service, which of the candidate days (day - kDaysBack .. day + 1) it runs on.
std::vector<std::uint16_t> candidateRuns(const GtfsFeed& feed, date::sys_days day) {
    std::vector<std::uint16_t> runs(feed.services.size(), 0);
    for (std::size_t s = 0; s < feed.services.size(); ++s) {
        for (int k = 0; k < kCandidateDays; ++k) {
            if (feed.services[s].runsOn(day + date::days{k - kDaysBack}))
                runs[s] = static_cast<std::uint16_t>(runs[s] | (1u << k));
        }
    }
    return runs;
}

// The columns of stop_times.txt that every question reads.
struct StopTimeColumns {
    explicit StopTimeColumns(const GtfsTable& t)
        : trip(t.requiredColumn("trip_id")), arrival(t.requiredColumn("arrival_time")),
          departure(t.requiredColumn("departure_time")), stop(t.requiredColumn("stop_id")),
          sequence(t.requiredColumn("stop_sequence")), pickup(t.column("pickup_type")),
          dropOff(t.column("drop_off_type")) {}
    int trip, arrival, departure, stop, sequence, pickup, dropOff;
};

// A time of the row, or -1 where it has none; a value that is no time stops the import.
int secondsIn(const GtfsTable& table, int column) {
    const std::string_view text = table.field(column);
    if (text.empty())
        return -1;
    const auto seconds = gtfsSeconds(text);
    if (!seconds)
        table.fail(column, "«" + std::string(text) + "» non è un orario H:MM:SS");
    return *seconds;
}

int lookup(const GtfsTable& table, int column, const IndexOf& index, const char* what,
           const char* file) {
    const int found = index.find(table.field(column));
    if (found < 0)
        table.fail(column, std::string(what) + " «" + std::string(table.field(column)) +
                               "» non è in " + file);
    return found;
}

// The trip of each row of stop_times: its rows come together, and mostly in the order of
// trips.txt, so the index is asked only where the next trip of that order is not the one.
class TripCursor {
public:
    explicit TripCursor(const GtfsFeed& feed) : feed_(feed) {}

    // The row's trip; `changed` tells whether it differs from the previous row's.
    int trip(const GtfsTable& table, int column, bool& changed) {
        const std::string_view id = table.field(column);
        changed = trip_ < 0 || id != feed_.trips[static_cast<std::size_t>(trip_)].id;
        if (!changed)
            return trip_;
        const std::size_t next = static_cast<std::size_t>(trip_ + 1);
        trip_ = next < feed_.trips.size() && feed_.trips[next].id == id
                    ? static_cast<int>(next)
                    : lookup(table, column, feed_.tripIndex, "la corsa", "trips.txt");
        return trip_;
    }

private:
    const GtfsFeed& feed_;
    int trip_ = -1;
};

bool noPassengers(std::string_view type) {
    return type == "1";
}

// Walks stop_times.txt row by row, telling `progress` now and then.
template <typename OnRow>
void scanStopTimes(const GtfsFeed& feed, const ScanProgress& progress, OnRow onRow) {
    GtfsTable table(*feed.source, "stop_times.txt");
    const StopTimeColumns columns(table);
    const std::uint64_t total = feed.source->size("stop_times.txt");
    std::uint64_t rows = 0;
    while (table.next()) {
        if (++rows % kProgressEveryRows == 0 && progress && !progress(table.bytesRead(), total))
            throw ScanCancelled{};
        onRow(table, columns);
    }
}

// Service days start at noon less twelve hours, local time, which differs from midnight on the
// days clocks change.
class ServiceClock {
public:
    date::sys_seconds dayStart(const date::time_zone* zone, date::sys_days day) {
        const auto key = std::make_pair(zone, day);
        const auto it = starts_.find(key);
        if (it != starts_.end())
            return it->second;
        date::sys_seconds start = date::sys_seconds(day);
        if (zone)
            start =
                zone->to_sys(date::local_seconds(date::local_days(day.time_since_epoch())) + 12h,
                             date::choose::earliest) -
                12h;
        return starts_[key] = start;
    }

private:
    std::map<std::pair<const date::time_zone*, date::sys_days>, date::sys_seconds> starts_;
};

date::local_seconds localTime(const date::time_zone* zone, date::sys_seconds instant) {
    return zone ? zone->to_local(instant) : date::local_seconds(instant.time_since_epoch());
}

std::string twoDigits(long value) {
    return std::string(1, static_cast<char>('0' + value / 10)) +
           static_cast<char>('0' + value % 10);
}

// A zone other than the route's where the stop or its station names one.
const date::time_zone* stopZone(const GtfsFeed& feed, const GtfsStop& stop) {
    return stop.zone ? stop.zone : feed.stops[static_cast<std::size_t>(stop.station)].zone;
}

} // namespace

std::vector<StationCount> stationsOfDay(const GtfsFeed& feed, date::sys_days day, bool onlyTrains,
                                        const ScanProgress& progress) {
    const std::vector<std::uint16_t> runs = candidateRuns(feed, day);
    std::vector<int> counts(feed.stops.size(), 0);
    // Only trips that share their number with another may repeat a train; the others count
    // without a look-up.
    IndexOf numbers;
    std::vector<int> numberOfTrip(feed.trips.size(), -1);
    std::vector<int> tripsOfNumber;
    for (std::size_t i = 0; i < feed.trips.size(); ++i) {
        const GtfsTrip& t = feed.trips[i];
        if (t.service < 0 || runs[static_cast<std::size_t>(t.service)] == 0)
            continue;
        const std::string number = trainNumber(t, feed.routes[static_cast<std::size_t>(t.route)]);
        int id = numbers.find(number);
        if (id < 0) {
            id = static_cast<int>(tripsOfNumber.size());
            numbers.insert(number, id);
            tripsOfNumber.push_back(0);
        }
        numberOfTrip[i] = id;
        ++tripsOfNumber[static_cast<std::size_t>(id)];
    }
    std::unordered_set<std::uint64_t> seen;
    // The shift from the route's zone to the stop's at noon of the day, for a stop in another.
    std::map<std::pair<const date::time_zone*, const date::time_zone*>, int> shifts;
    auto shiftOf = [&](const date::time_zone* route, const date::time_zone* stop) {
        if (!stop || stop == route || !route)
            return 0;
        const auto [it, added] = shifts.try_emplace({route, stop}, 0);
        if (added) {
            const auto noon = date::sys_seconds(day) + 12h;
            it->second = static_cast<int>(
                (stop->get_info(noon).offset - route->get_info(noon).offset).count());
        }
        return it->second;
    };
    TripCursor cursor(feed);
    scanStopTimes(feed, progress, [&](const GtfsTable& table, const StopTimeColumns& c) {
        bool changed = false;
        const int trip = cursor.trip(table, c.trip, changed);
        const GtfsTrip& t = feed.trips[static_cast<std::size_t>(trip)];
        if (t.service < 0 || runs[static_cast<std::size_t>(t.service)] == 0)
            return;
        const GtfsRoute& route = feed.routes[static_cast<std::size_t>(t.route)];
        if (onlyTrains && !isRailService(route.type))
            return;
        if (noPassengers(table.field(c.pickup)) && noPassengers(table.field(c.dropOff)))
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
        const auto frequencies = feed.frequencies.find(trip);
        if (frequencies != feed.frequencies.end()) {
            for (const GtfsFrequency& f : frequencies->second)
                counts[static_cast<std::size_t>(stop.station)] += (f.end - f.start) / f.headway + 1;
            return;
        }
        const int number = numberOfTrip[static_cast<std::size_t>(trip)];
        if (tripsOfNumber[static_cast<std::size_t>(number)] == 1) {
            ++counts[static_cast<std::size_t>(stop.station)];
            return;
        }
        const std::uint64_t key = static_cast<std::uint64_t>(stop.station) << 40 |
                                  static_cast<std::uint64_t>(number) << 12 |
                                  static_cast<std::uint64_t>(local / 60 % 1440);
        if (seen.insert(key).second)
            ++counts[static_cast<std::size_t>(stop.station)];
    });
    std::vector<StationCount> stations;
    for (std::size_t i = 0; i < feed.stops.size(); ++i) {
        const GtfsStop& stop = feed.stops[i];
        if (stop.station != static_cast<int>(i) ||
            (stop.locationType != 0 && stop.locationType != 1))
            continue;
        stations.push_back({static_cast<int>(i), stop.id, stop.name, counts[i]});
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
    std::vector<int> exact;
    std::vector<int> partial;
    const std::string wanted = lowered(text);
    for (std::size_t i = 0; i < feed.stops.size(); ++i) {
        const GtfsStop& stop = feed.stops[i];
        if (stop.station != static_cast<int>(i))
            continue;
        if (stop.name == text)
            exact.push_back(static_cast<int>(i));
        else if (!wanted.empty() && lowered(stop.name).find(wanted) != std::string::npos)
            partial.push_back(static_cast<int>(i));
    }
    return exact.empty() ? partial : exact;
}

date::sys_days defaultServiceDay(const GtfsFeed& feed, date::sys_days today) {
    constexpr int kMostDays = 2 * 366;
    date::sys_days from = today > feed.lastDay ? feed.firstDay : std::max(today, feed.firstDay);
    if (daysBetween(from, feed.lastDay) >= kMostDays && today > feed.lastDay)
        from = feed.lastDay - date::days{kMostDays - 1};
    const date::sys_days to = std::min(feed.lastDay, from + date::days{kMostDays - 1});
    date::sys_days best = from;
    long most = -1;
    for (date::sys_days d = from; d <= to; d += date::days{1}) {
        long trips = 0;
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

namespace {

// The rows of one trip that matter for a station's day.
struct TripRow {
    int stop;
    int sequence;
    int arrival;   // seconds, -1 for none
    int departure; // seconds, -1 for none
    bool pickup;   // passengers may board
    bool dropOff;  // passengers may alight
};

// A row kept as text until its trip is known to call at the station, so that the rows of
// other trips cost no parsing: the row as the file has it, or, for a row with quotes, its six
// values one after the other.
struct RawRow {
    long line;
    std::size_t start;
    bool plain;
    std::array<std::uint32_t, 6> lengths; // stop, arrival, departure, sequence, pickup, drop-off
};
constexpr const char* kRawColumns[] = {"stop_id",       "arrival_time", "departure_time",
                                       "stop_sequence", "pickup_type",  "drop_off_type"};

[[noreturn]] void failInRow(long line, int column, const std::string& what) {
    throw GtfsError("stop_times.txt, riga " + std::to_string(line) + ", colonna " +
                    kRawColumns[column] + ": " + what);
}

int secondsOf(std::string_view text, long line, int column) {
    if (text.empty())
        return -1;
    const auto seconds = gtfsSeconds(text);
    if (!seconds)
        failInRow(line, column, "«" + std::string(text) + "» non è un orario H:MM:SS");
    return *seconds;
}

// Gathers the trips that call at the station on a candidate day, in one pass when stop_times
// keeps each trip's rows together (as feeds do), with a second pass for the trips it does not.
class StationTrips {
public:
    StationTrips(const GtfsFeed& feed, int station, date::sys_days day)
        : feed_(feed), runs_(candidateRuns(feed, day)), groups_(feed.trips.size(), 0) {
        for (std::size_t i = 0; i < feed.stops.size(); ++i) {
            if (feed.stops[i].station == station) {
                stationStops_.insert(feed.stops[i].id, static_cast<int>(i));
                if (!feed.stops[i].id.empty())
                    firstBytes_.set(static_cast<unsigned char>(feed.stops[i].id.front()));
            }
        }
    }

    std::map<int, std::vector<TripRow>> read(const ScanProgress& progress) {
        scan(progress, [](int) { return true; });
        std::set<int> split;
        for (const auto& [trip, rows] : kept_) {
            if (groups_[static_cast<std::size_t>(trip)] > 1)
                split.insert(trip);
        }
        if (!split.empty()) {
            for (int trip : split)
                kept_[trip].clear();
            rereading_ = true;
            scan(progress, [&](int trip) { return split.contains(trip); });
        }
        return std::move(kept_);
    }

private:
    template <typename Wanted> void scan(const ScanProgress& progress, Wanted wanted) {
        trip_ = -1;
        TripCursor cursor(feed_);
        scanStopTimes(feed_, progress, [&](const GtfsTable& table, const StopTimeColumns& c) {
            if (trip_ < 0) {
                columns_ = {c.stop, c.arrival, c.departure, c.sequence, c.pickup, c.dropOff};
            }
            bool changed = false;
            const int trip = cursor.trip(table, c.trip, changed);
            if (changed) {
                finishGroup();
                trip_ = trip;
                const int service = feed_.trips[static_cast<std::size_t>(trip_)].service;
                relevant_ =
                    service >= 0 && runs_[static_cast<std::size_t>(service)] != 0 && wanted(trip_);
                if (!rereading_ && groups_[static_cast<std::size_t>(trip_)] < 255)
                    ++groups_[static_cast<std::size_t>(trip_)];
            }
            if (!relevant_)
                return;
            RawRow row{table.line(), text_.size(), !table.plainRow().empty(), {}};
            if (row.plain) {
                text_.append(table.plainRow());
                row.lengths[0] = static_cast<std::uint32_t>(table.plainRow().size());
            } else {
                for (std::size_t k = 0; k < row.lengths.size(); ++k) {
                    const std::string_view value = table.field(columns_[k]);
                    text_.append(value);
                    row.lengths[k] = static_cast<std::uint32_t>(value.size());
                }
            }
            group_.push_back(row);
            if (!touches_) {
                // Most stops are told apart from the station's by their first byte alone.
                const std::string_view stop = table.field(c.stop);
                touches_ = !stop.empty() && firstBytes_.test(static_cast<unsigned char>(stop[0])) &&
                           stationStops_.find(stop) >= 0;
            }
        });
        finishGroup();
    }

    void finishGroup() {
        if ((touches_ || rereading_) && trip_ >= 0 && !group_.empty()) {
            auto& rows = kept_[trip_];
            for (const RawRow& raw : group_)
                rows.push_back(parsed(raw));
        }
        group_.clear();
        text_.clear();
        touches_ = false;
    }

    TripRow parsed(const RawRow& raw) const {
        std::array<std::string_view, 6> fields;
        if (raw.plain) {
            // The row's values by the header's columns, trimmed as GtfsTable::field trims them.
            const std::string_view text = std::string_view(text_).substr(raw.start, raw.lengths[0]);
            std::vector<std::string_view> values;
            for (std::size_t at = 0;;) {
                const auto comma = text.find(',', at);
                values.push_back(trimmedValue(text.substr(at, comma - at)));
                if (comma == std::string_view::npos)
                    break;
                at = comma + 1;
            }
            for (std::size_t k = 0; k < fields.size(); ++k) {
                const int column = columns_[k];
                fields[k] = column >= 0 && static_cast<std::size_t>(column) < values.size()
                                ? values[static_cast<std::size_t>(column)]
                                : std::string_view();
            }
        } else {
            std::size_t at = raw.start;
            for (std::size_t k = 0; k < fields.size(); ++k) {
                fields[k] = std::string_view(text_).substr(at, raw.lengths[k]);
                at += raw.lengths[k];
            }
        }
        TripRow row{feed_.stopIndex.find(fields[0]),   0,
                    secondsOf(fields[1], raw.line, 1), secondsOf(fields[2], raw.line, 2),
                    !noPassengers(fields[4]),          !noPassengers(fields[5])};
        if (row.stop < 0)
            failInRow(raw.line, 0,
                      "la fermata «" + std::string(fields[0]) + "» non è in stops.txt");
        const std::string_view sequence = fields[3];
        const auto [end, ec] =
            std::from_chars(sequence.data(), sequence.data() + sequence.size(), row.sequence);
        if (ec != std::errc() || end != sequence.data() + sequence.size() || sequence.empty())
            failInRow(raw.line, 3, "«" + std::string(sequence) + "» non è un numero intero");
        return row;
    }

    const GtfsFeed& feed_;
    std::array<int, 6> columns_{}; // of the raw values in stop_times.txt
    TextIndex stationStops_;
    std::bitset<256> firstBytes_; // of the station's stop ids
    std::vector<std::uint16_t> runs_;
    std::vector<std::uint8_t> groups_; // how many separate runs of rows each trip has
    std::map<int, std::vector<TripRow>> kept_;
    std::vector<RawRow> group_;
    std::string text_; // the group's values
    int trip_ = -1;
    bool relevant_ = false;
    bool touches_ = false;
    bool rereading_ = false;
};

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

} // namespace

StationDay readStationDay(const GtfsFeed& feed, int station, date::sys_days day,
                          const ScanProgress& progress) {
    if (station < 0 || static_cast<std::size_t>(station) >= feed.stops.size())
        throw GtfsError("La stazione scelta non è nel feed");
    StationDay result;
    FittedNames fitted;
    const GtfsStop& stationStop = feed.stops[static_cast<std::size_t>(station)];
    result.stationName = fitted(stationStop.name);
    for (const GtfsStop& stop : feed.stops) {
        if (stop.station != station)
            continue;
        const auto slot = trackSlotOfPlatform(stop.platformCode);
        if (slot && std::find(result.platformSlots.begin(), result.platformSlots.end(), *slot) ==
                        result.platformSlots.end())
            result.platformSlots.push_back(*slot);
    }
    std::sort(result.platformSlots.begin(), result.platformSlots.end());

    const std::vector<std::uint16_t> runs = candidateRuns(feed, day);
    ServiceClock clock;
    std::map<std::pair<std::string, int>, int> kindIndex;
    std::set<std::tuple<std::string, std::string, std::string, std::string, std::string>> seen;
    auto nameOf = [&](int stop) -> const std::string& {
        const GtfsStop& s = feed.stops[static_cast<std::size_t>(stop)];
        return fitted(feed.stops[static_cast<std::size_t>(s.station)].name);
    };

    for (auto& [trip, rows] : StationTrips(feed, station, day).read(progress)) {
        std::stable_sort(rows.begin(), rows.end(), [](const TripRow& a, const TripRow& b) {
            return a.sequence < b.sequence;
        });
        const GtfsTrip& t = feed.trips[static_cast<std::size_t>(trip)];
        const GtfsRoute& route = feed.routes[static_cast<std::size_t>(t.route)];
        const int runsMask = runs[static_cast<std::size_t>(t.service)];
        // Runs of a trip: its own times, or one run per headway of its frequencies.
        std::vector<int> offsets{0};
        if (const auto f = feed.frequencies.find(trip); f != feed.frequencies.end()) {
            const int first = rows.front().departure >= 0 ? rows.front().departure
                                                          : std::max(rows.front().arrival, 0);
            offsets.clear();
            for (const GtfsFrequency& frequency : f->second) {
                for (int start = frequency.start; start <= frequency.end;
                     start += frequency.headway)
                    offsets.push_back(start - first);
            }
        }
        const std::string number = fitted(trainNumber(t, route));
        const auto [kind, addedKind] = kindIndex.try_emplace({serviceKind(t, route), route.type},
                                                             static_cast<int>(kindIndex.size()));
        if (addedKind)
            result.kinds.push_back({kind->first.first, route.type});
        std::size_t lastAlighting = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (rows[i].dropOff)
                lastAlighting = i;
        }

        for (std::size_t i = 0; i < rows.size(); ++i) {
            const GtfsStop& stop = feed.stops[static_cast<std::size_t>(rows[i].stop)];
            if (stop.station != station)
                continue;
            const bool mayAlight = i > 0 && rows[i].dropOff;
            const bool mayBoard = i + 1 < rows.size() && rows[i].pickup;
            if (!mayAlight && !mayBoard)
                continue;
            const int first = rows[i].arrival >= 0 ? rows[i].arrival : rows[i].departure;
            if (first < 0) {
                ++result.untimedCalls;
                continue;
            }
            const date::time_zone* zone = stopZone(feed, stop);
            if (!zone)
                zone = route.zone;
            for (const int offset : offsets) {
                for (int k = 0; k < kCandidateDays; ++k) {
                    if ((runsMask >> k & 1) == 0)
                        continue;
                    const date::sys_days serviceDay = day + date::days{k - kDaysBack};
                    const date::sys_seconds start = clock.dayStart(route.zone, serviceDay);
                    auto at = [&](int seconds) {
                        return localTime(zone, start + std::chrono::seconds(seconds + offset));
                    };
                    const date::local_seconds local = at(first);
                    const auto localDay = date::floor<date::days>(local);
                    if (localDay.time_since_epoch() != day.time_since_epoch())
                        continue;
                    StationCall call;
                    call.minute = static_cast<int>(
                        std::chrono::duration_cast<std::chrono::minutes>(local - localDay).count());
                    Treno& train = call.train;
                    train.numero = number;
                    auto setTime = [&](int seconds, std::string& ora, std::string& minuti) {
                        const date::local_seconds when = at(seconds);
                        const auto minutes = std::chrono::duration_cast<std::chrono::minutes>(
                                                 when - date::floor<date::days>(when))
                                                 .count();
                        ora = twoDigits(minutes / 60);
                        minuti = twoDigits(minutes % 60);
                    };
                    train.ora_arrivo = train.min_arrivo = "--";
                    train.ora_partenza = train.min_partenza = "--";
                    if (mayAlight) {
                        train.provenienza = nameOf(rows.front().stop);
                        setTime(first, train.ora_arrivo, train.min_arrivo);
                    }
                    if (mayBoard) {
                        train.destinazione = nameOf(rows.back().stop);
                        setTime(rows[i].departure >= 0 ? rows[i].departure : first,
                                train.ora_partenza, train.min_partenza);
                        std::string stops;
                        for (std::size_t j = i + 1; j < lastAlighting; ++j) {
                            if (rows[j].dropOff)
                                stops += (stops.empty() ? "" : ",") + nameOf(rows[j].stop);
                        }
                        train.fermate = stops + std::string(kFineFermate);
                    } else {
                        train.fermate = std::string(kTerminaQui) + std::string(kFineFermate);
                    }
                    if (!seen.emplace(train.numero, train.ora_arrivo, train.min_arrivo,
                                      train.ora_partenza, train.min_partenza)
                             .second) {
                        ++result.repeatedCalls;
                        continue;
                    }
                    call.kind = kind->second;
                    call.rail = isRailService(route.type);
                    call.platformSlot = trackSlotOfPlatform(stop.platformCode);
                    result.calls.push_back(std::move(call));
                }
            }
        }
    }
    std::stable_sort(
        result.calls.begin(), result.calls.end(), [](const StationCall& a, const StationCall& b) {
            return a.minute != b.minute ? a.minute < b.minute : a.train.numero < b.train.numero;
        });
    result.namesChanged = fitted.changed();
    return result;
}

ChosenTrains chooseTrains(const StationDay& day, const ImportChoice& choice,
                          const Scenario& station) {
    ChosenTrains result;
    std::vector<int> perKind(day.kinds.size(), 0);
    auto categoryOf = [&](int kind) {
        const ServiceKind& k = day.kinds[static_cast<std::size_t>(kind)];
        const auto chosen = choice.categories.find(k.text);
        return chosen != choice.categories.end() && chosen->second >= 0 &&
                       chosen->second < static_cast<int>(kCategorie.size())
                   ? chosen->second
                   : defaultCategory(k.text, k.routeType);
    };
    const bool wraps = choice.fromMinute > choice.toMinute;
    for (const StationCall& call : day.calls) {
        const bool inWindow =
            wraps ? call.minute >= choice.fromMinute || call.minute <= choice.toMinute
                  : call.minute >= choice.fromMinute && call.minute <= choice.toMinute;
        if (!inWindow || (choice.onlyTrains && !call.rail))
            continue;
        ++perKind[static_cast<std::size_t>(call.kind)];
        Treno t = call.train;
        const int category = categoryOf(call.kind);
        t.categoria = kCategorie[static_cast<std::size_t>(category)];
        t.indice_categoria = std::to_string(category);
        t.ritardo = "0";
        const bool trackless = isCategoriaSenzaBinario(t.categoria);
        if (!trackless && call.platformSlot &&
            hasStationTrack(station, trackName(*call.platformSlot)))
            t.binario = trackName(*call.platformSlot);
        const int code = trackless ? kSussiAutobus : 0;
        t.sussidiaria = kSussidiarie[static_cast<std::size_t>(code)];
        t.codice_sussidiaria = std::to_string(code);
        result.trains.push_back(std::move(t));
    }
    for (std::size_t k = 0; k < day.kinds.size(); ++k) {
        if (perKind[k] > 0)
            result.kinds.push_back(
                {day.kinds[k].text, perKind[k], categoryOf(static_cast<int>(k))});
    }
    std::stable_sort(result.kinds.begin(), result.kinds.end(),
                     [](const KindChoice& a, const KindChoice& b) { return a.trains > b.trains; });
    return result;
}

void useFeedStation(Scenario& s, const StationDay& day) {
    s.nome_stazione = day.stationName;
    s.binari_scelti.fill(false);
    int chosen = 0;
    for (int slot : day.platformSlots) {
        if (chosen < kMaxChosenTracks && slot >= 0 && slot < kTrackSlots) {
            s.binari_scelti[static_cast<std::size_t>(slot)] = true;
            ++chosen;
        }
    }
    s.conta_binari = chosen;
    rebuildTrackTable(s);
}

std::optional<std::string> importRefusal(const Scenario& base, const std::vector<Treno>& trains) {
    const int room = kMaxTrains - base.totale_treni;
    if (static_cast<int>(trains.size()) > room)
        return "Quel giorno alla stazione fermano " +
               countedTrains(static_cast<long>(trains.size())) + ", ma nello scenario " +
               roomText(room) + " (al massimo " + std::to_string(kMaxTrains) +
               "). Restringere la fascia oraria e riprovare.";
    std::size_t bytes = storedTextBytes(base);
    for (const Treno& t : trains) {
        const TextMeasure measure = measureTrainTexts(t);
        if (measure.oversizedField)
            return "Il treno " + t.numero + " ha un testo troppo lungo per il file scenario (" +
                   std::string(*measure.oversizedField) + ")";
        bytes += measure.bytes;
    }
    if (bytes > kMaxScenarioTextBytes)
        return std::string("I treni non stanno nel file scenario: i testi superano i 64 MB");
    return std::nullopt;
}

} // namespace zeb
