#pragma once

#include "model/scenario.h"

#include <vector>

namespace zeb {

// Changes to many trains at once, made on the stored trains only.

// Room left in the table for more trains.
inline int roomLeft(const Scenario& s) {
    return kMaxTrains - s.totale_treni;
}

// Appends `times` copies of train `index` (fewer where the table has less room), the k-th with
// every valid time moved by k x `everyMinutes` round the clock, and with the number increased by
// k x `numberStep` where it is a whole number (kept as it is otherwise). Returns how many it
// appended.
int repeatTrain(Scenario& s, int index, int everyMinutes, int times, int numberStep);

// Moves every valid time of `trains` by `minutes` (negative: earlier) round the clock. Returns
// the trains with a time that is not valid, which stays as it was.
std::vector<int> shiftTimes(Scenario& s, const std::vector<int>& trains, int minutes);

// Removes `trains` as CANCELLA TRENO removes one, the later ones closing the gaps.
void removeTrains(Scenario& s, std::vector<int> trains);

} // namespace zeb
