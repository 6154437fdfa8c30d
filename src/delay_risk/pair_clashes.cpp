#include "delay_risk/pair_clashes.h"

#include "model/clock.h"

namespace zeb {

PairClashes::PairClashes(const Scenario& s, const std::vector<Occupancy>& holds,
                         const DelayRiskSettings& settings)
    : runs_(settings.most ? 1 : std::max(settings.runs, 1)), separation_(settings.check.separation),
      holdOfTrain_(static_cast<std::size_t>(std::max(s.totale_treni, 0)), -1) {
    for (std::size_t k = 0; k < holds.size(); ++k) {
        holdOfTrain_[static_cast<std::size_t>(holds[k].train)] = static_cast<int>(k);
        reach_.push_back({holds[k].start, holds[k].end});
    }
    // Each hold's place in every run, a hold's runs side by side for the pairs' counts.
    const DelayRuns played(s, holds, settings);
    std::vector<std::vector<MovedHold>> byHold(holds.size());
    for (int run = 0; run < runs_; ++run) {
        const auto moved = played.moved(settings.seed + static_cast<std::uint64_t>(run));
        for (std::size_t k = 0; k < holds.size(); ++k) {
            byHold[k].push_back(moved[k]);
            // Delays only move a hold later: it reaches from its start as written.
            const int late = minutesAfter(holds[k].start, moved[k].start);
            reach_[k].end =
                std::max(reach_[k].end, holds[k].start + late + moved[k].end - moved[k].start);
        }
    }
    for (int x = 0; x < static_cast<int>(holds.size()); ++x) {
        for (int y = x + 1; y < static_cast<int>(holds.size()); ++y) {
            if (!mayMeet(x, y))
                continue;
            const auto& a = byHold[static_cast<std::size_t>(x)];
            const auto& b = byHold[static_cast<std::size_t>(y)];
            int count = 0;
            for (std::size_t run = 0; run < a.size(); ++run)
                count += tooClose(a[run].start, a[run].end, b[run].start, b[run].end, separation_)
                             ? 1
                             : 0;
            if (count > 0)
                counted_[key(x, y)] = count;
        }
    }
}

bool PairClashes::mayMeet(int x, int y) const {
    const MovedHold& a = reach_[static_cast<std::size_t>(x)];
    const MovedHold& b = reach_[static_cast<std::size_t>(y)];
    return tooClose(a.start, a.end, b.start, b.end, separation_);
}

} // namespace zeb
