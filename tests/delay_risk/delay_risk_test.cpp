#include "delay_risk/delay_risk.h"

#include "boards/played_day.h"
#include "model/clock.h"
#include "model/track_slots.h"
#include "timetable/random_day.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"

#include <gtest/gtest.h>

#include <random>

namespace zeb {
namespace {

// A day of trains at random with random delay indices, the turnarounds that can be linked
// linked.
struct RandomDay {
    Scenario s;
    TrainLinks links;
};

RandomDay randomDay(std::mt19937& random, int count) {
    RandomDay day{test::randomDay(random, count), {}};
    day.links = pairTurnarounds(day.s, {}, 60, {}).links;
    return day;
}

// The clashes of the day as the boards play it with `play`: the holds as run, back on the clock.
std::size_t playedClashes(const RandomDay& day, const PlaySettings& play) {
    const PlayedDay played = playDay(day.s, day.links, nullptr, play);
    std::vector<Occupancy> holds;
    for (Occupancy o : played.holds) {
        if (!hasStationTrack(day.s, o.track))
            continue;
        const int length = o.end - o.start;
        o.start = clockOfPlay(played, o.start);
        o.end = o.start + length;
        holds.push_back(o);
    }
    return trackConflicts(holds, play.check.separation).size();
}

// One run with a seed is the day the boards show with it; every train at its most is the day
// the boards show at "massimo"; on time, the checker's conflicts.
TEST(DelayRisk, ARunIsTheDayTheBoardsPlay) {
    std::mt19937 random(41);
    for (int round = 0; round < 12; ++round) {
        const RandomDay day = randomDay(random, 20 + round * 15);
        const std::uint64_t seed = random();
        SCOPED_TRACE("round " + std::to_string(round));
        const DelayRisk drawn = measureDelayRisk(day.s, day.links, {.runs = 1, .seed = seed});
        EXPECT_EQ(drawn.expectedClashes,
                  playedClashes(day, {.delays = DelayMode::Drawn, .seed = seed}));
        const DelayRisk most = measureDelayRisk(day.s, day.links, {.most = true});
        EXPECT_EQ(most.runs, 1);
        EXPECT_EQ(most.expectedClashes, playedClashes(day, {.delays = DelayMode::Most}));
        RandomDay punctual = day;
        for (int i = 0; i < punctual.s.totale_treni; ++i)
            punctual.s.treni[i].ritardo = "0";
        const DelayRisk none = measureDelayRisk(punctual.s, punctual.links, {.runs = 20});
        EXPECT_EQ(
            none.expectedClashes,
            trackConflicts(stationTrackOccupancies(punctual.s, {}, punctual.links), 3).size());
        EXPECT_EQ(none.clashingRuns, none.expectedClashes > 0 ? 1.0 : 0.0);
    }
}

// A pair clashes no more often than either of its trains; the figures agree with each other and
// come again for the same seed.
TEST(DelayRisk, TheFiguresHoldTogether) {
    std::mt19937 random(43);
    for (int round = 0; round < 6; ++round) {
        const RandomDay day = randomDay(random, 60);
        const DelayRiskSettings settings{.runs = 200, .seed = random()};
        const DelayRisk risk = measureDelayRisk(day.s, day.links, settings);
        std::map<int, double> shareOf;
        for (const TrainRisk& train : risk.trains)
            shareOf[train.train] = train.share;
        double pairsTotal = 0;
        for (const RiskyPair& pair : risk.pairs) {
            EXPECT_LE(pair.share, shareOf.at(pair.first) + 1e-9);
            EXPECT_LE(pair.share, shareOf.at(pair.second) + 1e-9);
            pairsTotal += pair.share;
        }
        EXPECT_NEAR(pairsTotal, risk.expectedClashes, 1e-9);
        for (const auto& [track, share] : risk.tracks)
            EXPECT_LE(share, risk.clashingRuns + 1e-9) << track;
        EXPECT_TRUE(std::is_sorted(
            risk.trains.begin(), risk.trains.end(),
            [](const TrainRisk& a, const TrainRisk& b) { return a.share > b.share; }));
        const DelayRisk again = measureDelayRisk(day.s, day.links, settings);
        EXPECT_EQ(again.expectedClashes, risk.expectedClashes);
        EXPECT_EQ(again.pairs.size(), risk.pairs.size());
    }
}

// Work that is told to stop stops, and says so.
TEST(DelayRisk, ProgressCanStopTheRuns) {
    std::mt19937 random(47);
    const RandomDay day = randomDay(random, 40);
    int calls = 0;
    const DelayRisk risk =
        measureDelayRisk(day.s, day.links, {.runs = 500}, [&](int, int) { return ++calls < 3; });
    EXPECT_TRUE(risk.cancelled);
    EXPECT_EQ(calls, 3);
}

TEST(DelayRisk, SharesAreSaidInWholePercents) {
    const std::pair<double, const char*> cases[] = {
        {0.0, "0 %"}, {0.001, "1 %"}, {0.624, "62 %"}, {0.996, "99 %"}, {1.0, "100 %"}};
    for (const auto& [share, said] : cases)
        EXPECT_EQ(percentText(share), said) << share;
}

} // namespace
} // namespace zeb
