#pragma once

#include "model/scenario.h"
#include "model/train_links.h"
#include "timetable/occupancy.h"

#include <optional>
#include <string>
#include <vector>

namespace zeb {

// The links the rule of turnarounds proposes: each train that ends here is paired with a train
// that starts here on the same track (or both without one), leaving at least the least
// turnaround and at most `longestWait` minutes after it arrives (through midnight too). Trains
// of one category are paired first, in the order of their arrivals, then the rest; among the
// departures one that goes back where the first came from comes first, then the earliest. Trains
// already linked, and cancelled ones, are left as they are.
struct TurnaroundPairs {
    TrainLinks links;                // the new ones, in the order of their arrivals
    std::vector<int> singleEnding;   // trains that end here and stay unlinked
    std::vector<int> singleStarting; // trains that start here and stay unlinked
};
inline constexpr int kDefaultLongestWait = 90;
TurnaroundPairs pairTurnarounds(const Scenario& s, const CheckSettings& settings,
                                int longestWait = kDefaultLongestWait,
                                const TrainLinks& existing = {});

// "2001 → 2002, binario 1, 10:00 → 10:20": a link as the tool and the preview list it, with
// ", Regionale → Suburbano" where the unit changes category.
std::string linkLine(const Scenario& s, const TrainLink& link);

// "2 cambiano categoria e 1 non torna da dove arriva": what of `links` a planner would look at
// twice; empty where every unit keeps its category and goes back.
std::string pairChangesText(const Scenario& s, const TrainLinks& links);

// The trains `train` may go on as (`side` Onward: those that start here) or come from (those that
// end here): first those not linked that way yet, then those on `train`'s track (or, like it,
// without one), then the nearest in time round the clock; none where `train` does not end
// (start) here.
std::vector<int> linkCandidates(const Scenario& s, const TrainLinks& links, int train,
                                LinkSide side);

// The link of another train that linking `train` onward (or back) to `other` would undo:
// `other` already taken that way by someone else.
std::optional<TrainLink> displacedLink(const TrainLinks& links, int train, LinkSide side,
                                       int other);

// The links with the train that `train` goes on as (Onward), or comes from, set to `other`
// (none: removed), any link either had that way being dropped.
TrainLinks relinked(const TrainLinks& links, int train, LinkSide side, std::optional<int> other);

// The other train of `train`'s unit, or -1.
int unitPartner(const TrainLinks& links, int train);

// "2001→2002, 2011→2012": the first `shown` of `links`, and how many more.
std::string unitLabels(const Scenario& s, const TrainLinks& links, std::size_t shown = 5);

// The links that stand as units in `before` and no longer in `after` (the same trains, changed):
// what a change to many trains would break.
TrainLinks brokenLinks(const Scenario& before, const Scenario& after, const TrainLinks& links,
                       const CheckSettings& settings);

// `existing` and each link of `added` whose trains are not linked that way already, in the order
// of their arriving trains.
TrainLinks withLinks(TrainLinks existing, const TrainLinks& added);

} // namespace zeb
