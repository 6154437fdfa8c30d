#pragma once

#include "gtfs/station_day.h"
#include "model/scenario.h"
#include "model/train_links.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// What the user chooses of a station's day.
struct ImportChoice {
    bool onlyTrains = true;
    // The route types taken where given ("0" for tram-trains on railway lines), in place of
    // `onlyTrains`.
    std::vector<int> routeTypes = {};
    // The window of first times at the station, both ends included; a window whose start lies
    // after its end crosses midnight.
    int fromMinute = 0;
    int toMinute = 24 * 60 - 1;
    std::map<std::string, int> categories; // kind → category position, where the user chose
    // Consecutive trips of one block_id whose calls end and start here: one unit, linked.
    bool linkBlocks = true;
};

struct KindChoice {
    std::string kind;
    int trains = 0;
    int category = 0; // the user's, else the default
};

// The trains a choice gives, each as INSERISCI TRENO would store it from the call's values, with
// the track its platform code names where `station` has that track, else none. Past what any
// scenario can take (one train more than it holds, a text or all of them past the file's limits)
// the trains are counted and no longer made.
struct ChosenTrains {
    std::vector<Treno> trains;
    long counted = 0;              // the trains chosen, made or not
    std::vector<KindChoice> kinds; // the kinds among the chosen trains, most trains first
    TrainLinks links{}; // among `trains`: a call that ends here and the next of its block
};
ChosenTrains chooseTrains(const StationDay& day, const ImportChoice& choice,
                          const Scenario& station);

// The station's name, and the tracks its platform codes name where it has any, as the station
// data of `s`.
void useFeedStation(Scenario& s, const StationDay& day);

// Why the chosen trains cannot be appended to `base`, or nullopt: more than the table holds (with
// the advice to narrow the time window), or texts past the file's limits.
std::optional<std::string> importRefusal(const Scenario& base, const ChosenTrains& chosen);

// What an import of the day says beyond its trains, a sentence each without its full stop: names
// written otherwise (listed), calls without any time left out, trips too long, chosen trains
// sharing a number. The dialog and the tool print them.
std::vector<std::string> importNotes(const StationDay& day, const ChosenTrains& chosen);

} // namespace zeb
