#include "gtfs/station_day.h"

#include "gtfs/day_runs.h"
#include "gtfs/gtfs_error.h"
#include "gtfs/service_rules.h"
#include "gtfs/station_trips.h"
#include "gtfs/stop_times_scan.h"
#include "model/track_slots.h"
#include "model/train_ends.h"
#include "model/value_tables.h"
#include "scenario_file/text_limits.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <set>
#include <tuple>
#include <unordered_map>

namespace zeb {

namespace {

// Names as the file can hold them, each fitted once and kept once, as it was, where it changed.
class FittedNames {
public:
    const std::string& operator()(const std::string& name) {
        const auto [it, added] = names_.try_emplace(name);
        if (added) {
            bool changed = false;
            it->second = fittedName(name, changed);
            if (changed)
                changed_.emplace_back(name, it->second);
        }
        return it->second;
    }
    std::vector<std::pair<std::string, std::string>> changed() const { return changed_; }

private:
    std::unordered_map<std::string, std::string> names_;
    std::vector<std::pair<std::string, std::string>> changed_;
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

// One trip's call at the station: its rows, the row at the station, what passengers may do there.
struct TripCall {
    const std::vector<TripRow>& rows;
    std::size_t at;
    CallUse use;
};

// The calls one trip made, as positions in StationDay::calls, and those it left out.
struct TripCalls {
    std::size_t begin = 0, end = 0;
    int repeated = 0;
    int untimed = 0;
};

// Builds the station's day trip by trip: each call on each service day and run that falls on the
// calendar day becomes a train, the same number at the same times once. A trip handed over in
// part is forgotten, and taken again whole.
class DayBuilder {
public:
    DayBuilder(const GtfsFeed& feed, int station, date::sys_days day, StationDay& result)
        : feed_(feed), station_(station), runs_(feed, day), result_(result) {}

    FittedNames fitted;

    void addTrip(int trip, std::vector<TripRow>& rows) {
        putInOrder(rows);
        const GtfsTrip& t = feed_.trips[static_cast<std::size_t>(trip)];
        route_ = &feed_.routes[static_cast<std::size_t>(t.route)];
        block_ = t.block;
        if (!route_->unreadable.empty())
            throw GtfsError("La corsa " + quotedBriefly(t.id) +
                            " ferma alla stazione, ma la sua linea non è in routes.txt, di cui "
                            "non si legge " +
                            route_->unreadable);
        runsMask_ = runs_.runsOf(t.service);
        const TrainNumber number = trainNumber(t, *route_);
        number_ = fitted(number.text);
        numberKey_ = numberKeys_.try_emplace(number_, numberKeys_.size()).first->second;
        lineNumber_ = number.ofLine;
        const auto [kind, added] = kindIndex_.try_emplace({serviceKind(t, *route_), route_->type},
                                                          static_cast<int>(kindIndex_.size()));
        if (added)
            result_.kinds.push_back({kind->first.first, route_->type});
        kind_ = kind->second;
        list_ = -1;
        TripCalls& made = tripCalls_[trip];
        made = {result_.calls.size(), 0, 0, 0};
        repeated_ = &made.repeated;
        const std::vector<int> offsets = runOffsets(feed_, trip, rows);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const GtfsStop& stop = feed_.stops[static_cast<std::size_t>(rows[i].stop)];
            if (stop.station != station_)
                continue;
            const TripCall call{rows, i, callUseAt(rows, i)};
            if (!call.use.mayAlight && !call.use.mayBoard)
                continue;
            if (rows[i].arrival < 0 && rows[i].departure < 0) {
                ++result_.untimedCalls;
                ++made.untimed;
                continue;
            }
            if (call.use.mayBoard && list_ < 0)
                listStops(rows, i);
            // Runs a few seconds apart make the same train: the one before is checked first,
            // as the train it made is the one these repeat.
            std::optional<RunTimes> last;
            runs_.forEachRun(*route_, static_cast<std::uint16_t>(runsMask_), rows[i], offsets,
                             [&](const RunTimes& times) {
                                 if (times == last) {
                                     countRun();
                                     countRepeated();
                                     return;
                                 }
                                 last = times;
                                 addRun(call, times);
                             });
        }
        made.end = result_.calls.size();
    }

    // The calls `trip` made are dropped at the end, and what it left out is counted no more.
    void forgetTrip(int trip) {
        const auto made = tripCalls_.find(trip);
        if (made == tripCalls_.end())
            return;
        for (std::size_t c = made->second.begin; c < made->second.end; ++c)
            forgotten_[c] = true;
        forgottenCount_ += made->second.end - made->second.begin;
        result_.repeatedCalls -= made->second.repeated;
        result_.untimedCalls -= made->second.untimed;
        tripCalls_.erase(made);
    }

