#pragma once

#include "model/scenario.h"

#include <vector>

namespace zeb {

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
