#pragma once

#include "boards/played_day.h"

#include <string>
#include <vector>

namespace zeb {

// What the boards show and for how long, minutes.
struct BoardSettings {
    int rows = 10;        // 5, 10, 20 or 40
    int horizon = 60;     // a train shows this long before it is due
    int trackShown = 20;  // its track shows this long before it leaves or arrives
    int afterArrival = 5; // an arrival stays this long once in
};

// A row of a board as the passengers read it.
struct BoardRow {
    int train = -1;
    std::string time{}; // as due, "08:15"
    std::string category{};
    std::string number{};
    std::string place{};      // the destination, or on the arrivals board the origin
    std::string delay{};      // minutes, empty when on time
    std::string track{};      // once it shows: "3", "3, era 5", "Piazzale Esterno"
    std::string indication{}; // the subsidiary indication, "Soppresso" for a cancelled train
    std::string stops{};      // the further stops, on the departures only
    bool cancelled = false;
    bool delayed = false;
    bool trackChanged = false;
};

struct Board {
    std::vector<BoardRow> rows; // the earliest first, at most the rows set
    int notShown = 0;           // trains due that the rows leave out
};

// The departures ("Partenze") and arrivals ("Arrivi") boards at `minute`, minutes after the day's
// start: a train from `horizon` minutes before it is due until it leaves (arrivals: until
// `afterArrival` minutes after it is in); a cancelled train until it was due.
Board departuresBoard(const Scenario& s, const PlayedDay& day, int minute,
                      const BoardSettings& settings);
Board arrivalsBoard(const Scenario& s, const PlayedDay& day, int minute,
                    const BoardSettings& settings);

// "Pieve, Rocca": the stops a departure still makes, as read; none for a train that ends here.
std::string furtherStops(const Treno& t);

// "1 altro treno non è mostrato", "3 altri treni non sono mostrati"; empty for none.
std::string notShownText(int trains);

// A track's display: the train that holds it at the minute (a unit's second train once its
// first is in), else the next due on it within the horizon, else none.
struct TrackDisplay {
    std::string track{};
    std::optional<BoardRow> train{};
    bool holding = false; // the train stands on the track now
};
std::vector<TrackDisplay> trackDisplays(const Scenario& s, const PlayedDay& day, int minute,
                                        const BoardSettings& settings);

} // namespace zeb