    void finish() {
        dropSplitParts();
        const StationCall* calls = result_.calls.data();
        std::erase_if(result_.calls, [&](const StationCall& call) {
            return forgotten_[static_cast<std::size_t>(&call - calls)];
        });
        putCallsInOrder();
        numberLinesTrains();
        result_.namesChanged = fitted.changed();
    }

private:
    // By minute, then number: their order is found first, and each call moved once.
    void putCallsInOrder() {
        std::vector<StationCall>& calls = result_.calls;
        std::vector<std::size_t> order(calls.size());
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return calls[a].minute != calls[b].minute
                       ? calls[a].minute < calls[b].minute
                       : calls[a].train.numero < calls[b].train.numero;
        });
        std::vector<StationCall> ordered;
        ordered.reserve(calls.size());
        for (const std::size_t c : order)
            ordered.push_back(std::move(calls[c]));
        calls = std::move(ordered);
    }

    // Trains of a feed without numbers carry their line's: where several do, each gets its place
    // among them in the day's order ("6-1", "6-2"), so that the planner can tell them apart.
    void numberLinesTrains() {
        std::unordered_map<std::string, int> trains;
        for (const StationCall& call : result_.calls)
            trains[call.train.numero] += call.lineNumber ? 1 : 0;
        std::unordered_map<std::string, int> placed;
        for (StationCall& call : result_.calls) {
            if (call.lineNumber && trains[call.train.numero] > 1)
                call.train.numero += "-" + std::to_string(++placed[call.train.numero]);
        }
    }

