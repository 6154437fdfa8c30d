#include "gtfs/present_trains.h"

#include "timetable/train_times.h"

#include "model/train_append.h"
#include "model/value_tables.h"

#include <unordered_map>

namespace zeb {

namespace {

// Number, origin and the times the file keeps: an arrival only from somewhere, a departure only
// to somewhere.
std::string identityKey(const Treno& t) {
    std::string key = t.numero + '\n' + t.provenienza;
    for (const TrainEnd end : kTrainEnds) {
        key += '\n';
        if (hasEnd(t, end))
            key += fieldsOf(t, end).ora + fieldsOf(t, end).minuti;
    }
    return key;
}

// The feed's values over the stored train, but for what the user gave it.
Treno replacement(const Treno& stored, Treno imported) {
    const bool hasTrack = imported.codice_sussidiaria != std::to_string(kSussiAutobus);
    if (hasTrack && !stored.binario.empty()) {
        imported.binario = stored.binario;
        imported.indice_binario = stored.indice_binario;
    }
    if (hasTrack) {
        imported.sussidiaria = stored.sussidiaria;
        imported.codice_sussidiaria = stored.codice_sussidiaria;
    }
    imported.ritardo = stored.ritardo;
    imported.note = stored.note;
    return imported;
}

// The stored train each of `trains` repeats, or -1.
std::vector<int> storedRepeats(const Scenario& base, const std::vector<Treno>& trains) {
    std::unordered_map<std::string, int> stored;
    for (int i = 0; i < base.totale_treni; ++i)
        stored.try_emplace(identityKey(base.treni[static_cast<std::size_t>(i)]), i);
    std::vector<int> repeats;
    repeats.reserve(trains.size());
    for (const Treno& t : trains) {
        const auto found = stored.find(identityKey(t));
        repeats.push_back(found == stored.end() ? -1 : found->second);
    }
    return repeats;
}

} // namespace

SettledImport settleImport(const Scenario& base, ChosenTrains chosen, PresentTrains how) {
    SettledImport settled;
    settled.unmade = chosen.counted - static_cast<long>(chosen.trains.size());
    const std::vector<int> repeats = storedRepeats(base, chosen.trains);
    for (std::size_t i = 0; i < chosen.trains.size(); ++i) {
        const int stored = repeats[i];
        settled.present += stored >= 0 ? 1 : 0;
        if (stored < 0 || how == PresentTrains::AddAll) {
            settled.addedFrom.push_back(static_cast<int>(i));
            settled.added.push_back(std::move(chosen.trains[i]));
        } else if (how == PresentTrains::Replace) {
            settled.replacedFrom.emplace_back(static_cast<int>(i), stored);
            settled.replaced.emplace_back(stored,
                                          replacement(base.treni[static_cast<std::size_t>(stored)],
                                                      std::move(chosen.trains[i])));
        }
    }
    return settled;
}

std::optional<std::string> settledRefusal(const Scenario& base, const SettledImport& settled) {
    // Trains past those made are all new as far as anyone knows.
    ChosenTrains measured{
        settled.added, static_cast<long>(settled.added.size()) + settled.unmade, {}};
    for (const auto& [position, train] : settled.replaced)
        measured.trains.push_back(train);
    return importRefusal(base, measured);
}

int applySettled(Scenario& base, SettledImport& settled) {
    for (auto& [position, train] : settled.replaced)
        std::swap(base.treni[static_cast<std::size_t>(position)], train);
    settled.replaced.clear();
    return appendTrains(base, settled.added);
}

} // namespace zeb
