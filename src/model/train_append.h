#pragma once

#include "model/scenario.h"
#include "model/value_tables.h"

#include <string>

#include <vector>

namespace zeb {

// Gives `t` the category and the subsidiary indication at these positions of their lists, with
// their stored codes, as INSERISCI TRENO stores a new train: a category without a track takes no
// track and the bus indication, and an empty delay is "0". Every importer stores its trains so.
inline void storeAsNewTrain(Treno& t, int category, int subsidiary) {
    t.categoria = kCategorie[static_cast<std::size_t>(category)];
    t.indice_categoria = std::to_string(category);
    const bool trackless = isCategoriaSenzaBinario(t.categoria);
    if (trackless) {
        t.binario.clear();
        subsidiary = kSussiAutobus;
    }
    t.sussidiaria = kSussidiarie[static_cast<std::size_t>(subsidiary)];
    t.codice_sussidiaria = std::to_string(subsidiary);
    if (t.ritardo.empty())
        t.ritardo.assign(1, '0'); // not = "0", which GCC 12 warns of wrongly (bug 105651)
}

// Moves `trains` after the stored trains of `s`, which has room for them (the imports check);
// returns the position of the first.
inline int appendTrains(Scenario& s, std::vector<Treno>& trains) {
    const int first = s.totale_treni;
    for (Treno& train : trains)
        s.treni[static_cast<std::size_t>(s.totale_treni++)] = std::move(train);
    trains.clear();
    return first;
}

} // namespace zeb
