#pragma once

#include "model/scenario.h"
#include "model/track_rule.h"
#include "model/train_links.h"
#include "timetable/occupancy.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zeb {

// Which trains an assignment gives a track to.
enum class TrainsToAssign {
    WithoutTrack, // those without a track of the station
    InConflict,   // those in conflict on their track
    OutsideRules, // those on a track their rule forbids
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
    TrackRules rules{}; // the tracks each line and direction may use; none: any track
    int buffer = 0;     // minutes beyond the separation kept between two trains of one track
    // After the rules, the fewest pairs expected to clash once the trains run as late as their
    // indices let them: over `riskRuns` runs drawn from `riskSeed`, as the delay risk counts them.
    bool riduciRischio = false;
    int riskRuns = 1000;
    std::uint64_t riskSeed = 1;
    double timeLimit = 0; // seconds the search for better tracks may take after the first pass
    // Told the share of the time limit spent now and then; answering false stops the search,
    // which keeps the best tracks found so far.
    std::function<bool(double)> progress{};
};

// Where a rule's trains do not fit on its tracks: how many tracks more they would need, and when.
struct RuleShortfall {
    int rule; // 0-based
    int moreTracks;
    int from; // minutes of the day
    int to;
};

// How a scenario's tracks keep the rules and the buffer: trains counted one by one, gaps between
// holds (a unit's being one).
struct TrackQuality {
    int ruled = 0;        // trains a rule takes, on a track of the station
    int outsideRules = 0; // of them, on a track their rule forbids
    int onPreferred = 0;  // on one of their preferred tracks
    int onFirstPreferred = 0;
    int onAllowed = 0; // on a track allowed when the preferred are full
    int shortGaps = 0; // consecutive holds of a track whose gap beyond the separation is under the
                       // buffer, conflicts aside
};
TrackQuality trackQuality(const Scenario& s, const CheckSettings& settings, const TrainLinks& links,
                          const TrackRules& rules, int buffer);

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
    TrackQuality before{};     // with rules or a buffer: the tracks before and after
    TrackQuality after{};
    std::vector<RuleShortfall> shortfalls{}; // rules whose trains did not all fit on their tracks
    // Units on two tracks that the trains chosen leave as they are: a unit is put on one track
    // only where it is chosen, never by moving a train the choice leaves alone.
    TrainLinks splitUnits{};
    bool searched = false;       // the search after the first pass ran
    bool improved = false;       // and found better tracks
    bool searchNeedless = false; // the first pass met every goal: no search was made
    bool riskMeasured = false; // with riduciRischio: the pairs expected to clash, before and after
    double riskBefore = 0;
    double riskAfter = 0;
};

// Tracks for the chosen trains, within the occupancy rules of the checker. In order: the fewest
// trains left in conflict, none on a track its rule forbids, the fewest trains moved off a track
// they had, the most on their first preferred track and then on any preferred, the fewest gaps
// under the buffer, the most lines kept on one track, lower-numbered tracks first. A first pass
// takes the trains by time; with a time limit, an exact search then looks for better tracks. Trains
// that fit nowhere keep the track they had. The two trains of a link are one occupancy on one
// track, also where they had two (the arriving train's decides); a unit is chosen when either of
// its trains is.
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
// "conflitti: prima 3, dopo 0; servono almeno 4 binari"; with rules and a buffer, "conflitti:
// prima 3, dopo 0; fuori regola: 0; sul binario preferito: 40 di 42; intervalli di meno di 8
// minuti (separazione 3 + margine 5): 2; servono almeno 4 binari" (the rules' part with rules only,
// the gaps' with a buffer only).
std::string assignmentSummary(const Assignment& assignment, const AssignmentOptions& options = {});
// How the tracks keep the rules and the buffer, before and after, as the preview says it: "sul
// binario preferito: 40 di 42 treni con una regola (prima 12), sul primo 35", "su un binario
// ammesso in più: 2; fuori regola: 0 (prima 30)", "Intervalli di meno di 8 minuti
// (separazione 3 + margine 5): prima 9, dopo 2".
std::vector<std::string> qualityLines(const Assignment& assignment,
                                      const AssignmentOptions& options);
// What the search did: found better tracks, found none, or was not needed; empty where it was
// not asked for.
std::string searchText(const Assignment& assignment);
// "Conflitti attesi con i ritardi: prima 3,2 per simulazione, dopo 1,1 (1000 simulazioni, seme
// 1)"; empty where the risk was not asked for.
std::string riskText(const Assignment& assignment, const AssignmentOptions& options);
// "unità su due binari, lasciata com'è: 2001→2002 (binari 1 e 2)", a line each.
std::vector<std::string> splitUnitTexts(const Scenario& s, const Assignment& assignment);
// "la regola 3 ha bisogno di 2 binari in più dalle 7:40 alle 8:10", a line each.
std::vector<std::string> shortfallTexts(const Assignment& assignment);

} // namespace zeb
