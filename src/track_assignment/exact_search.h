#pragma once

#include "track_assignment/spans.h"

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace zeb {

// A train, or a unit, that the exact search places: its hold widened by the separation, the
// tracks it may take with what each costs, and the track the first pass gave it (-1: none).
struct SearchItem {
    Span span;
    std::vector<std::pair<int, long>> options; // track, cost
    int seed = -1;
    int key = -1; // what pairRisk knows the item by
};

// The placement asked of the search: every item on one of its tracks or on none, no two that
// clash on one track (the tracks are free of the trains that stay where they are), at the least
// cost: an item left without a track costs `unplacedCost`, two on one track closer than
// `buffer` minutes cost `closeCost` and a minute for each minute under it.
struct SearchProblem {
    int tracks = 0;
    std::vector<SearchItem> items;
    int buffer = 0;
    long unplacedCost = 0;
    long closeCost = 0;
    // The cost of two items on one track beside their gap, by their keys: how often they would
    // clash once late. None where it is empty.
    std::function<long(int, int)> pairRisk{};
};

// What two items cost on one track: closer than the buffer, and likely to clash once late.
long pairCost(const SearchProblem& p, const SearchItem& a, const SearchItem& b);

// The track of each item in the best placement the solver found within `seconds` (-1: none),
// seeded with the items' own; nullopt when it found none better. `progress` is told the share of
// the time spent, and stops the search by answering false.
std::optional<std::vector<int>> searchTracks(const SearchProblem& problem, double seconds,
                                             const std::function<bool(double)>& progress);

// Whether this build has the solver; without it the search finds nothing, at once.
bool solverAvailable();

// The best placement of all the problem's items that the solver finds within `seconds`, seeded
// with the items' own; `optimal` says whether the solver proved it the best. The windows of
// searchTracks are each solved by it.
std::optional<std::vector<int>> solveModel(const SearchProblem& problem, double seconds,
                                           const std::function<bool(double)>& progress,
                                           bool& optimal);

} // namespace zeb
