#pragma once

#include "delay_risk/delay_risk.h"

#include <cstdint>
#include <vector>

namespace zeb {

// A hold as a run moves it: [start, end) with start a clock minute and end past it.
struct MovedHold {
    int start;
    int end;
};

// The holds of a day played with delays: each running train late by a whole number of minutes
// drawn from 0 to the most its index allows, a unit's second train leaving no earlier than its
// first's actual arrival and the least turnaround, a hold moved by its first train's delay at its
// start and its last train's at its end.
class DelayRuns {
public:
    DelayRuns(const Scenario& s, const std::vector<Occupancy>& holds,
              const DelayRiskSettings& settings);

    // Each hold, in the order given, as it stands in the run drawn with `seed`.
    std::vector<MovedHold> moved(std::uint64_t seed) const;

private:
    struct TrainDraw {
        int arrival = -1; // clock minutes of its ends here; -1 where it lacks one
        int departure = -1;
        int most = 0;
    };
    struct Hold {
        int first; // train whose delay moves the start
        int last;  // train whose delay moves the end
        int start;
        int length;
        bool startOnArrival; // the start moves with the arrival, else with the departure
        bool endOnDeparture; // the end moves with the departure, else with the arrival
    };
    struct Link {
        int arriving;
        int leaving;
        int gap; // minutes from the arrival to the departure as written
    };
    struct Delays {
        std::vector<int> arrival;
        std::vector<int> departure;
    };
    Delays drawDelays(std::uint64_t seed) const;

    const Scenario& s_;
    DelayRiskSettings settings_;
    std::vector<TrainDraw> draws_;
    std::vector<Hold> holds_;
    std::vector<Link> links_;
};

} // namespace zeb
