#pragma once

#include "boards/boards.h"

#include <string>
#include <vector>

namespace zeb {

// What the station's loudspeakers say, and when (minutes after the day's start).
struct Announcement {
    enum class Kind { Departure, Arrival, Delay, Cancellation, TrackChange, Bus };
    int minute = 0;
    int train = -1;
    Kind kind = Kind::Departure;
    std::string text{};
};

// "partenza", "arrivo", "ritardo", "soppressione", "cambio binario", "autobus".
const char* kindName(Announcement::Kind kind);

// Every announcement of the day, in the order they are made: a departure and an arrival five
// minutes before they happen (a bus's from the forecourt instead), a delay of five minutes or more
// when the train was due, a cancellation half an hour before it was due in place of the others,
// a track other than the base day's when the track shows.
std::vector<Announcement> announcements(const Scenario& s, const PlayedDay& day,
                                        const BoardSettings& settings);

} // namespace zeb
