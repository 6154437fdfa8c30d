#include "boards/boards.h"

#include "model/counted.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "text/numbers.h"
#include "timetable/train_times.h"

#include <algorithm>

namespace zeb {

namespace {

BoardRow rowOf(const Scenario& s, const PlayedDay& day, const PlayedTrain& p, TrainEnd end,
               int minute, const BoardSettings& settings) {
    const Treno& t = s.treni[p.train];
    const bool leaving = end == TrainEnd::Departure;
    const int due = leaving ? *p.departure : *p.arrival;
    const int late = leaving ? p.departureDelay : p.arrivalDelay;
    BoardRow row{.train = p.train,
                 .time = clockText(clockOfPlay(day, due)),
                 .category = t.categoria,
                 .number = t.numero,
                 .place = leaving ? t.destinazione : t.provenienza,
                 .delay = late > 0 ? std::to_string(late) : std::string(),
                 .cancelled = p.cancelled,
                 .delayed = late > 0};
    if (leaving)
        row.stops = furtherStops(t);
    const int code = wholeNumber(t.codice_sussidiaria).value_or(0);
    const std::string_view indication = code > 0 && code < static_cast<int>(kSussidiarie.size())
                                            ? kSussidiarie[static_cast<std::size_t>(code)]
                                            : std::string_view();
    row.indication = std::string(indication);
    if (p.bus) {
        row.track = "Piazzale Esterno";
    } else if (!p.cancelled && minute >= due + late - settings.trackShown) {
        row.trackChanged = !p.baseTrack.empty();
        row.track = p.track + (row.trackChanged ? ", era " + p.baseTrack : std::string());
    }
    return row;
}

// Whether the train shows on the board of its `end` at `minute`.
bool onBoard(const PlayedTrain& p, TrainEnd end, int minute, const BoardSettings& settings) {
    const auto due = end == TrainEnd::Departure ? p.departure : p.arrival;
    if (!due || minute < *due - settings.horizon)
        return false;
    if (p.cancelled)
        return minute < *due;
    return end == TrainEnd::Departure ? minute < *p.actualDeparture()
                                      : minute < *p.actualArrival() + settings.afterArrival;
}

Board boardOf(const Scenario& s, const PlayedDay& day, int minute, const BoardSettings& settings,
              TrainEnd end) {
    std::vector<const PlayedTrain*> shown;
    for (const PlayedTrain& p : day.trains) {
        if (onBoard(p, end, minute, settings))
            shown.push_back(&p);
    }
    std::stable_sort(shown.begin(), shown.end(), [end](const PlayedTrain* a, const PlayedTrain* b) {
        return end == TrainEnd::Departure ? *a->departure < *b->departure
                                          : *a->arrival < *b->arrival;
    });
    Board board;
    const auto rows = static_cast<std::size_t>(std::max(0, settings.rows));
    for (std::size_t k = 0; k < shown.size() && k < rows; ++k)
        board.rows.push_back(rowOf(s, day, *shown[k], end, minute, settings));
    board.notShown = static_cast<int>(shown.size() - board.rows.size());
    return board;
}

} // namespace

std::string notShownText(int trains) {
    return trains <= 0
               ? std::string()
               : counted(trains, "altro treno non è mostrato", "altri treni non sono mostrati");
}

std::string furtherStops(const Treno& t) {
    std::string stops = t.fermate;
    if (stops == "Il treno termina nella stazione simulata,.")
        return {};
    if (stops.ends_with(",."))
        stops.resize(stops.size() - 2);
    std::string read;
    for (char c : stops)
        read += c == ',' ? std::string(", ") : std::string(1, c);
    return read;
}

Board departuresBoard(const Scenario& s, const PlayedDay& day, int minute,
                      const BoardSettings& settings) {
    return boardOf(s, day, minute, settings, TrainEnd::Departure);
}

Board arrivalsBoard(const Scenario& s, const PlayedDay& day, int minute,
                    const BoardSettings& settings) {
    return boardOf(s, day, minute, settings, TrainEnd::Arrival);
}

std::vector<TrackDisplay> trackDisplays(const Scenario& s, const PlayedDay& day, int minute,
                                        const BoardSettings& settings) {
    std::vector<TrackDisplay> displays;
    for (const std::string& track : stationTrackNames(s)) {
        TrackDisplay display{.track = track};
        const Occupancy* next = nullptr;
        for (const Occupancy& o : day.holds) {
            if (o.track != track)
                continue;
            // The train there first where trains clash; else the next due.
            const bool holds = o.start <= minute && minute < o.end;
            if (holds && (!display.holding || o.start < next->start)) {
                next = &o;
                display.holding = true;
            } else if (!display.holding && o.start > minute &&
                       o.start <= minute + settings.horizon && (!next || o.start < next->start)) {
                next = &o;
            }
        }
        if (next) {
            // A unit shows its second train once its first is in.
            const int shown = next->leaving >= 0 && display.holding ? next->leaving : next->train;
            const PlayedTrain& p = day.trains[static_cast<std::size_t>(shown)];
            display.train = rowOf(s, day, p, p.departure ? TrainEnd::Departure : TrainEnd::Arrival,
                                  minute, settings);
            if (!p.departure)
                display.train->place = "in arrivo da " + s.treni[shown].provenienza;
        }
        displays.push_back(std::move(display));
    }
    return displays;
}

} // namespace zeb
