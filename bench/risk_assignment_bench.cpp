// The assignment that weighs the delays against today's, which keeps only a buffer: on generated
// days of a through station with termini among its lines, rules that can be met and delay indices
// drawn 60/25/10/4/1 %, the clashes expected under the delays (measured on runs other than those
// the assignment weighed), the trains outside their rules and the conflicts as written.
#include "delay_risk/delay_risk.h"
#include "timetable/turnaround_pairs.h"
#include "track_assignment/ruled_days.h"
#include "track_assignment/track_assignment.h"

#include <benchmark/benchmark.h>

#include <random>

namespace zeb::bench {
namespace {

// A ruled day whose lines end or start here one train in five each way: the ending train stands
// for its turnaround, the starting one for its preparation.
test::DayWithRules lateDay(int count, int tracks, std::mt19937& random) {
    test::DayWithRules day = test::ruledDay(count, tracks, random);
    std::discrete_distribution<int> index({60, 25, 10, 4, 1});
    for (int i = 0; i < day.s.totale_treni; ++i) {
        Treno& t = day.s.treni[i];
        t.ritardo = std::to_string(index(random));
        if (i % 10 == 3) { // ends here
            t.ora_partenza = t.min_partenza = "";
            t.destinazione = "";
        } else if (i % 10 == 7) { // starts here, from the line's own depot
            t.ora_arrivo = t.min_arrivo = "";
        }
    }
    return day;
}

struct Outcome {
    double expected = 0;
    int outsideRules = 0;
    int conflicts = 0;
};

Outcome assignAndMeasure(const test::DayWithRules& day, bool weighRisk, double seconds) {
    Scenario s = day.s;
    const TrainLinks links = pairTurnarounds(s, {}).links;
    AssignmentOptions options;
    options.which = TrainsToAssign::All;
    options.rules = day.rules;
    options.links = links;
    options.buffer = 5;
    options.timeLimit = seconds;
    options.riduciRischio = weighRisk;
    applyAssignment(s, assignTracks(s, options));
    Outcome outcome;
    outcome.expected =
        measureDelayRisk(s, links, {.runs = 1000, .seed = 1'000'001}).expectedClashes;
    outcome.outsideRules = trackQuality(s, {}, links, day.rules, 5).outsideRules;
    outcome.conflicts = stationConflicts(s, {}, links);
    return outcome;
}

// state.range(0) trains on state.range(1) tracks, both assignments with a search of 5 s.
void RiskAwareAssignment(benchmark::State& state) {
    std::mt19937 random(static_cast<unsigned>(state.range(0)));
    const test::DayWithRules day =
        lateDay(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), random);
    Outcome buffered;
    Outcome weighed;
    for (auto _ : state) {
        buffered = assignAndMeasure(day, false, 5);
        weighed = assignAndMeasure(day, true, 5);
    }
    state.counters["trains"] = day.s.totale_treni;
    state.counters["expected_buffer_only"] = buffered.expected;
    state.counters["expected_risk_aware"] = weighed.expected;
    state.counters["fewer_pct"] =
        buffered.expected > 0 ? 100.0 * (1 - weighed.expected / buffered.expected) : 0;
    state.counters["outside_rules_buffer_only"] = buffered.outsideRules;
    state.counters["outside_rules_risk_aware"] = weighed.outsideRules;
    state.counters["conflicts_buffer_only"] = buffered.conflicts;
    state.counters["conflicts_risk_aware"] = weighed.conflicts;
}

// The first pass weighing the delays of 2001 trains, as the preview of "Assegna binari…" makes
// it at every change: the runs drawn, the pairs weighed, the risk measured before and after.
void RiskAwareFirstPassOf2001(benchmark::State& state) {
    std::mt19937 random(2001);
    const test::DayWithRules day = lateDay(kMaxTrains, 22, random);
    AssignmentOptions options;
    options.which = TrainsToAssign::All;
    options.rules = day.rules;
    options.buffer = 5;
    options.riduciRischio = true;
    double after = 0;
    for (auto _ : state)
        after = assignTracks(day.s, options).riskAfter;
    state.counters["expected_after"] = after;
}

} // namespace

BENCHMARK(RiskAwareFirstPassOf2001)->Unit(benchmark::kMillisecond);
BENCHMARK(RiskAwareAssignment)
    ->Args({200, 8})
    ->Args({500, 12})
    ->Args({1000, 16})
    ->Args({kMaxTrains, 22})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace zeb::bench
