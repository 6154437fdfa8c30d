#include "delay_risk/pair_clashes.h"

#include "model/track_slots.h"
#include "timetable/random_day.h"
#include "timetable/turnaround_pairs.h"

#include <gtest/gtest.h>

#include <random>

namespace zeb {
namespace {

// What the assignment weighs is what the risk measures: over the pairs of holds on one track,
// the runs each pair clashes in add up to the clashes of all runs; a pair's runs are the same
// either way round and never more than the runs; no train clashes with itself.
TEST(PairClashes, AddUpToTheExpectedClashes) {
    std::mt19937 random(23);
    for (int round = 0; round < 10; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const Scenario s = test::randomDay(random, 20 + 12 * round);
        const TrainLinks links = pairTurnarounds(s, {}, 60, {}).links;
        const DelayRiskSettings settings{.runs = 150, .seed = random(), .most = round % 4 == 3};
        const std::vector<Occupancy> holds = stationTrackOccupancies(s, settings.check, links);
        const PairClashes clashes(s, holds, settings);
        long runs = 0;
        for (std::size_t a = 0; a < holds.size(); ++a) {
            EXPECT_EQ(clashes.clashRuns(holds[a].train, holds[a].train), 0);
            for (std::size_t b = a + 1; b < holds.size(); ++b) {
                const int count = clashes.clashRuns(holds[a].train, holds[b].train);
                EXPECT_EQ(count, clashes.clashRuns(holds[b].train, holds[a].train));
                EXPECT_LE(count, clashes.runs());
                if (holds[a].track == holds[b].track)
                    runs += count;
            }
        }
        const DelayRisk risk = measureDelayRisk(s, links, settings);
        EXPECT_DOUBLE_EQ(static_cast<double>(runs) / clashes.runs(), risk.expectedClashes);
    }
}

// Trains that never run late clash in every run or in none, as the checker sees them.
TEST(PairClashes, OnTimeTheyAreTheCheckersConflicts) {
    std::mt19937 random(29);
    Scenario s = test::randomDay(random, 80);
    for (int i = 0; i < s.totale_treni; ++i)
        s.treni[i].ritardo = "0";
    const CheckSettings check;
    const std::vector<Occupancy> holds = trackOccupancies(s, check);
    const PairClashes clashes(s, holds, {.runs = 20, .check = check});
    ASSERT_FALSE(holds.empty());
    for (std::size_t a = 0; a < holds.size(); ++a) {
        for (std::size_t b = a + 1; b < holds.size(); ++b) {
            const bool close = tooClose(holds[a].start, holds[a].end, holds[b].start, holds[b].end,
                                        check.separation);
            EXPECT_EQ(clashes.clashRuns(holds[a].train, holds[b].train), close ? 20 : 0);
        }
    }
}

} // namespace
} // namespace zeb
