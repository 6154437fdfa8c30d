// Track assignment on generated days of a through station: how close it comes to the lower
// bound, and how long it takes.
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"
#include "track_assignment/track_assignment.h"

#include <benchmark/benchmark.h>

#include <random>
#include <set>

namespace zeb::bench {
namespace {

// A day of `count` trains on a station of `tracks` tracks, none assigned, with a real station's
// busy hours: morning and evening peaks, a quiet night, stands of 1 to 12 minutes, some trains
// ending or starting here.
Scenario generatedDay(int count, int tracks, std::mt19937& random) {
    Scenario s;
    s.nome_stazione = "Valmora";
    for (int slot = 0; slot < tracks; ++slot)
        s.binari_scelti[static_cast<std::size_t>(slot)] = true;
    rebuildTrackTable(s);
    static constexpr int kWeights[24] = {1, 0, 0, 0, 1, 3, 6, 9, 9, 6, 4, 4,
                                         4, 4, 4, 5, 6, 8, 9, 8, 5, 3, 2, 1};
    std::discrete_distribution<int> hour(std::begin(kWeights), std::end(kWeights));
    for (int i = 0; i < count; ++i) {
        Treno& t = s.treni[static_cast<std::size_t>(s.totale_treni++)];
        const int at = hour(random) * 60 + static_cast<int>(random() % 60);
        const int stand = 1 + static_cast<int>(random() % 12);
        const int kind = static_cast<int>(random() % 10); // 0: ends here, 1: starts here
        t.numero = std::to_string(1000 + i);
        t.categoria = "Regionale";
        t.indice_categoria = "13";
        const int line = static_cast<int>(random() % 40);
        if (kind != 1) {
            t.provenienza = "Origine " + std::to_string(line);
            t.ora_arrivo = std::to_string(at / 60);
            t.min_arrivo = std::to_string(at % 60);
        }
        if (kind != 0) {
            t.destinazione = "Destinazione " + std::to_string(line);
            const int leave = (at + stand) % kMinutesPerDay;
            t.ora_partenza = std::to_string(leave / 60);
            t.min_partenza = std::to_string(leave % 60);
        }
    }
    return s;
}

// 200 days of 200 to 2001 trains on 8 to 23 tracks, sized so that the busiest moment needs about
// as many tracks as the station has. With all 23 tracks allowed: the share of days whose
// assignment uses no more tracks than the lower bound, and the largest excess. With the station's
// own tracks: the share of days without conflicts among those whose bound fits them.
void AssignmentQuality(benchmark::State& state) {
    int days = 0;
    int atBound = 0;
    int largestExcess = 0;
    int fitting = 0;
    int fittingClean = 0;
    for (auto _ : state) {
        std::mt19937 random(1234);
        for (int day = 0; day < 200; ++day) {
            const int tracks = 8 + day % 16;
            // From a quiet day to as many trains as the tracks take at the peaks.
            const int count =
                std::clamp(tracks * (20 + static_cast<int>(random() % 68)), 200, kMaxTrains);
            const Scenario s = generatedDay(count, tracks, random);
            // Unlimited first: how many tracks the assignment needs beside the bound.
            Scenario wide = s;
            for (int slot = 0; slot < kMaxChosenTracks; ++slot)
                wide.binari_scelti[static_cast<std::size_t>(slot)] = true;
            rebuildTrackTable(wide);
            const Assignment a = assignTracks(wide, {});
            std::set<std::string> used;
            for (const TrackChange& change : a.changes)
                used.insert(change.to);
            if (a.lowerBound < kMaxChosenTracks) { // else 23 tracks bound what can be seen
                const int excess = static_cast<int>(used.size()) - a.lowerBound;
                ++days;
                atBound += excess <= 0;
                largestExcess = std::max(largestExcess, excess);
            }
            const Assignment limited = assignTracks(s, {});
            if (limited.lowerBound <= tracks) {
                ++fitting;
                fittingClean += limited.conflictsAfter == 0;
            }
        }
    }
    state.counters["days"] = days;
    state.counters["at_bound_pct"] = 100.0 * atBound / days;
    state.counters["largest_excess"] = largestExcess;
    state.counters["fitting_days"] = fitting;
    state.counters["fitting_clean_pct"] = fitting ? 100.0 * fittingClean / fitting : 100.0;
}

// 2001 trains on 23 tracks, none assigned.
void AssignmentOf2001(benchmark::State& state) {
    std::mt19937 random(99);
    const Scenario s = generatedDay(kMaxTrains, kMaxChosenTracks, random);
    int conflicts = 0;
    for (auto _ : state)
        conflicts = assignTracks(s, {}).conflictsAfter;
    state.counters["conflicts_after"] = conflicts;
}

BENCHMARK(AssignmentQuality)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(AssignmentOf2001)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zeb::bench
