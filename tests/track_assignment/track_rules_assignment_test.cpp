#include "track_assignment/ruled_days.h"
#include "track_assignment/track_assignment.h"

#include "timetable/test_trains.h"
#include "track_rules/rule_matching.h"

#include <gtest/gtest.h>

#include <random>

namespace zeb {
namespace {

Scenario assigned(const Scenario& s, const Assignment& a) {
    Scenario after = s;
    applyAssignment(after, a);
    return after;
}

AssignmentOptions everyTrainWith(const TrackRules& rules, double seconds) {
    AssignmentOptions options;
    options.which = TrainsToAssign::All;
    options.keepAssigned = false;
    options.rules = rules;
    options.buffer = 5;
    options.timeLimit = seconds;
    return options;
}

// A day of our own with the shape of a commuter station: every train within its rule, no
// conflict, at most three gaps under the buffer; the first pass alone does it, and the search
// keeps it so.
TEST(TrackRulesAssignment, TheCommuterDayKeepsItsPlatforms) {
    const test::DayWithRules day = test::commuterDay();
    ASSERT_GE(day.s.totale_treni, 200);
    for (double seconds : {0.0, 2.0}) {
        SCOPED_TRACE(seconds);
        const AssignmentOptions options = everyTrainWith(day.rules, seconds);
        const Assignment a = assignTracks(day.s, options);
        EXPECT_EQ(a.conflictsAfter, 0);
        EXPECT_TRUE(a.shortfalls.empty());
        EXPECT_EQ(a.after.outsideRules, 0);
        EXPECT_EQ(a.after.ruled, day.s.totale_treni);
        EXPECT_LE(a.after.shortGaps, 3);
        EXPECT_TRUE(ruleFindings(assigned(day.s, a), day.rules).empty());
        // Before, every train stood on track 1: the summary says what changed.
        EXPECT_GT(a.before.outsideRules, 0);
        EXPECT_EQ(assignmentSummary(a, options),
                  "conflitti: prima " + std::to_string(a.conflictsBefore) +
                      ", dopo 0; fuori regola: 0; sul binario preferito: " +
                      std::to_string(a.after.onPreferred) + " di " +
                      std::to_string(day.s.totale_treni) +
                      "; intervalli sotto 5 minuti: " + std::to_string(a.after.shortGaps) +
                      "; servono almeno " + std::to_string(a.lowerBound) + " binari");
    }
}

// Generated days whose rules can be met: no conflict, none outside its rule, and the search never
// worse than the first pass, goal by goal.
TEST(TrackRulesAssignment, RulesThatCanBeMetAreMetAndTheSearchOnlyImproves) {
    std::mt19937 random(20261207);
    for (int day = 0; day < 12; ++day) {
        const test::DayWithRules generated = test::ruledDay(150 + 40 * day, 6 + day % 6, random);
        const Scenario& s = generated.s;
        const TrackRules& rules = generated.rules;
        SCOPED_TRACE(day);
        const Assignment first = assignTracks(s, everyTrainWith(rules, 0));
        const Assignment searched = assignTracks(s, everyTrainWith(rules, 1));
        for (const Assignment* a : {&first, &searched}) {
            EXPECT_EQ(a->conflictsAfter, 0);
            EXPECT_EQ(a->after.outsideRules, 0);
            EXPECT_TRUE(a->shortfalls.empty());
        }
        EXPECT_TRUE(searched.searched);
        const auto goals = [](const Assignment& a) {
            return std::tuple(-a.after.onFirstPreferred, -a.after.onPreferred, a.after.shortGaps);
        };
        EXPECT_LE(goals(searched), goals(first));
    }
}

// Rules that cannot be met: the preview says which rule needs how many tracks more and when,
// and its trains go to a forbidden free track rather than into a conflict.
TEST(TrackRulesAssignment, WhatARuleLacksIsSaid) {
    Scenario s = test::stationWith({{"1", "Nord", "07:40", "Sud", "08:00", ""},
                                    {"2", "Nord", "07:50", "Sud", "08:10", ""},
                                    {"3", "Nord", "07:55", "Sud", "08:05", ""},
                                    {"4", "Lago", "07:45", "Sud", "07:50", ""}});
    s.binari_scelti[2] = s.binari_scelti[3] = true;
    rebuildTrackTable(s);
    const TrackRules rules = {{"", "lago", "", RulePassage::Any, -1, -1, {"4"}, {}},
                              {"", "", "", RulePassage::Any, -1, -1, {"1"}, {}}};
    const AssignmentOptions options = everyTrainWith(rules, 0);
    const Assignment a = assignTracks(s, options);
    EXPECT_EQ(a.conflictsAfter, 0);
    EXPECT_EQ(a.after.outsideRules, 2);
    EXPECT_EQ(a.after.ruled, 4);
    EXPECT_EQ(shortfallTexts(a),
              std::vector<std::string>{"la regola 2 ha bisogno di 2 binari in più dalle 07:50 "
                                       "alle 08:10"});
    EXPECT_EQ(ruleFindings(assigned(s, a), rules).size(), 2u);
}

} // namespace
} // namespace zeb
