#pragma once

#include "model/scenario.h"
#include "model/train_links.h"

#include <string>
#include <vector>

namespace zeb {

// A train as the companion file names it: its number, where it comes from (an arriving train)
// or goes to (a leaving one), and its time here, "HH:MM". Not its place in the table, so that a
// file edited by another program, or a scenario edited without the editor, still matches where
// it can.
struct StoredTrain {
    std::string number;
    std::string place;
    std::string time;
    bool operator==(const StoredTrain&) const = default;
};

struct StoredLink {
    StoredTrain arriving;
    StoredTrain leaving;
    bool operator==(const StoredLink&) const = default;
};

// A link between two trains as the file names it.
StoredLink storedLink(const Treno& arriving, const Treno& leaving);

// The links as the file names them; of trains of a scenario or of a list (an import's).
std::vector<StoredLink> storedLinks(const Scenario& s, const TrainLinks& links);
std::vector<StoredLink> storedLinks(const std::vector<Treno>& trains, const TrainLinks& links);

// The links of the file among the scenario's trains: each train by its number, the one whose
// time and place match best where the number repeats; a link whose train is not found, is found
// twice, or is already linked that way is left out and counted.
struct FoundLinks {
    TrainLinks links;
    int ignored = 0;
};
FoundLinks findLinks(const Scenario& s, const std::vector<StoredLink>& stored);

} // namespace zeb