    // One train run as several trips (from its origin, and from a station on its way, leaving
    // that station together): the same number leaving at the same minute for the same place, or
    // arriving at the same minute from the same place, is one train, the longer trip.
    void dropSplitParts() {
        std::vector<std::size_t> order;
        for (std::size_t c = 0; c < result_.calls.size(); ++c) {
            if (!forgotten_[c])
                order.push_back(c);
        }
        const auto& calls = result_.calls;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return calls[a].train.numero < calls[b].train.numero;
        });
        // One end at the same time to or from the same place: the same train.
        auto sameTrain = [](const Treno& a, const Treno& b) {
            return std::any_of(kTrainEnds.begin(), kTrainEnds.end(), [&](TrainEnd end) {
                const auto x = fieldsOf(a, end);
                const auto y = fieldsOf(b, end);
                return x.ora != "--" && x.ora == y.ora && x.minuti == y.minuti &&
                       placeOf(a, end) == placeOf(b, end);
            });
        };
        for (std::size_t from = 0; from < order.size();) {
            std::size_t to = from + 1;
            while (to < order.size() &&
                   calls[order[to]].train.numero == calls[order[from]].train.numero)
                ++to;
            auto call = [&](std::size_t k) -> const StationCall& { return calls[order[from + k]]; };
            std::vector<bool> dropped(to - from, false);
            result_.repeatedCalls += markSplitParts(
                dropped,
                [&](std::size_t i, std::size_t j) {
                    return sameTrain(call(i).train, call(j).train);
                },
                [&](std::size_t k) { return call(k).tripRows; });
            for (std::size_t k = 0; k < dropped.size(); ++k) {
                if (dropped[k])
                    forgotten_[order[from + k]] = true;
            }
            from = to;
        }
    }

    // The stops where passengers may alight after the trip's first call that leaves, up to the
    // last (its destination, never listed), and where each row's stops begin in that list.
    void listStops(const std::vector<TripRow>& rows, std::size_t from) {
        std::size_t lastAlighting = 0;
        for (std::size_t i = 1; i < rows.size(); ++i) {
            if (rows[i].dropOff)
                lastAlighting = i;
        }
        list_ = static_cast<int>(result_.stopLists.size());
        std::vector<std::uint32_t>& list = result_.stopLists.emplace_back();
        listStart_.assign(rows.size() + 1, 0);
        for (std::size_t j = 0; j < rows.size(); ++j) {
            if (j > from && j < lastAlighting && rows[j].dropOff)
                list.push_back(nameOf(rows[j].stop));
            listStart_[j + 1] = static_cast<std::uint32_t>(list.size());
        }
        listEnd_ = listStart_[std::max(lastAlighting, from + 1)];
        listedStops_ += list.size();
        if (listedStops_ > kMaxListedStops)
            throw GtfsError("Gli elenchi delle fermate dei treni di quel giorno contano più di " +
                            std::to_string(kMaxListedStops) + " fermate: troppe da leggere.");
    }

    void countRun() {
        if (++made_ > kMaxCallsMade)
            throw GtfsError("Il feed dà più di " + std::to_string(kMaxCallsMade) +
                            " passaggi alla stazione in quel giorno, contando i ripetuti: troppi "
                            "da leggere.");
    }

    void countRepeated() {
        ++result_.repeatedCalls;
        ++*repeated_;
    }

    void addRun(const TripCall& call, const RunTimes& times) {
        countRun();
        const TripRow& row = call.rows[call.at];
        // The number and the times the train shows ("--" where there is none), as one key.
        const std::uint64_t arrival = call.use.mayAlight ? times.arrival + 1 : 0;
        const std::uint64_t departure = call.use.mayBoard ? times.departure + 1 : 0;
        const std::uint64_t key = numberKey_ << 22 | arrival << 11 | departure;
        const auto [seen, added] = seen_.try_emplace(key, result_.calls.size());
        if (!added && !forgotten_[seen->second]) {
            countRepeated();
            return;
        }
        seen->second = result_.calls.size();
        StationCall made;
        made.minute = times.minute;
        fillTrain(made, call, times);
        if (result_.calls.size() - forgottenCount_ >= kMaxDayCalls)
            throw GtfsError("Quel giorno alla stazione fermano più di " +
                            std::to_string(kMaxDayCalls) +
                            " treni: troppi da leggere (uno scenario ne tiene al massimo " +
                            std::to_string(kMaxTrains) + ").");
        made.kind = kind_;
        made.tripRows = call.rows.size();
        made.lineNumber = lineNumber_;
        made.block = block_;
        made.serviceDay = times.serviceDay;
        made.rail = isRailService(route_->type);
        made.platformSlot =
            trackSlotOfPlatform(feed_.stops[static_cast<std::size_t>(row.stop)].platformCode);
        result_.calls.push_back(std::move(made));
        forgotten_.push_back(false);
    }

    // The train's number, ends and times as INSERISCI TRENO would take them, and where its list
    // of stops lies.
    void fillTrain(StationCall& made, const TripCall& call, const RunTimes& times) {
        Treno& train = made.train;
        auto setTime = [&train](int minutes, TrainEnd end) {
            const auto fields = fieldsOf(train, end);
            fields.ora = twoDigits(minutes / 60);
            fields.minuti = twoDigits(minutes % 60);
        };
        train.numero = number_;
        train.ora_arrivo = train.min_arrivo = "--";
        train.ora_partenza = train.min_partenza = "--";
        if (call.use.mayAlight) {
            train.provenienza = result_.stopNames[nameOf(call.rows.front().stop)];
            setTime(times.arrival, TrainEnd::Arrival);
        }
        if (!call.use.mayBoard) {
            train.fermate = std::string(kTerminaQui) + std::string(kFineFermate);
            return;
        }
        train.destinazione = result_.stopNames[nameOf(call.rows.back().stop)];
        setTime(times.departure, TrainEnd::Departure);
        made.stops = list_;
        made.stopsFrom = listStart_[call.at + 1];
        made.stopsTo = std::max(made.stopsFrom, listEnd_);
    }

    // A stop's station as the train's ends and its list of stops name it, as a position in
    // StationDay::stopNames.
    std::uint32_t nameOf(int stop) {
        const int station = feed_.stops[static_cast<std::size_t>(stop)].station;
        const auto [named, added] = nameOfStation_.try_emplace(station);
        if (added) {
            named->second = static_cast<std::uint32_t>(result_.stopNames.size());
            result_.stopNames.push_back(
                stopListName(fitted(feed_.stops[static_cast<std::size_t>(station)].name)));
        }
        return named->second;
    }

    const GtfsFeed& feed_;
    int station_;
    DayRuns runs_;
    StationDay& result_;
    std::map<std::pair<std::string, int>, int> kindIndex_;
    std::unordered_map<std::string, std::uint64_t> numberKeys_; // a key for each number
    std::unordered_map<std::uint64_t, std::size_t> seen_;       // number and times → the call
    std::unordered_map<int, std::uint32_t> nameOfStation_;
    std::unordered_map<int, TripCalls> tripCalls_;
    std::vector<bool> forgotten_; // of each call
    std::size_t forgottenCount_ = 0;
    std::size_t made_ = 0;
    std::size_t listedStops_ = 0;
    // Of the trip being added:
    const GtfsRoute* route_ = nullptr;
    int runsMask_ = 0;
    std::string number_;
    std::uint64_t numberKey_ = 0;
    bool lineNumber_ = false;
    int block_ = -1;
    int kind_ = 0;
    int* repeated_ = nullptr;
    int list_ = -1;
    std::vector<std::uint32_t> listStart_;
    std::uint32_t listEnd_ = 0;
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
    const StationTripsVisitor visitor{
        [&](int trip, std::vector<TripRow>& rows) { builder.addTrip(trip, rows); },
        [&](int trip) { builder.forgetTrip(trip); }};
    result.longTrips = readStationTrips(feed, station, day, progress, visitor);
    result.skippedRows = feed.skippedRows;
    builder.finish();
    return result;
}

} // namespace zeb
