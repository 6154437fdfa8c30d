#pragma once

#include "model/scenario.h"
#include "model/train_links.h"

#include <string>
#include <vector>

namespace zeb {

// The minutes the checker and the chart take as given; the user may change them for a session.
struct CheckSettings {
    int separation = 3;   // the least gap between two trains on one track
    int turnaround = 10;  // a terminating train holds its track this long after arriving
    int preparation = 10; // a starting train holds its track this long before leaving
    int leastTurnaround =
        5; // a unit leaves again as another train this long after arriving at least
    int riskThreshold = 50; // the percent of runs with delays above which a clash is warned of
    bool operator==(const CheckSettings&) const = default;
};

// A unit that ends here as one train and leaves as another holds its track as a Turnaround.
enum class OccupancyKind { Passing, Terminating, Starting, Turnaround };

// One train's hold on its track, in minutes from the midnight before `start`: start is in
// 0..1439 and end >= start, so an occupancy across midnight ends past 1440.
struct Occupancy {
    int train; // index in the table
    std::string track;
    int start;
    int end;
    OccupancyKind kind;
    bool cancelled;   // the hold it would have, drawn; it holds nothing
    int leaving = -1; // a Turnaround's second train, which leaves as `train` arrived
};

// "2231" of a train's hold, "2001→2002" of a unit's.
std::string occupancyLabel(const Scenario& s, const Occupancy& o);

// The occupancies of every stored train whose times it needs are valid, in table order: of the
// categories with a track only, and not of cancelled trains, unless `everyTrain` (the chart
// draws them apart). The two trains of each link that holds are one Turnaround, at the place of
// the arriving one. Tracks are not checked against the station here.
std::vector<Occupancy> trackOccupancies(const Scenario& s, const CheckSettings& settings,
                                        bool everyTrain = false, const TrainLinks& links = {});

// The same, of the trains on one of the station's own tracks: those that can clash.
std::vector<Occupancy> stationTrackOccupancies(const Scenario& s, const CheckSettings& settings,
                                               const TrainLinks& links = {});

// Two occupancies of one track that come closer than the separation: `first` starts no later
// than `second` (taken round the clock, so `second` may be shifted by a day), and they are held
// together from `second.start` to `overlapEnd` (empty when they only come too close).
struct Conflict {
    int first;  // index in the occupancies given
    int second; // likewise
    int secondStart;
    int firstEnd;
    int overlapEnd;
};

// The one rule of a conflict: two holds of one track, [start, end) in minutes as Occupancy has
// them, that come closer than `separation` round the clock.
bool tooClose(int startA, int endA, int startB, int endB, int separation);

// The conflicts among `occupancies` on a 24-hour circle, one per pair of trains, by track and
// then by time.
std::vector<Conflict> trackConflicts(const std::vector<Occupancy>& occupancies, int separation);

// The occupancies of each track that chain together round the clock, each too close to another
// of its group: the checker's findings and the chart's marks. A group lists its occupancies from
// a moment the track is free, their times shifted a day on past it (so that they grow along the
// group), with their indices in `occupancies`; an occupancy too close to none is in no group.
// Sorting each track's occupancies is the whole cost, however many pairs clash.
struct ConflictGroup {
    std::vector<Occupancy> held;
    std::vector<int> indices;
};
std::vector<ConflictGroup> conflictGroups(const std::vector<Occupancy>& occupancies,
                                          int separation);

} // namespace zeb
