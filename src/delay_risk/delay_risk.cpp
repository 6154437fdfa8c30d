#include "delay_risk/delay_risk.h"

#include "delay_risk/delay_runs.h"

#include "model/clock.h"
#include "model/track_slots.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace zeb {

namespace {

// The station's holds played run after run, and the pairs of them that clash in each.
class RiskRunner {
public:
    RiskRunner(const Scenario& s, const TrainLinks& links, const DelayRiskSettings& settings)
        : holds_(stationTrackOccupancies(s, settings.check, links)), runs_(s, holds_, settings),
          separation_(settings.check.separation) {
        for (const Occupancy& o : holds_)
            slots_.push_back(slotOfTrackName(o.track).value_or(0));
    }

    const std::vector<Occupancy>& holds() const { return holds_; }
    int slotOf(int hold) const { return slots_[static_cast<std::size_t>(hold)]; }

    // The clashing pairs of holds in the run drawn with `seed`, each once, as indices.
    std::vector<std::pair<int, int>> clashes(std::uint64_t seed) const {
        const std::vector<MovedHold> now = runs_.moved(seed);
        std::vector<Moved> moved;
        moved.reserve(now.size() * 2);
        for (std::size_t k = 0; k < now.size(); ++k) {
            for (int day : {0, kMinutesPerDay})
                moved.push_back(
                    {slots_[k], now[k].start + day, now[k].end + day, static_cast<int>(k)});
        }
        std::sort(moved.begin(), moved.end(), [](const Moved& a, const Moved& b) {
            return a.track != b.track ? a.track < b.track : a.start < b.start;
        });
        std::vector<std::pair<int, int>> found;
        for (std::size_t a = 0; a < moved.size(); ++a) {
            if (moved[a].start >= kMinutesPerDay)
                continue;
            for (std::size_t b = a + 1; b < moved.size() && moved[b].track == moved[a].track &&
                                        moved[b].start < moved[a].end + separation_;
                 ++b) {
                if (moved[b].hold != moved[a].hold &&
                    tooClose(moved[a].start, moved[a].end, moved[b].start, moved[b].end,
                             separation_))
                    found.emplace_back(std::min(moved[a].hold, moved[b].hold),
                                       std::max(moved[a].hold, moved[b].hold));
            }
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }

private:
    struct Moved {
        int track;
        int start;
        int end;
        int hold;
    };

    std::vector<Occupancy> holds_;
    DelayRuns runs_;
    int separation_;
    std::vector<int> slots_; // each hold's track
};

} // namespace

DelayRisk measureDelayRisk(const Scenario& s, const TrainLinks& links,
                           const DelayRiskSettings& settings, const RiskProgress& progress) {
    RiskRunner runner(s, links, settings);
    const std::vector<Occupancy>& holds = runner.holds();
    DelayRisk risk;
    risk.runs = settings.most ? 1 : std::max(settings.runs, 1);
    std::map<std::pair<int, int>, int> pairRuns; // holds' pair → runs it clashes in
    std::vector<int> trainRuns(holds.size());    // hold → runs it clashes in
    std::map<int, int> trackRuns;                // slot → runs with a clash on it
    long clashes = 0;
    int clashing = 0;
    std::vector<int> heldThisRun(holds.size(), -1);
    std::map<int, int> trackThisRun;
    for (int run = 0; run < risk.runs; ++run) {
        if (progress && run % 50 == 0 && !progress(run, risk.runs)) {
            risk.cancelled = true;
            return risk;
        }
        const auto found = runner.clashes(settings.seed + static_cast<std::uint64_t>(run));
        clashes += static_cast<long>(found.size());
        clashing += found.empty() ? 0 : 1;
        for (const auto& [a, b] : found) {
            ++pairRuns[{a, b}];
            for (int hold : {a, b}) {
                if (heldThisRun[static_cast<std::size_t>(hold)] != run) {
                    heldThisRun[static_cast<std::size_t>(hold)] = run;
                    ++trainRuns[static_cast<std::size_t>(hold)];
                }
            }
            const int track = runner.slotOf(a);
            if (trackThisRun[track] != run + 1) {
                trackThisRun[track] = run + 1;
                ++trackRuns[track];
            }
        }
    }
    if (progress)
        progress(risk.runs, risk.runs);
    const double runs = risk.runs;
    risk.expectedClashes = static_cast<double>(clashes) / runs;
    risk.clashingRuns = clashing / runs;
    for (const auto& [pair, count] : pairRuns) {
        const int a = holds[static_cast<std::size_t>(pair.first)].train;
        const int b = holds[static_cast<std::size_t>(pair.second)].train;
        risk.pairs.push_back(
            {std::min(a, b), std::max(a, b), trackName(runner.slotOf(pair.first)), count / runs});
    }
    std::stable_sort(risk.pairs.begin(), risk.pairs.end(),
                     [](const RiskyPair& x, const RiskyPair& y) { return x.share > y.share; });
    for (std::size_t k = 0; k < holds.size(); ++k) {
        TrainRisk train{holds[k].train, trainRuns[k] / runs, {}};
        for (const RiskyPair& pair : risk.pairs) {
            if (pair.first == train.train || pair.second == train.train)
                train.with.push_back(pair.first == train.train ? pair.second : pair.first);
        }
        if (holds[k].leaving >= 0) // a unit's second train shares its lot
            risk.trains.push_back({holds[k].leaving, train.share, train.with});
        risk.trains.push_back(std::move(train));
    }
    std::stable_sort(risk.trains.begin(), risk.trains.end(),
                     [](const TrainRisk& x, const TrainRisk& y) { return x.share > y.share; });
    for (const auto& [track, count] : trackRuns)
        risk.tracks.emplace_back(trackName(track), count / runs);
    return risk;
}

std::string percentText(double share) {
    int percent = static_cast<int>(std::lround(share * 100));
    if (percent == 0 && share > 0)
        percent = 1;
    if (percent == 100 && share < 1)
        percent = 99;
    return std::to_string(percent) + " %";
}

} // namespace zeb
