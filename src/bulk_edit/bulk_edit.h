#pragma once

#include "model/scenario.h"
#include "timetable/occupancy.h"

#include <string>

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

// What a repeat or a shift would bring before it is made: how many of the trains it would add or
// move would be in conflict on their track, and the numbers of the trains they would meet.
struct ClashPreview {
    int trains = 0;
    std::vector<std::string> with;
};
ClashPreview clashesOfRepeat(const Scenario& s, const CheckSettings& settings, int index,
                             int everyMinutes, int times, int numberStep);
ClashPreview clashesOfShift(const Scenario& s, const CheckSettings& settings,
                            const std::vector<int>& trains, int minutes);
// "Nessun conflitto." or "3 treni su 10 in conflitto, con 2231, 2233 e altri 4.".
std::string clashText(const ClashPreview& preview, int of);

} // namespace zeb
