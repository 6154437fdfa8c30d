// Track assignment with rules by line and direction and a buffer between trains: generated days
// whose rules can be met, against today's first pass without rules; the commuter day of the
// tests; the time of the first pass and of the preview on 2001 trains.
#include "model/track_slots.h"
#include "timetable/checker.h"
#include "timetable/train_times.h"
#include "track_assignment/ruled_days.h"
#include "track_assignment/track_assignment.h"
#include "track_rules/rule_matching.h"
#include "variants/perturbation.h"
#include "views/tools/assign_tracks_dialog.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

#include <numeric>
#include <random>

namespace zeb::bench {
namespace {

constexpr int kBuffer = 5;

using test::ruledDay;
using RuledDay = test::DayWithRules;

AssignmentOptions ruled(const TrackRules& rules, double seconds) {
    AssignmentOptions options;
    options.rules = rules;
    options.buffer = kBuffer;
    options.timeLimit = seconds;
    return options;
}

// Eight days of 200 to 2001 trains on 8 to 23 tracks: today's pass without rules against the
// first pass with them and against the search of 2 seconds after it, side by side.
void RuledDays(benchmark::State& state) {
    struct Sums {
        long preferred = 0;
        long gaps = 0;
        long outside = 0;
        long conflicts = 0;
    } today, first, searched;
    long ruledTrains = 0;
    for (auto _ : state) {
        std::mt19937 random(2026);
        constexpr int kTracks[] = {8, 10, 12, 14, 16, 18, 20, 23};
        for (int k = 0; k < 8; ++k) {
            const int count = 200 + k * (kMaxTrains - 200) / 7;
            const RuledDay day = ruledDay(count, kTracks[k], random);
            auto add = [&](Sums& sums, const AssignmentOptions& options) {
                Assignment a = assignTracks(day.s, options);
                Scenario after = day.s;
                applyAssignment(after, a);
                const TrackQuality q = trackQuality(after, {}, {}, day.rules, kBuffer);
                sums.preferred += q.onPreferred;
                sums.gaps += q.shortGaps;
                sums.outside += q.outsideRules;
                sums.conflicts += a.conflictsAfter;
                return q.ruled;
            };
            ruledTrains += add(today, {});
            add(first, ruled(day.rules, 0));
            add(searched, ruled(day.rules, 2));
        }
    }
    const double share = 100.0 / static_cast<double>(ruledTrains);
    state.counters["ruled_trains"] = static_cast<double>(ruledTrains);
    state.counters["today_preferred_pct"] = static_cast<double>(today.preferred) * share;
    state.counters["today_outside"] = static_cast<double>(today.outside);
    state.counters["today_short_gaps"] = static_cast<double>(today.gaps);
    state.counters["first_preferred_pct"] = static_cast<double>(first.preferred) * share;
    state.counters["first_short_gaps"] = static_cast<double>(first.gaps);
    state.counters["searched_preferred_pct"] = static_cast<double>(searched.preferred) * share;
    state.counters["searched_short_gaps"] = static_cast<double>(searched.gaps);
    state.counters["ruled_outside"] = static_cast<double>(first.outside + searched.outside);
    state.counters["ruled_conflicts"] = static_cast<double>(first.conflicts + searched.conflicts);
}

// The commuter day of the tests, every train moved: today's pass without rules, then with them.
void CommuterDay(benchmark::State& state) {
    const test::DayWithRules day = test::commuterDay();
    TrackQuality without;
    TrackQuality with;
    for (auto _ : state) {
        for (auto [options, quality] :
             {std::pair(AssignmentOptions{}, &without), std::pair(ruled(day.rules, 2), &with)}) {
            options.which = TrainsToAssign::All;
            options.keepAssigned = false;
            Scenario after = day.s;
            applyAssignment(after, assignTracks(day.s, options));
            *quality = trackQuality(after, {}, {}, day.rules, kBuffer);
        }
    }
    state.counters["trains"] = day.s.totale_treni;
    state.counters["today_outside"] = without.outsideRules;
    state.counters["today_short_gaps"] = without.shortGaps;
    state.counters["ruled_outside"] = with.outsideRules;
    state.counters["ruled_short_gaps"] = with.shortGaps;
}

// The same generated days squeezed onto half their tracks, so that their rules cannot all be
// met: the trains left without a track with the rules and without them, first pass and search.
void RulesThatCannotBeMet(benchmark::State& state) {
    long unplacedWith = 0, unplacedWithout = 0, searchedWith = 0, searchedWithout = 0;
    for (auto _ : state) {
        std::mt19937 random(2026);
        constexpr int kTracks[] = {8, 10, 12, 14, 16, 18, 20, 23};
        for (int k = 0; k < 8; ++k) {
            const RuledDay day = ruledDay(200 + k * (kMaxTrains - 200) / 7, kTracks[k], random);
            const std::vector<std::string> names = stationTrackNames(day.s);
            for (double seconds : {0.0, 2.0}) {
                AssignmentOptions with = ruled(day.rules, seconds);
                with.which = TrainsToAssign::All;
                with.allowedTracks.assign(names.begin(), names.begin() + kTracks[k] / 2);
                AssignmentOptions without = with;
                without.rules.clear();
                (seconds > 0 ? searchedWith : unplacedWith) +=
                    static_cast<long>(assignTracks(day.s, with).unplaced.size());
                (seconds > 0 ? searchedWithout : unplacedWithout) +=
                    static_cast<long>(assignTracks(day.s, without).unplaced.size());
            }
        }
    }
    state.counters["unplaced_with_rules"] = static_cast<double>(unplacedWith);
    state.counters["unplaced_without_rules"] = static_cast<double>(unplacedWithout);
    state.counters["searched_unplaced_with_rules"] = static_cast<double>(searchedWith);
    state.counters["searched_unplaced_without_rules"] = static_cast<double>(searchedWithout);
}

// "Cambia binario → il primo binario libero" for every one of 2001 trains.
void FirstFreeTrackOf2001(benchmark::State& state) {
    std::mt19937 random(7);
    const RuledDay day = ruledDay(kMaxTrains, kMaxChosenTracks, random);
    std::vector<int> every(static_cast<std::size_t>(day.s.totale_treni));
    std::iota(every.begin(), every.end(), 0);
    std::size_t moved = 0;
    for (auto _ : state) {
        Scenario s = day.s;
        moved = perturb(s, every, {.action = Perturbation::Action::ChangeTrack}, {}).size();
    }
    state.counters["moved"] = static_cast<double>(moved);
}

// 2001 trains on 23 tracks with rules: the first pass alone (what the preview runs), and with the
// search of 2 seconds.
void RuledAssignmentOf2001(benchmark::State& state) {
    std::mt19937 random(7);
    const RuledDay day = ruledDay(kMaxTrains, kMaxChosenTracks, random);
    Assignment a;
    for (auto _ : state)
        a = assignTracks(day.s, ruled(day.rules, static_cast<double>(state.range(0))));
    state.counters["trains"] = day.s.totale_treni;
    state.counters["outside"] = a.after.outsideRules;
    state.counters["conflicts"] = a.conflictsAfter;
    state.counters["short_gaps"] = a.after.shortGaps;
    state.counters["improved"] = a.improved;
}

// The preview of "Assegna binari…" following an option's change on 2001 trains with rules.
void AssignPreviewOf2001(benchmark::State& state) {
    std::mt19937 random(7);
    const RuledDay day = ruledDay(kMaxTrains, kMaxChosenTracks, random);
    AssignTracksDialog dialog(day.s, ruled(day.rules, 2));
    auto* sameLine = dialog.findChild<QCheckBox*>("stessaLinea");
    for (auto _ : state)
        sameLine->toggle();
}

// The checker of 2001 trains with the rules' warnings, the tracks given without the rules (most
// trains outside them), the places' names accented so that each is folded through ICU.
void CheckerWithRulesOf2001(benchmark::State& state) {
    std::mt19937 random(7);
    RuledDay day = ruledDay(kMaxTrains, kMaxChosenTracks, random);
    applyAssignment(day.s, assignTracks(day.s, {}));
    for (int i = 0; i < day.s.totale_treni; ++i)
        day.s.treni[i].provenienza += " Città";
    for (TrackRule& rule : day.rules)
        rule.provenienza += " città";
    std::size_t findings = 0;
    for (auto _ : state)
        findings = withFindings(checkScenario(day.s), ruleFindings(day.s, day.rules)).size();
    state.counters["findings"] = static_cast<double>(findings);
}

BENCHMARK(RuledDays)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(CommuterDay)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(RulesThatCannotBeMet)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(FirstFreeTrackOf2001)->Unit(benchmark::kMillisecond);
BENCHMARK(RuledAssignmentOf2001)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(AssignPreviewOf2001)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckerWithRulesOf2001)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zeb::bench
