#pragma once

#include "gtfs/feed.h"

#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// The number a trip's train carries, and whether it is its line's rather than its own.
struct TrainNumber {
    std::string text;
    bool ofLine = false;
};
// Its trip_headsign where that is all digits (a feed writing the line as the short name); else its
// trip_short_name, or the last run of digits of one holding a kind and a line ("RE_51 - 80392"
// gives "80392", "ICE 1672" "1672"); where that is empty, the last run of digits of the route's
// long name, then of its short name: the line's number; else the trip_id.
TrainNumber trainNumber(const GtfsTrip& trip, const GtfsRoute& route);

// The kind of service a trip is, as a person names it: the text before the train's number
// ("ICE" of "ICE 1672"), else the route's name.
std::string serviceKind(const GtfsTrip& trip, const GtfsRoute& route);

// The category a kind of service becomes unless the user says otherwise: by the kind's text,
// else by the route type. A position in the category list.
int defaultCategory(std::string_view kind, int routeType);

// Rail services: route type 2 and the extended railway types 100-199. Only these are taken
// while the import keeps to trains.
bool isRailService(int routeType);

// The track slot a platform code names ("5", "Gleis 5", "Bin. 5", "5a" name track 5, slot 4;
// "1 Tronco" names the first stub track), or nullopt ("NB").
std::optional<int> trackSlotOfPlatform(std::string_view code);

// `utf8` as the scenario file can hold it: unchanged where Windows-1252 holds every character,
// else with just the characters it lacks in Latin letters ("Łódź" gives "Lódz", "Zielona Góra
// Główna" "Zielona Góra Glówna"); control characters and line breaks become blanks, a byte that
// is not UTF-8 "?". `changed` is set when the text had to change.
std::string fittedName(std::string_view utf8, bool& changed);

// A stop's name as a list of stops can hold it: a comma becomes " - " ("Roma, Termini" is "Roma
// - Termini"), and a blank name "fermata senza nome".
std::string stopListName(std::string name);

} // namespace zeb
