#include "track_assignment/assigner.h"

#include <chrono>

namespace zeb::placement {

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

void Assigner::weighFirstPass(const std::vector<int>& order, const Placement& empty,
                              Assignment& result) {
    const auto weighed = placement();
    const Score weighedScore = score(result.unplaced);
    restore(empty);
    weighInFirstPass_ = false;
    std::vector<RuleShortfall> plainShortfalls;
    std::vector<int> plainLeft = firstPass(order, empty, plainShortfalls);
    weighInFirstPass_ = true;
    const bool outOfRules = weighedScore[0] > 0 || weighedScore[1] > 0;
    if (options_.timeLimit > 0 ? outOfRules : score(plainLeft) < weighedScore) {
        result.unplaced = std::move(plainLeft);
        result.shortfalls = std::move(plainShortfalls);
    } else {
        restore(weighed);
    }
}

bool Assigner::searchWithRisk(std::vector<int>& unplaced, const Score& first) {
    const auto start = std::chrono::steady_clock::now();
    const double limit = options_.timeLimit;
    auto left = [&] { return std::max(0.0, limit - secondsSince(start)); };
    bool improved = false;
    if (first[0] > 0 || first[1] > 0) {
        // The search that weighs the delays is slower to find the moves that mend them.
        weighInSearch_ = false;
        improved = search(unplaced, limit * kMendShare, 0);
        weighInSearch_ = true;
    }
    improved = lowerRisk(left()) || improved;
    // A tenth of the time kept for the last round of single moves.
    if (const double searching = left() - limit / 10; searching > 0.01)
        improved = search(unplaced, searching, 1 - left() / limit) || improved;
    return lowerRisk(left()) || improved;
}

std::array<long, 7> Assigner::riskKey(int train, int track, const Fit& fit) const {
    const TrackStanding rule = standing(train, track);
    const bool ruled = rule != TrackStanding::Free;
    return {rule == TrackStanding::Forbidden,
            !placedAnew_ && ownTrackOf(train) >= 0 && track != ownTrackOf(train),
            ruled && rule > TrackStanding::Preferred,
            fit.risk,
            ruled && rule != TrackStanding::FirstPreferred,
            fit.close,
            fit.shortfall};
}

bool Assigner::lowerRisk(double seconds) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    bool movedAny = false;
    for (bool moved = true; moved && std::chrono::steady_clock::now() < until;) {
        moved = false;
        for (int train : movable_) {
            const auto on = trackOf_.find(train);
            if (on == trackOf_.end())
                continue;
            const int from = on->second;
            auto best = riskKey(train, from, fitOn(train, from));
            int to = -1;
            for (int track = 0; track < static_cast<int>(tracks_.size()); ++track) {
                if (track == from || !mayUse(train, track))
                    continue;
                const Fit fit = fitOn(train, track);
                if (!fit.free)
                    continue;
                if (const auto key = riskKey(train, track, fit); key < best) {
                    best = key;
                    to = track;
                }
            }
            if (to < 0)
                continue;
            take(train, from);
            put(train, to, true);
            moved = movedAny = true;
        }
    }
    return movedAny;
}

} // namespace zeb::placement
