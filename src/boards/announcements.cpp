#include "boards/announcements.h"

#include "model/counted.h"
#include "timetable/train_times.h"

#include <algorithm>

namespace zeb {

namespace {

constexpr int kAheadOfMove = 5;
constexpr int kAheadOfCancellation = 30;
constexpr int kLeastDelaySaid = 5;

// "il Regionale 2231 per Sudia delle ore 08:15": a train as the loudspeakers name it, by the end
// it is announced for.
std::string trainNamed(const Scenario& s, const PlayedDay& day, const PlayedTrain& p,
                       TrainEnd end) {
    const bool leaving = end == TrainEnd::Departure;
    const Treno& t = s.treni[p.train];
    const int due = leaving ? *p.departure : *p.arrival;
    return (p.bus ? std::string() : t.categoria + " ") + t.numero +
           (leaving ? " per " + t.destinazione : " proveniente da " + t.provenienza) +
           " delle ore " + clockText(clockOfPlay(day, due));
}

std::string lateBy(int minutes) {
    return minutes > 0 ? ", con " + counted(minutes, "minuto", "minuti") + " di ritardo," : "";
}

void announceEnd(const Scenario& s, const PlayedDay& day, const PlayedTrain& p, TrainEnd end,
                 std::vector<Announcement>& said) {
    const bool leaving = end == TrainEnd::Departure;
    const int late = leaving ? p.departureDelay : p.arrivalDelay;
    const int at = (leaving ? *p.departure : *p.arrival) + late - kAheadOfMove;
    const std::string named = trainNamed(s, day, p, end);
    if (p.bus) {
        said.push_back(
            {at, p.train, Announcement::Kind::Bus,
             "L'autobus " + named + lateBy(late) +
                 (leaving ? " parte dal piazzale esterno." : " arriva al piazzale esterno.")});
        return;
    }
    const std::string stops = furtherStops(s.treni[p.train]);
    std::string text = "Il treno " + named + lateBy(late) +
                       (leaving ? " è in partenza dal binario " : " è in arrivo al binario ") +
                       p.track + ".";
    if (leaving && !stops.empty())
        text += " Ferma a " + stops + ".";
    said.push_back(
        {at, p.train, leaving ? Announcement::Kind::Departure : Announcement::Kind::Arrival, text});
}

void announceTrain(const Scenario& s, const PlayedDay& day, const PlayedTrain& p,
                   const BoardSettings& settings, std::vector<Announcement>& said) {
    const bool leaves = p.departure.has_value(), arrives = p.arrival.has_value();
    if (!leaves && !arrives)
        return;
    // A train is named by the end it is first due at: its arrival, where it has one.
    const TrainEnd named = arrives ? TrainEnd::Arrival : TrainEnd::Departure;
    const int due = arrives ? *p.arrival : *p.departure;
    if (p.cancelled) {
        said.push_back({due - kAheadOfCancellation, p.train, Announcement::Kind::Cancellation,
                        "Il treno " + trainNamed(s, day, p, named) + " è soppresso."});
        return;
    }
    if (const int late = std::max(p.arrivalDelay, p.departureDelay); late >= kLeastDelaySaid)
        said.push_back({due, p.train, Announcement::Kind::Delay,
                        "Il treno " + trainNamed(s, day, p, named) + " viaggia con " +
                            counted(late, "minuto", "minuti") + " di ritardo."});
    if (!p.baseTrack.empty() && !p.bus)
        said.push_back(
            {due + (arrives ? p.arrivalDelay : p.departureDelay) - settings.trackShown, p.train,
             Announcement::Kind::TrackChange,
             "Il treno " + trainNamed(s, day, p, named) +
                 (leaves && !arrives ? " partirà dal binario " : " arriverà al binario ") +
                 p.track + " anziché dal binario " + p.baseTrack + "."});
    if (arrives)
        announceEnd(s, day, p, TrainEnd::Arrival, said);
    if (leaves)
        announceEnd(s, day, p, TrainEnd::Departure, said);
}

} // namespace

const char* kindName(Announcement::Kind kind) {
    static constexpr const char* kNames[] = {"partenza",     "arrivo",         "ritardo",
                                             "soppressione", "cambio binario", "autobus"};
    return kNames[static_cast<int>(kind)];
}

std::vector<Announcement> announcements(const Scenario& s, const PlayedDay& day,
                                        const BoardSettings& settings) {
    std::vector<Announcement> said;
    for (const PlayedTrain& p : day.trains)
        announceTrain(s, day, p, settings, said);
    std::stable_sort(said.begin(), said.end(), [](const Announcement& a, const Announcement& b) {
        return a.minute < b.minute;
    });
    return said;
}

} // namespace zeb
