#pragma once

#include "gtfs/train_choice.h"
#include "model/scenario.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zeb {

// What an import does with the chosen trains the scenario already holds (the same number, origin
// and times): a second import of the same day would hold every train twice.
enum class PresentTrains {
    AddNew,  // only the trains not yet there are added
    Replace, // those there take the feed's values, keeping the track, delay, indication and note
             // the user gave them; the others are added
    AddAll,  // every chosen train is added
};

// The chosen trains settled against what `base` holds.
struct SettledImport {
    std::vector<Treno> added;
    std::vector<std::pair<int, Treno>> replaced; // position, the train as it becomes
    long present = 0;                            // chosen trains the scenario held already
    long unmade = 0;            // chosen trains past what any scenario takes, counted and not made
    std::vector<int> addedFrom; // each added train's place among the chosen
    std::vector<std::pair<int, int>> replacedFrom; // a replacing train's place, its position
};
SettledImport settleImport(const Scenario& base, ChosenTrains chosen, PresentTrains how);

// Why the settled trains cannot go into `base`, as importRefusal says it, or nullopt.
std::optional<std::string> settledRefusal(const Scenario& base, const SettledImport& settled);

// Writes the replacements over their trains and appends the others; returns the position of the
// first appended.
int applySettled(Scenario& base, SettledImport& settled);

} // namespace zeb
