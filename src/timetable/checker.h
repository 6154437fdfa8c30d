#pragma once

#include "model/scenario.h"
#include "timetable/occupancy.h"

#include <string>
#include <vector>

namespace zeb {

enum class Severity { Error, Warning };

// One thing the checker found: how serious, the trains it concerns (indices in the table) and an
// Italian sentence naming them with their positions, numbers, track and times.
struct Finding {
    Severity severity;
    std::vector<int> trains;
    std::string message;
    int minute = -1; // the time it is about, for the order; -1 when it has none

    bool operator==(const Finding&) const = default;
};

// Checks the stored trains: occupancy conflicts on a track (a linked unit holding its track
// from the first train's arrival to the second's departure), times that are not valid, tracks
// the station does not have, links that cannot stand (errors); numbers used twice, stands over
// an hour, stops without the final ",." (warnings). Errors come first, then by time, then by
// table order.
std::vector<Finding> checkScenario(const Scenario& s, const CheckSettings& settings = {},
                                   const TrainLinks& links = {});

// `findings` with `more` among them, in the checker's order: what other rules of the station
// find beside the checker (the track rules).
std::vector<Finding> withFindings(std::vector<Finding> findings, std::vector<Finding> more);

// How many of the findings are errors and how many warnings.
struct FindingsCount {
    int errors = 0;
    int warnings = 0;
};
FindingsCount countFindings(const std::vector<Finding>& findings);
// "Nessun problema", "3 errori · 1 avviso": the count as the editor's indicator says it.
std::string findingsText(const FindingsCount& count);

} // namespace zeb
