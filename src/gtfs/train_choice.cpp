#include "gtfs/train_choice.h"

#include "gtfs/service_rules.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/text_limits.h"

#include <algorithm>

namespace zeb {

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
    return appendRefusal(base, trains, static_cast<long>(trains.size()),
                         "Quel giorno alla stazione fermano",
                         ". Restringere la fascia oraria e riprovare.");
}

} // namespace zeb
