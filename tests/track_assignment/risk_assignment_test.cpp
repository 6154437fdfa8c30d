#include "delay_risk/delay_risk.h"
#include "timetable/test_trains.h"
#include "track_assignment/ruled_days.h"
#include "track_assignment/track_assignment.h"

#include <gtest/gtest.h>

#include <random>

namespace zeb {
namespace {

// A ruled day of a through station whose trains draw their delay indices 60/25/10/4/1 %.
test::DayWithRules lateDay(std::mt19937& random, int count, int tracks) {
    test::DayWithRules day = test::ruledDay(count, tracks, random);
    std::discrete_distribution<int> index({60, 25, 10, 4, 1});
    for (int i = 0; i < day.s.totale_treni; ++i)
        day.s.treni[i].ritardo = std::to_string(index(random));
    return day;
}

AssignmentOptions everyTrain(const test::DayWithRules& day, bool weighRisk) {
    AssignmentOptions options;
    options.which = TrainsToAssign::All;
    options.rules = day.rules;
    options.buffer = 5;
    options.riduciRischio = weighRisk;
    options.riskSeed = 3;
    options.riskRuns = 200;
    return options;
}

double expectedAfter(const Scenario& s, const Assignment& assignment, std::uint64_t seed,
                     int runs) {
    Scenario after = s;
    applyAssignment(after, assignment);
    return measureDelayRisk(after, {}, {.runs = runs, .seed = seed}).expectedClashes;
}

// Two trains of one direction whose rule prefers tracks 1 and 2: 2231 may be up to 30 minutes
// late and 2245 follows it by 20. Without the delays both take the first preferred track; with
// them, one takes the other.
TEST(RiskAwareAssignment, ParksALateTrainsFollowerOnAnotherPreferredTrack) {
    test::DayWithRules day;
    day.s = test::stationWith({{"2231", "Nordia", "10:00", "Sudia", "10:02", ""},
                               {"2245", "Nordia", "10:20", "Sudia", "10:22", ""}});
    day.s.treni[0].ritardo = "2";
    day.s.treni[1].ritardo = "0";
    day.rules.push_back({"", "Nordia", "", RulePassage::Any, -1, -1, {"1", "2"}, {}});
    const Assignment plain = assignTracks(day.s, everyTrain(day, false));
    ASSERT_EQ(plain.changes.size(), 2u);
    EXPECT_EQ(plain.changes[1].to, "1");
    for (const double seconds : {0.0, 1.0}) {
        AssignmentOptions options = everyTrain(day, true);
        options.timeLimit = seconds;
        const Assignment weighed = assignTracks(day.s, options);
        ASSERT_EQ(weighed.changes.size(), 2u);
        EXPECT_NE(weighed.changes[0].to, weighed.changes[1].to);
        ASSERT_TRUE(weighed.riskMeasured);
        EXPECT_EQ(weighed.riskAfter, 0);
        EXPECT_EQ(riskText(weighed, options),
                  "Conflitti attesi con i ritardi: prima 0,0 per simulazione, dopo 0,0 (200 "
                  "simulazioni, seme 3)");
    }
}

// On random ruled days the assignment that weighs the delays leaves no more trains without a
// track or out of their rules than the one that does not and, keeping the rules alike, no more
// clashes expected on the runs it weighed; with no train that may be late it is that assignment.
TEST(RiskAwareAssignment, KeepsTheRulesAndNeverRaisesTheRisk) {
    std::mt19937 random(5);
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const test::DayWithRules day = lateDay(random, 60 + 40 * round, 4 + 2 * (round % 3));
        const Assignment plain = assignTracks(day.s, everyTrain(day, false));
        const AssignmentOptions options = everyTrain(day, true);
        const Assignment weighed = assignTracks(day.s, options);
        ASSERT_LE(weighed.unplaced.size(), plain.unplaced.size());
        if (weighed.unplaced.size() < plain.unplaced.size())
            continue;
        ASSERT_LE(weighed.after.outsideRules, plain.after.outsideRules);
        if (weighed.after.outsideRules == plain.after.outsideRules &&
            weighed.after.onAllowed == plain.after.onAllowed) {
            const double before = expectedAfter(day.s, plain, options.riskSeed, options.riskRuns);
            EXPECT_LE(weighed.riskAfter, before + 1e-9);
            EXPECT_DOUBLE_EQ(weighed.riskAfter,
                             expectedAfter(day.s, weighed, options.riskSeed, options.riskRuns));
        }
        test::DayWithRules punctual = day;
        for (int i = 0; i < punctual.s.totale_treni; ++i)
            punctual.s.treni[i].ritardo = "0";
        const Assignment onTime = assignTracks(punctual.s, everyTrain(punctual, true));
        const Assignment asToday = assignTracks(punctual.s, everyTrain(punctual, false));
        ASSERT_EQ(onTime.changes.size(), asToday.changes.size());
        for (std::size_t k = 0; k < onTime.changes.size(); ++k)
            EXPECT_EQ(onTime.changes[k].to, asToday.changes[k].to);
        EXPECT_EQ(onTime.riskAfter, 0);
    }
}

// The search may only improve on the first pass: the rules kept as well, the risk no higher.
TEST(RiskAwareAssignment, TheSearchKeepsWhatTheFirstPassFound) {
    std::mt19937 random(8);
    for (int round = 0; round < 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        const test::DayWithRules day = lateDay(random, 150 + 50 * round, 6);
        AssignmentOptions options = everyTrain(day, true);
        const Assignment first = assignTracks(day.s, options);
        options.timeLimit = 1;
        const Assignment searched = assignTracks(day.s, options);
        EXPECT_LE(searched.unplaced.size(), first.unplaced.size());
        EXPECT_LE(searched.after.outsideRules, first.after.outsideRules);
        if (searched.after.outsideRules == first.after.outsideRules &&
            searched.after.onAllowed == first.after.onAllowed) {
            EXPECT_LE(searched.riskAfter, first.riskAfter + 1e-9);
        }
        EXPECT_EQ(searched.riskBefore, first.riskBefore);
    }
}

} // namespace
} // namespace zeb
