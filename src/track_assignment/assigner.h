#pragma once

#include "delay_risk/pair_clashes.h"
#include "model/scenario.h"
#include "track_assignment/exact_search.h"
#include "track_assignment/spans.h"
#include "track_assignment/track_assignment.h"
#include "track_rules/rule_matching.h"

#include <array>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

// The first pass and the goals of an assignment, for track_assignment.cpp alone.
namespace zeb::placement {

// The most spans that meet at one moment of the circle, and a moment where the fewest meet.
struct Coverage {
    int most = 0;
    int quietest = 0; // a moment where the fewest spans meet
};
Coverage coverage(const std::vector<Span>& spans);

// The most spans that meet at one minute of the circle, and the first stretch of minutes where
// that many meet.
struct Stretch {
    int most = 0;
    int from = 0;
    int to = 0;
};
Stretch busiestStretch(const std::vector<Span>& spans);

// Where a track stands for a train, best first: the track it has, its rule's first preferred, the
// other preferred, a track its line uses (no rule), any track (no rule), one allowed when the
// preferred are full, one its rule forbids (only rather than a conflict).
enum Tier {
    Own,
    FirstPreferredTier,
    PreferredTier,
    LineTier,
    AnyTier,
    OverflowTier,
    ForbiddenTier
};

// How a train fits on a track: free of clashes, in how many runs with delays it would clash with
// the track's trains (added up over them), and how many of them would stand closer to it than the
// buffer, the closest how close.
struct Fit {
    bool free = true;
    int risk = 0;
    int close = 0;
    int shortfall = 0; // minutes under the buffer, added up
};

// The goals of an assignment in their order, for the chosen trains: lower is better. The last
// two only break ties: trains moved off the track they had, where every train is placed anew,
// and lower tracks.
using Score = std::array<long, 10>;
inline constexpr long kTieGoals = 8;

class Assigner {
public:
    Assigner(const Scenario& s, const AssignmentOptions& options);

    Assignment run();
    // The trains the options let it move, a unit by its first: in table order.
    std::vector<int> chosenTrains() const { return movableTrains(); }

private:
    // Where the trains stand: on each track, each chosen train's, each line's on each track.
    using Placement = std::tuple<std::vector<std::vector<int>>, std::map<int, int>,
                                 std::vector<std::vector<int>>>;
    Placement placement() const { return {placed_, trackOf_, lineTracks_}; }
    void restore(const Placement& kept) { std::tie(placed_, trackOf_, lineTracks_) = kept; }

    // The greedy passes: within the rules, then where a track is free, the rules' shortfalls
    // found. Returns the trains left without a track.
    std::vector<int> firstPass(const std::vector<int>& order, const Placement& empty,
                               std::vector<RuleShortfall>& shortfallsFound);

    // From the quietest moment round the day by start, those across it first: a greedy pass by
    // start is optimal for intervals on a line, and the cut makes the circle nearly one.
    std::vector<int> byStart(std::vector<int> order, int quietest) const;

    // The trains deferred to the second pass may find their time taken by later trains: where
    // placing every train by its time, on a forbidden track rather than none, leaves fewer
    // without a track, that goes first, the rules after.
    void placeByTimeWhereFewerAreLeft(const std::vector<int>& order, const Placement& empty,
                                      std::vector<int>& unplaced);

    // Places the trains in order on their best free track; a train that fits nowhere takes a
    // track whose one blocking train can move to another. Returns those left without.
    std::vector<int> placeAll(const std::vector<int>& order, bool forbiddenToo);

    std::vector<TrackChange> changes() const;

    std::vector<int> movableTrains() const;

    std::vector<int> conflictingTrains() const;

    int trackIndex(const std::string& name) const;

    std::size_t lineOfTrainAt(int train) const;

    const Span& spanOf(int train) const { return spans_[static_cast<std::size_t>(train)]; }
    // The station's track a train has, as an index of tracks_; -1 for none.
    int ownTrackOf(int train) const { return ownTrack_[static_cast<std::size_t>(train)]; }

    bool mayUse(int train, int track) const;

    // How the rules of a train (both trains of a unit) see a track: the worse of the two.
    TrackStanding standing(int train, int track) const;

    Tier tierOf(int train, int track) const;

    // Whether `train` fits on `track` and how close it would stand to the trains there.
    Fit fitOn(int train, int track) const;

    // The same among the trains on `track` that `counts` takes.
    template <typename Counts> Fit fitAmong(int train, int track, Counts counts) const {
        Fit fit;
        const Span span = spanOf(train);
        for (int other : placed_[static_cast<std::size_t>(track)]) {
            if (!counts(other))
                continue;
            const Span& on = spanOf(other);
            if (clash(span, on))
                return {false, 0, 0, 0};
            fit.risk += riskWith(train, other);
            if (options_.buffer <= 0)
                continue;
            const int gap = gapAround(span, on);
            if (gap < options_.buffer) {
                ++fit.close;
                fit.shortfall += options_.buffer - gap;
            }
        }
        return fit;
    }

