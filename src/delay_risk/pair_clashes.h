#pragma once

#include "delay_risk/delay_runs.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace zeb {

// How often two holds would clash were they on one track, over the runs of a day with delays:
// what an assignment weighs where it chooses a track under the delays. The holds may be on any
// track or none; they are taken by their first train.
class PairClashes {
public:
    PairClashes(const Scenario& s, const std::vector<Occupancy>& holds,
                const DelayRiskSettings& settings);

    int runs() const { return runs_; }
    // No two holds clash in any run: nothing to weigh.
    bool none() const { return counted_.empty(); }

    // The runs in which the holds of trains `a` and `b` come closer than the separation; 0 for a
    // train that holds nothing here.
    int clashRuns(int a, int b) const {
        const int x = holdOf(a);
        const int y = holdOf(b);
        if (x < 0 || y < 0 || x == y || !mayMeet(x, y))
            return 0;
        const auto found = counted_.find(key(x, y));
        return found == counted_.end() ? 0 : found->second;
    }

private:
    int holdOf(int train) const {
        return train >= 0 && train < static_cast<int>(holdOfTrain_.size())
                   ? holdOfTrain_[static_cast<std::size_t>(train)]
                   : -1;
    }
    // Whether the two holds, each stretched over every run, come close at all.
    bool mayMeet(int x, int y) const;
    static std::uint64_t key(int x, int y) {
        const auto low = static_cast<std::uint64_t>(std::min(x, y));
        const auto high = static_cast<std::uint64_t>(std::max(x, y));
        return high << 32 | low;
    }

    int runs_;
    int separation_;
    std::vector<int> holdOfTrain_;
    std::vector<MovedHold> reach_; // each hold from its earliest start to its latest end
    std::unordered_map<std::uint64_t, int> counted_;
};

} // namespace zeb
