#pragma once

#include "model/scenario.h"

#include <string>
#include <vector>

namespace zeb {

// The content of one of the station's posters: "Partenze" (every train with a destination, by
// departure time) or "Arrivi" (every train with an origin, by arrival time). Trains whose time is
// not valid come last, in table order.
struct Poster {
    std::string title;   // "Partenze" or "Arrivi"
    std::string station; // the station's name
    bool departures;
    std::vector<std::string> heads;
    std::vector<std::vector<std::string>> rows; // one cell per head
};

Poster departuresPoster(const Scenario& s);
Poster arrivalsPoster(const Scenario& s);

// The stops without the final ",.", separated by " - ": "Pieve,Rocca,." gives "Pieve - Rocca".
std::string principalStops(const std::string& fermate);

} // namespace zeb
