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
    // Per row: its time is not valid, its track is one the station lacks (or none); printed
    // with a mark and a footnote, never silently.
    std::vector<bool> timeToCheck;
    std::vector<bool> trackToCheck;
    std::string validity; // "Valido dal 13/04/2016 al 30/06/2016", under the title; or none
};

struct CalendarDate {
    int year, month, day;
    bool operator==(const CalendarDate&) const = default;
};
// "Valido dal 13/04/2016 al 30/06/2016", or "Valido il 13/04/2016" for a single day.
std::string posterValidity(const CalendarDate& from, const CalendarDate& to);

// The column of each kind in a poster's rows.
inline constexpr std::size_t kPosterTime = 0;
inline constexpr std::size_t kPosterTrain = 1;
inline constexpr std::size_t kPosterPlace = 2; // destination or origin

// Names of places and stops are written without the words every one of them shares (the
// operator's name on every stop: "San Francisco Caltrain", "Millbrae Caltrain" → "San
// Francisco", "Millbrae"), where two names or more remain and none is left empty.
Poster departuresPoster(const Scenario& s);
Poster arrivalsPoster(const Scenario& s);

// The stops without the final ",.", separated by " - ": "Pieve,Rocca,." gives "Pieve - Rocca".
std::string principalStops(const std::string& fermate);

} // namespace zeb
