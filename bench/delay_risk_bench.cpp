// The delay risk of a day of 2001 trains with linked units, its indices drawn 60/25/10/4/1 %:
// a thousand runs, as the window and `zebrano-tool ritardi` make them after every change.
#include "delay_risk/delay_risk.h"
#include "timetable/turnaround_pairs.h"
#include "track_assignment/ruled_days.h"
#include "track_assignment/track_assignment.h"

#include <benchmark/benchmark.h>

#include <random>

namespace zeb::bench {
namespace {

struct LateDay {
    Scenario s;
    TrainLinks links;
};

const LateDay& lateDay() {
    static const LateDay day = [] {
        std::mt19937 random(11);
        test::DayWithRules ruled = test::ruledDay(kMaxTrains, kMaxChosenTracks, random);
        LateDay late{ruled.s, {}};
        std::discrete_distribution<int> index({60, 25, 10, 4, 1});
        for (int i = 0; i < late.s.totale_treni; ++i)
            late.s.treni[i].ritardo = std::to_string(index(random));
        late.links = pairTurnarounds(late.s, {}).links;
        // Its tracks as the assignment gives them today: rules first, then a buffer of 5.
        AssignmentOptions options;
        options.rules = ruled.rules;
        options.links = late.links;
        options.which = TrainsToAssign::All;
        options.buffer = 5;
        options.timeLimit = 0;
        applyAssignment(late.s, assignTracks(late.s, options));
        return late;
    }();
    return day;
}

void DelayRiskOf2001(benchmark::State& state) {
    const LateDay& day = lateDay();
    DelayRisk risk;
    for (auto _ : state) {
        risk = measureDelayRisk(day.s, day.links, {.runs = 1000, .seed = 7});
        benchmark::DoNotOptimize(risk.expectedClashes);
    }
    state.counters["expected_clashes"] = risk.expectedClashes;
    state.counters["clashing_runs_pct"] = risk.clashingRuns * 100;
    state.counters["trains_held"] = static_cast<double>(risk.trains.size());
}

} // namespace

BENCHMARK(DelayRiskOf2001)->Unit(benchmark::kMillisecond);

} // namespace zeb::bench
