#pragma once

#include "model/scenario.h"
#include "model/train_links.h"
#include "timetable/occupancy.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zeb {

// How the day's delays are drawn: `runs` days, the k-th drawn with seed `seed + k` as the boards
// draw theirs, so that the boards with that seed show that run; or one day with every train at
// its most (`most`).
struct DelayRiskSettings {
    int runs = 1000;
    std::uint64_t seed = 1;
    bool most = false;
    CheckSettings check{};
    bool operator==(const DelayRiskSettings&) const = default;
};

// Two holds of one track that clash in some runs: a train (or a unit, by its arriving train)
// each, and the share of runs in which they do.
struct RiskyPair {
    int first; // index in the table, the earlier as written
    int second;
    std::string track;
    double share;
};

// A running train's lot: the share of runs in which it clashes, and the trains it clashes with,
// most often first.
struct TrainRisk {
    int train;
    double share;
    std::vector<int> with;
};

// The day's figures over the runs.
struct DelayRisk {
    int runs = 0;
    double expectedClashes = 0;    // clashing pairs in a run, on average
    double clashingRuns = 0;       // the share of runs with at least one
    std::vector<TrainRisk> trains; // every train that holds a station track, most at risk first
    std::vector<RiskyPair> pairs;  // every pair that clashes in some run, most often first
    // The share of runs with a clash on each station track, by its name.
    std::vector<std::pair<std::string, double>> tracks;
    bool cancelled = false; // `progress` said stop; the figures are of no use
};

// Tells how far the runs have come; false stops them.
using RiskProgress = std::function<bool(int done, int total)>;

// The day of `s` played with delays as the simulator draws them: each running train late by a
// whole number of minutes from 0 to the most its index allows, a linked unit leaving no earlier
// than its arriving train's actual arrival and the least turnaround, every hold on a station
// track moved later by its train's delay; clashes as the checker finds them, counted per run.
DelayRisk measureDelayRisk(const Scenario& s, const TrainLinks& links,
                           const DelayRiskSettings& settings, const RiskProgress& progress = {});

// "in conflitto nel 62 %": a share as the windows and the tool say it, rounded to a whole percent
// (never 0 % of a share above nothing, nor 100 % of one below all).
std::string percentText(double share);

} // namespace zeb
