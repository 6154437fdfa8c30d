#include "gtfs/train_choice.h"

#include "gtfs/service_rules.h"
#include "gtfs/station_trips.h"
#include "model/counted.h"
#include "model/track_slots.h"
#include "model/train_append.h"
#include "model/value_tables.h"
#include "scenario_file/text_limits.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <unordered_map>

namespace zeb {

namespace {

// A block's runs of one service day: a vehicle's day. The runs of the day before that reach
// past midnight are another day of the same block, never linked to this one's.
using BlockDay = std::pair<int, int>; // block, service day

// Within each block's day, by time: a call that ends here and the block's next call, which
// starts here.
TrainLinks blockLinks(const std::vector<Treno>& trains,
                      std::map<BlockDay, std::vector<std::pair<int, int>>>& byBlock) {
    TrainLinks links;
    for (auto& [block, calls] : byBlock) {
        std::sort(calls.begin(), calls.end());
        for (std::size_t k = 0; k + 1 < calls.size(); ++k) {
            const Treno& first = trains[static_cast<std::size_t>(calls[k].second)];
            const Treno& next = trains[static_cast<std::size_t>(calls[k + 1].second)];
            if (endsHere(first) && startsHere(next))
                links.push_back({calls[k].second, calls[k + 1].second});
        }
    }
    std::sort(links.begin(), links.end());
    return links;
}

} // namespace

ChosenTrains chooseTrains(const StationDay& day, const ImportChoice& choice,
                          const Scenario& station) {
    ChosenTrains result;
    std::vector<int> perKind(day.kinds.size(), 0);
    auto categoryOf = [&](int kind) {
        const ServiceKind& k = day.kinds[static_cast<std::size_t>(kind)];
        auto chosen = choice.categories.find(k.text);
        if (chosen == choice.categories.end())
            chosen = choice.categories.find(lowered(k.text)); // a list of the planner's own
        return chosen != choice.categories.end() && chosen->second >= 0 &&
                       chosen->second < static_cast<int>(kCategorie.size())
                   ? chosen->second
                   : defaultCategory(k.text, k.routeType);
    };
    const bool wraps = choice.fromMinute > choice.toMinute;
    std::map<BlockDay, std::vector<std::pair<int, int>>> byBlock; // → minute, train made
    std::size_t textBytes = 0;
    bool refused = false; // a train or all of them past what the file holds
    for (const StationCall& call : day.calls) {
        const bool inWindow =
            wraps ? call.minute >= choice.fromMinute || call.minute <= choice.toMinute
                  : call.minute >= choice.fromMinute && call.minute <= choice.toMinute;
        const int type = day.kinds[static_cast<std::size_t>(call.kind)].routeType;
        const bool taken = choice.routeTypes.empty()
                               ? !choice.onlyTrains || call.rail
                               : std::find(choice.routeTypes.begin(), choice.routeTypes.end(),
                                           type) != choice.routeTypes.end();
        if (!inWindow || !taken)
            continue;
        ++perKind[static_cast<std::size_t>(call.kind)];
        if (++result.counted > kMaxTrains + 1 || refused)
            continue;
        Treno t = call.train;
        t.fermate = stopsText(day, call);
        const TextMeasure measure = measureTrainTexts(t);
        textBytes += measure.bytes;
        refused = measure.oversizedField || textBytes > kMaxScenarioTextBytes;
        if (call.platformSlot && hasStationTrack(station, trackName(*call.platformSlot)))
            t.binario = trackName(*call.platformSlot);
        storeAsNewTrain(t, categoryOf(call.kind), 0);
        if (choice.linkBlocks && call.block >= 0)
            byBlock[{call.block, call.serviceDay}].emplace_back(
                call.minute, static_cast<int>(result.trains.size()));
        result.trains.push_back(std::move(t));
    }
    result.links = blockLinks(result.trains, byBlock);
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
    if (day.platformSlots.empty())
        return; // a feed without platform codes leaves the tracks the user chose
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

std::optional<std::string> importRefusal(const Scenario& base, const ChosenTrains& chosen) {
    return appendRefusal(base, chosen.trains, chosen.counted, "Quel giorno alla stazione fermano",
                         ". Restringere la fascia oraria e riprovare.");
}

namespace {

// "Łódź → Lódz, Główna → Glówna", the first few of them, then how many more.
std::string changedNamesText(const std::vector<std::pair<std::string, std::string>>& names) {
    std::vector<std::string> changes;
    for (const auto& [was, written] : names)
        changes.push_back(was + " → " + written);
    return firstNames(changes, 8);
}

// How many chosen trains carry a number another chosen train carries too.
long sharingANumber(const std::vector<Treno>& trains) {
    std::unordered_map<std::string_view, long> carrying;
    for (const Treno& t : trains)
        ++carrying[t.numero];
    long sharing = 0;
    for (const auto& [number, count] : carrying)
        sharing += count > 1 ? count : 0;
    return sharing;
}

} // namespace

std::vector<std::string> importNotes(const StationDay& day, const ChosenTrains& chosen) {
    std::vector<std::string> notes;
    if (!day.namesChanged.empty())
        notes.push_back(
            counted(static_cast<long>(day.namesChanged.size()), "nome scritto", "nomi scritti") +
            " con le sole lettere che il file scenario può contenere: " +
            changedNamesText(day.namesChanged));
    if (!day.skippedRows.empty())
        notes.push_back(
            counted(static_cast<long>(day.skippedRows.size()), "riga illeggibile saltata",
                    "righe illeggibili saltate") +
            ", di corse e linee che il giorno non usa: " + firstNames(day.skippedRows, 3));
    if (const long sharing = sharingANumber(chosen.trains); sharing > 0)
        notes.push_back(counted(sharing, "treno porta", "treni portano") +
                        " un numero che anche un altro treno importato porta");
    if (day.untimedCalls > 0)
        notes.push_back(counted(day.untimedCalls, "fermata senza orario lasciata fuori",
                                "fermate senza orario lasciate fuori"));
    const std::string rows = " con più di " + std::to_string(kMaxTripRows) + " fermate ";
    if (day.longTrips > 0)
        notes.push_back(counted(day.longTrips, ("corsa" + rows + "lasciata fuori").c_str(),
                                ("corse" + rows + "lasciate fuori").c_str()));
    return notes;
}

std::string stopsText(const StationDay& day, const StationCall& call) {
    if (call.stops < 0)
        return call.train.fermate;
    const std::vector<std::uint32_t>& list = day.stopLists[static_cast<std::size_t>(call.stops)];
    std::string text;
    for (std::uint32_t k = call.stopsFrom; k < call.stopsTo && text.size() <= kMaxTextBytes; ++k)
        text += (text.empty() ? "" : ",") + day.stopNames[list[k]];
    return text + std::string(kFineFermate);
}

} // namespace zeb