    DelayRiskSettings riskSettings() const {
        return {options_.riskRuns, options_.riskSeed, false, options_.settings};
    }
    // The runs with delays in which two trains would clash on one track; 0 unless asked.
    int riskWith(int train, int other) const {
        return clashes_ ? clashes_->clashRuns(train, other) : 0;
    }
    // What the search weighs those runs at: an expected clash above a hundred close pairs, below
    // a rule's preferred track over one it allows.
    long riskCost(int runs) const { return clashes_ ? kRiskCost * runs / clashes_->runs() : 0; }

    // The tracks to try for a train in the order that breaks ties: the one it has, those of its
    // line (the most used first), then the station's order.
    std::vector<int> preferences(int train) const;

    // The best free track for a train: the best tier, then the fewest trains closer than the
    // buffer and the least under it, then the order of preferences().
    std::optional<int> bestTrack(int train, int except, bool forbiddenToo) const;

    // The trains on `track` that clash with `train`.
    std::vector<int> blockers(int train, int track) const;

    void put(int train, int track, bool movable);

    void take(int train, int track);

    // Places `train` on a track whose one blocking train (a movable one) fits elsewhere.
    bool placeByMovingOne(int train, bool forbiddenToo);

    // Tracks a set of trains would need among themselves, by the same greedy pass.
    int tracksFor(const std::vector<int>& trains) const;

    // The rules among those of `left` whose trains cannot all fit on their tracks: the most of
    // them that meet at one moment (widened by the separation) past the tracks the rule may use,
    // and when that many meet first. Trains left because others took their tracks are no
    // shortfall of the rule's.
    std::vector<RuleShortfall> shortfalls(const std::vector<int>& left) const;

    // The rule of a train, or of the first of its unit that has one; -1 for none.
    int ruleOfUnit(int train) const;

    // The goals of the placement now, over the chosen trains and the gaps of every track.
    Score score(const std::vector<int>& unplaced) const;

    // The first pass weighing the delays, in `result`, against one that does not: where a search
    // follows, the latter goes on when the former leaves trains out of their rules (the search
    // mends its placement better); else the one that meets the goals better.
    void weighFirstPass(const std::vector<int>& order, const Placement& empty, Assignment& result);
    // The search where the delays are weighed, from the first pass whose goals are `first`:
    // trains out of their rules mended first as without the delays, then the risk lowered one
    // train at a time, the exact search weighing it, and one train at a time again.
    bool searchWithRisk(std::vector<int>& unplaced, const Score& first);

    // Where a track stands for a train by the goals up to the risk and the buffer's after it:
    // lower is better.
    std::array<long, 7> riskKey(int train, int track, const Fit& fit) const;
    // Moves one train at a time to a free track where it would clash less often once late, the
    // goals before the risk no worse, round after round until none moves or `seconds` are
    // spent. Returns whether any moved.
    bool lowerRisk(double seconds);

    // The exact search from the tracks so far for `seconds`, after `shareBefore` of the time
    // limit: kept where it does better, goal by goal.
    bool search(std::vector<int>& unplaced, double seconds, double shareBefore);

    // A chosen train as the search sees it: the tracks its rule allows and the trains that stay
    // leave free, each with the cost of its goals.
    SearchItem searchItem(int train) const;

    static constexpr std::array<long, 7> kTierCost = {0, 0, 100'000, 0, 30, 200'000, 0};
    static constexpr long kRiskCost = 10'000;         // a pair that clashes in every run
    static constexpr double kQuickDescentSeconds = 1; // lowering the risk without a search
    static constexpr double kMendShare = 0.95; // of the time limit, for trains out of their rules
    // Weighing the delays: a preferred track but the first, below 5 % of an expected clash.
    static constexpr long kSecondPreferredCost = 500;
    static constexpr long kCloseCost = 100; // a close pair, beside a minute under the buffer
    // A train placed anew off the track it had: below a line's track, above a lower track.
    static constexpr long kMovedAnewCost = 25;

    const Scenario& s_;
    const AssignmentOptions& options_;
    std::vector<std::string> tracks_;
    std::vector<bool> allowed_;
    std::vector<bool> stub_; // by track
    bool stubsForEnds_ = false;
    std::map<int, Occupancy> occupancy_;   // trains with valid times, by table position
    std::vector<std::vector<int>> placed_; // trains on each track
    std::map<int, int> trackOf_;           // movable train → track given
    std::vector<int> movable_;             // the chosen trains, in table order
    std::vector<Span> spans_;              // by table position
    std::vector<bool> passing_;            // likewise
    std::vector<int> lineOfTrain_;
    std::vector<int> ruleOf_;   // likewise; -1 for no rule
    std::vector<int> ownTrack_; // likewise
    bool placedAnew_ = false;   // every train chosen: the tracks they had are no claim
    std::vector<std::vector<int>> lineTracks_; // line → trains on each track
    std::optional<PairClashes> clashes_;       // with riduciRischio
    bool weighInFirstPass_ = true;             // the greedy pass weighs the delays too
    bool weighInSearch_ = true;                // and so does the search
};

} // namespace zeb::placement
