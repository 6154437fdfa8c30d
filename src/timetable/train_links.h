#pragma once

#include "model/scenario.h"
#include "model/train_links.h"
#include "timetable/occupancy.h"

#include <optional>
#include <string>

namespace zeb {

// Whether a link can stand as one unit on one track, and if not, why. A link with a cancelled
// train, or with times that are not valid, is no unit and no fault of its own: the trains hold
// their tracks (or nothing) as they would alone.
enum class LinkState {
    Holds,
    Idle,         // a train cancelled, or a time not valid
    MissingTrain, // an index past the table
    NotEnding,    // the arriving train leaves again
    NotStarting,  // the leaving train arrives
    OtherTracks,
    WrongOrder, // the second leaves before the first arrives, more than half a day round
    TooClose,   // less than the least turnaround between arrival and departure
};
LinkState linkState(const Scenario& s, const TrainLink& link, const CheckSettings& settings);

// The minutes the unit stands, from the first train's arrival to the second's departure, through
// midnight where it leaves earlier in the day; nullopt where a time is not valid.
std::optional<int> standingMinutes(const Scenario& s, const TrainLink& link);

// "2001→2002".
std::string unitLabel(const Scenario& s, const TrainLink& link);

// What is wrong with a link, for the checker ("2001→2002: 2002 arriva in stazione, non parte da
// qui"); nullopt when it holds or is idle.
std::optional<std::string> linkFault(const Scenario& s, const TrainLink& link,
                                     const CheckSettings& settings);

} // namespace zeb
