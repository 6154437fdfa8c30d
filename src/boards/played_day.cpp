#include "boards/played_day.h"

#include "model/clock.h"
#include "timetable/train_times.h"
#include "variants/day_comparison.h"

#include <algorithm>

namespace zeb {

namespace {

int delayOf(const Treno& t, const PlaySettings& settings, int scheduled) {
    if (isCancelled(t) || settings.delays == DelayMode::None)
        return 0;
    const int most = mostDelayOf(t);
    return settings.delays == DelayMode::Most
               ? most
               : drawnDelay(settings.seed, t.numero, scheduled, most);
}

// The track each train of `s` had in `base`, where a track is all that changed or one of it.
std::vector<std::string> baseTracks(const Scenario& s, const Scenario& base) {
    std::vector<std::string> tracks(static_cast<std::size_t>(s.totale_treni));
    for (const TrainDifference& difference : compareDays(base, s)) {
        if (difference.kind != TrainDifference::Kind::Changed || difference.variant < 0)
            continue;
        for (const FieldChange& change : difference.changes) {
            if (change.field == "Binario")
                tracks[static_cast<std::size_t>(difference.variant)] = change.before;
        }
    }
    return tracks;
}

// The holds of the chart, moved as the trains run: a unit from its first train's actual arrival
// to its second's actual departure.
std::vector<Occupancy> heldAsRun(const Scenario& s, const PlayedDay& day,
                                 const PlaySettings& settings, const TrainLinks& links) {
    std::vector<Occupancy> holds = trackOccupancies(s, settings.check, false, links);
    for (Occupancy& o : holds) {
        const PlayedTrain& first = day.trains[static_cast<std::size_t>(o.train)];
        const PlayedTrain& last =
            day.trains[static_cast<std::size_t>(o.leaving >= 0 ? o.leaving : o.train)];
        const int length = o.end - o.start;
        const int start = minuteOfPlay(day, o.start);
        o.start = start + (first.arrival ? first.arrivalDelay : first.departureDelay);
        o.end = start + length + (last.departure ? last.departureDelay : last.arrivalDelay);
    }
    return holds;
}

} // namespace

std::optional<int> PlayedTrain::actualArrival() const {
    return arrival ? std::optional(*arrival + arrivalDelay) : std::nullopt;
}

std::optional<int> PlayedTrain::actualDeparture() const {
    return departure ? std::optional(*departure + departureDelay) : std::nullopt;
}

int minuteOfPlay(const PlayedDay& day, int clockMinute) {
    return minutesAfter(day.startMinute, clockMinute);
}

int clockOfPlay(const PlayedDay& day, int playMinute) {
    return minuteOnClock(day.startMinute + playMinute);
}

PlayedDay playDay(const Scenario& s, const TrainLinks& links, const Scenario* base,
                  const PlaySettings& settings) {
    PlayedDay day;
    day.startMinute = minuteOfDay(s.ora_inizio, s.min_inizio).value_or(0);
    const std::vector<std::string> before =
        base ? baseTracks(s, *base) : std::vector<std::string>(s.totale_treni);
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        PlayedTrain played{.train = i};
        // Minutes of the day, -1 for an end the train lacks or whose time is not valid.
        const int arrival = hasArrival(t) ? arrivalMinute(t).value_or(-1) : -1;
        const int departure = hasDeparture(t) ? departureMinute(t).value_or(-1) : -1;
        if (arrival >= 0) {
            played.arrival = minuteOfPlay(day, arrival);
            played.arrivalDelay = delayOf(t, settings, arrival);
        }
        if (departure >= 0) {
            int leaves = minuteOfPlay(day, departure);
            if (arrival >= 0 && leaves < *played.arrival)
                leaves += kMinutesPerDay; // calls across the day's start
            played.departure = leaves;
            // A train that calls here leaves as late as it came, or as its own draw says.
            played.departureDelay =
                arrival >= 0 ? played.arrivalDelay : delayOf(t, settings, departure);
        }
        played.cancelled = isCancelled(t);
        played.bus = isCategoriaSenzaBinario(t.categoria) ||
                     t.codice_sussidiaria == std::to_string(kSussiAutobus);
        played.track = t.binario;
        played.baseTrack = before[static_cast<std::size_t>(i)];
        day.trains.push_back(std::move(played));
    }
    // A unit's second train waits for its first: late in, late out.
    for (const TrainLink& link : links) {
        const PlayedTrain& first = day.trains[static_cast<std::size_t>(link.arriving)];
        PlayedTrain& second = day.trains[static_cast<std::size_t>(link.leaving)];
        if (!first.actualArrival() || !second.departure || first.cancelled || second.cancelled)
            continue;
        int due = *second.departure;
        if (due < *first.arrival)
            due += kMinutesPerDay;
        const int ready = *first.actualArrival() + settings.check.leastTurnaround;
        second.departureDelay = std::max(second.departureDelay, ready - due);
    }
    day.holds = heldAsRun(s, day, settings, links);
    return day;
}

} // namespace zeb
