#pragma once

#include "model/scenario.h"
#include "model/train_links.h"
#include "timetable/occupancy.h"

#include <string>
#include <vector>

namespace zeb {

// Which trains an assignment gives a track to.
enum class TrainsToAssign {
    WithoutTrack, // those without a track of the station
    InConflict,   // those in conflict on their track
    Selected,     // those given
    All,          // every train of a category with a track
};

struct AssignmentOptions {
    TrainsToAssign which = TrainsToAssign::WithoutTrack;
    std::vector<int> selected;              // for Selezionati
    std::vector<std::string> allowedTracks; // the tracks that may be used; empty: all
    bool keepAssigned = true; // the other trains keep their tracks; off, any train may move
    bool sameLine = true;     // trains of one line (origin and destination) on one track
    bool stubsForEnds = true; // stub tracks only for trains that start or end here
    CheckSettings settings;
    TrainLinks links{}; // a unit goes to one track, both its trains together
};

struct TrackChange {
    int train;
    std::string from; // "" for none
    std::string to;
};

// A proposal: the changes, in table order, and what they achieve.
struct Assignment {
    std::vector<TrackChange> changes;
    int conflictsBefore = 0; // pairs of trains in conflict on a track, before and after
    int conflictsAfter = 0;
    int lowerBound = 0;        // the most trains whose widened occupancies meet at one moment
    std::vector<int> unplaced; // trains no allowed track takes without a conflict
    int moreTracks = 0;        // tracks more that would take them
};

// Tracks for the chosen trains, within the occupancy rules of the checker. In order: the fewest
// trains left in conflict, the fewest trains moved off a track they had, the most lines kept on
// one track, lower-numbered tracks first. Trains that fit nowhere keep the track they had. The
// two trains of a link are one occupancy on one track, also where they had two (the arriving
// train's decides); a unit is chosen when either of its trains is.
Assignment assignTracks(const Scenario& s, const AssignmentOptions& options);

// The changes made in `s`.
void applyAssignment(Scenario& s, const Assignment& assignment);

// The stored trains from `first` on that need a track and have none of the station's: what an
// import brings without tracks.
std::vector<int> tracklessTrains(const Scenario& s, int first = 0);

// The pairs of trains (or units) in conflict on a track of the station.
int stationConflicts(const Scenario& s, const CheckSettings& settings,
                     const TrainLinks& links = {});

// The trains (the first of a unit) `train` would clash with on `track` with its times moved by
// `minutes` round the clock, as a drag in the chart shows before the drop. A train of a unit
// takes the unit along to the track, and in time stretches or shrinks its hold.
std::vector<int> clashesAfterMove(const Scenario& s, const CheckSettings& settings, int train,
                                  const std::string& track, int minutes,
                                  const TrainLinks& links = {});

// "2231 07:45: nessun binario → 4".
std::string changeText(const Scenario& s, const TrackChange& change);

// What an assignment leaves undone, as the preview and the tool say it: "senza binario libero:
// 2233, 2235 (1 binario in più li collocherebbe)"; empty when every train found a track.
std::string unplacedText(const Scenario& s, const Assignment& assignment);
// "conflitti: prima 3, dopo 0; servono almeno 4 binari".
std::string assignmentSummary(const Assignment& assignment);

} // namespace zeb
