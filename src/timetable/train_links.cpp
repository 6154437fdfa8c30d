#include "timetable/train_links.h"

#include "timetable/train_times.h"

namespace zeb {

namespace {

// A unit that would stand longer than this through midnight is taken as linked the wrong way
// round: the second train leaves before the first arrives.
constexpr int kLongestOvernight = kMinutesPerDay / 2;

bool inTable(const Scenario& s, int index) {
    return index >= 0 && index < s.totale_treni;
}

} // namespace

std::optional<int> standingMinutes(const Scenario& s, const TrainLink& link) {
    if (!inTable(s, link.arriving) || !inTable(s, link.leaving))
        return std::nullopt;
    const auto arrival = arrivalMinute(s.treni[link.arriving]);
    const auto departure = departureMinute(s.treni[link.leaving]);
    if (!arrival || !departure)
        return std::nullopt;
    return minutesAfter(*arrival, *departure);
}

LinkState linkState(const Scenario& s, const TrainLink& link, const CheckSettings& settings) {
    if (!inTable(s, link.arriving) || !inTable(s, link.leaving) || link.arriving == link.leaving)
        return LinkState::MissingTrain;
    const Treno& first = s.treni[link.arriving];
    const Treno& second = s.treni[link.leaving];
    if (!endsHere(first))
        return LinkState::NotEnding;
    if (!startsHere(second))
        return LinkState::NotStarting;
    const auto standing = standingMinutes(s, link);
    if (isCancelled(first) || isCancelled(second) || !standing)
        return LinkState::Idle;
    if (first.binario != second.binario)
        return LinkState::OtherTracks;
    const bool overnight = *departureMinute(second) < *arrivalMinute(first);
    if (overnight && *standing > kLongestOvernight)
        return LinkState::WrongOrder;
    if (*standing < settings.leastTurnaround)
        return LinkState::TooClose;
    return LinkState::Holds;
}

std::string unitLabel(const Scenario& s, const TrainLink& link) {
    auto number = [&](int index) { return inTable(s, index) ? s.treni[index].numero : "?"; };
    return number(link.arriving) + "→" + number(link.leaving);
}

std::optional<std::string> linkFault(const Scenario& s, const TrainLink& link,
                                     const CheckSettings& settings) {
    const std::string unit = unitLabel(s, link) + ": ";
    switch (linkState(s, link, settings)) {
    case LinkState::Holds:
    case LinkState::Idle:
        return std::nullopt;
    case LinkState::MissingTrain:
        return unit + "il collegamento nomina un treno che non c'è";
    case LinkState::NotEnding:
        return unit + s.treni[link.arriving].numero + " non termina qui";
    case LinkState::NotStarting:
        return unit + s.treni[link.leaving].numero + " non parte da qui";
    case LinkState::OtherTracks:
        return unit + "i due treni sono su binari diversi (" +
               (s.treni[link.arriving].binario.empty() ? "nessuno"
                                                       : s.treni[link.arriving].binario) +
               " e " +
               (s.treni[link.leaving].binario.empty() ? "nessuno" : s.treni[link.leaving].binario) +
               ")";
    case LinkState::WrongOrder:
        return unit + s.treni[link.leaving].numero + " parte prima che " +
               s.treni[link.arriving].numero + " arrivi";
    case LinkState::TooClose:
        return unit + "solo " + std::to_string(*standingMinutes(s, link)) +
               " minuti per l'inversione, ne servono " + std::to_string(settings.leastTurnaround);
    }
    return std::nullopt;
}

} // namespace zeb
