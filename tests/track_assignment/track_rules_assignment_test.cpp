#include "track_assignment/exact_search.h"
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

// The tracks of the trains after the assignment, in table order.
std::string assignedTracksText(const Scenario& s, const AssignmentOptions& options) {
    const Scenario after = assigned(s, assignTracks(s, options));
    std::string text;
    for (int i = 0; i < after.totale_treni; ++i)
        text += (i == 0 ? "" : " ") + after.treni[static_cast<std::size_t>(i)].binario;
    return text;
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
                      "; intervalli di meno di 8 minuti (separazione 3 + margine 5): " +
                      std::to_string(a.after.shortGaps) + "; servono almeno " +
                      std::to_string(a.lowerBound) + " binari");
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
        EXPECT_TRUE(searched.searched || searched.searchNeedless);
        const auto goals = [](const Assignment& a) {
            return std::tuple(-a.after.onFirstPreferred, -a.after.onPreferred, a.after.shortGaps);
        };
        EXPECT_LE(goals(searched), goals(first));
    }
}

// Where the first pass meets every goal (no rules, no gap under the buffer, every train placed)
// the search is not run: it could only give the same tracks, after its whole time limit.
TEST(TrackRulesAssignment, TheSearchIsSkippedWhereItCannotImprove) {
    const Scenario s = test::stationWith({{"1", "Est", "09:00", "Ovest", "09:10", ""},
                                          {"2", "Lago", "12:00", "Ovest", "12:10", ""},
                                          {"3", "Est", "15:00", "Ovest", "15:10", ""}});
    AssignmentOptions options = everyTrainWith({}, 600);
    const Assignment skipped = assignTracks(s, options);
    EXPECT_TRUE(skipped.searchNeedless);
    EXPECT_FALSE(skipped.searched);
    EXPECT_EQ(searchText(skipped),
              "La prima scelta non si può migliorare: la ricerca non è servita.");
    options.buffer = 400; // two trains of one track are too close: the search has work
    EXPECT_FALSE(assignTracks(s, everyTrainWith({}, 0)).searchNeedless) << "none asked for";
    options.timeLimit = 0.2;
    const Assignment searched = assignTracks(s, options);
    EXPECT_TRUE(searched.searched);
    EXPECT_FALSE(searched.searchNeedless);
}

// A chain of 300 trains each overlapping the next must alternate between two tracks; the first
// pass put the first on the track it likes least. Only all 300 moved at once mend it, more than
// any window of the search holds: the windows grow until the whole day is one, and the search
// ends as soon as that is solved, long before its limit.
TEST(TrackRulesAssignment, TheSearchGrowsItsWindowsUntilTheWholeDayIsOne) {
    if (!solverAvailable())
        GTEST_SKIP() << "a build without the solver";
    SearchProblem chain{
        .tracks = 2, .items = {}, .buffer = 0, .unplacedCost = 100'000'000, .closeCost = 100};
    for (int i = 0; i < 300; ++i)
        chain.items.push_back({{4 * i, 4 * i + 6}, {{0, i == 0 ? 1000 : 0}, {1, 0}}, i % 2});
    const auto found = searchTracks(chain, 600, {});
    ASSERT_TRUE(found);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ((*found)[static_cast<std::size_t>(i)], (i + 1) % 2) << i;
}

// A unit on two tracks is put on one only where it is among the trains chosen: the trains
// without a track leave it, and its train that has a track, as they are, and say so.
TEST(TrackRulesAssignment, AUnitOnTwoTracksMovesOnlyWhereChosen) {
    const Scenario s = test::stationWith({{"2001", "Nordia", "10:00", "", "", "1"},
                                          {"2002", "", "", "Nordia", "10:40", "2"},
                                          {"3001", "Ovest", "12:00", "Est", "12:05", ""}});
    AssignmentOptions options = everyTrainWith({}, 0);
    options.keepAssigned = true;
    options.links = {{0, 1}};
    for (const auto& [which, said] :
         {std::pair{TrainsToAssign::WithoutTrack,
                    "3001 12:00: nessun binario → 1|unità su due binari, lasciata com'è: "
                    "2001→2002 (binari 1 e 2)"},
          std::pair{TrainsToAssign::All, "2002 10:40: 2 → 1|3001 12:00: nessun binario → 1"}}) {
        options.which = which;
        const Assignment a = assignTracks(s, options);
        std::string lines;
        for (const TrackChange& change : a.changes)
            lines += (lines.empty() ? "" : "|") + changeText(s, change);
        for (const std::string& line : splitUnitTexts(s, a))
            lines += "|" + line;
        EXPECT_EQ(lines, said);
    }
}

// With every train chosen they are placed anew: a train on a track its rule only allows goes to
// its preferred one, free all day; the track it had decides only ties. Where only some trains are
// chosen, the others keep theirs.
TEST(TrackRulesAssignment, TrainsPlacedAnewTakeTheirPreferredTrack) {
    const Scenario s = test::stationWith({{"1", "Aeroporto", "10:00", "Centro", "10:05", "2"},
                                          {"2", "Nordia", "11:00", "Sudia", "11:05", "2"}});
    const TrackRules rules = {{"", "aeroporto", "", RulePassage::Any, -1, -1, {"1"}, {"2"}}};
    AssignmentOptions options = everyTrainWith(rules, 0);
    options.keepAssigned = true;
    EXPECT_EQ(assignedTracksText(s, options), "1 2") << "the unruled train keeps its track";
    options.which = TrainsToAssign::InConflict;
    EXPECT_EQ(assignedTracksText(s, options), "2 2");
}

// Rules never leave a train without a track that the day without rules would place: a train
// deferred by its rule is not crowded out by later trains. Train 2 keeps to track 1, taken by
// train 1 when it arrives; placed by its time, it takes track 2 and train 4 follows it there.
TEST(TrackRulesAssignment, RulesNeverLeaveMoreTrainsWithoutATrack) {
    const Scenario s = test::stationWith({{"1", "Est", "09:50", "Ovest", "10:40", ""},
                                          {"2", "Lago", "10:00", "Ovest", "10:10", ""},
                                          {"3", "Est", "10:05", "Ovest", "10:20", ""},
                                          {"4", "Est", "10:15", "Ovest", "10:30", ""}});
    const TrackRules rules = {{"", "lago", "", RulePassage::Any, -1, -1, {"1"}, {}}};
    const Assignment ruled = assignTracks(s, everyTrainWith(rules, 0));
    const Assignment free = assignTracks(s, everyTrainWith({}, 0));
    EXPECT_EQ(ruled.unplaced.size(), 1u);
    EXPECT_EQ(ruled.unplaced.size(), free.unplaced.size());
    EXPECT_TRUE(ruled.shortfalls.empty()) << "the rule's one train fits on its one track";

    // The same on generated days squeezed onto too few tracks, with and without the search.
    std::mt19937 random(38);
    for (int day = 0; day < 10; ++day) {
        const test::DayWithRules generated = test::ruledDay(200 + 30 * day, 8, random);
        for (double seconds : {0.0, 0.5}) {
            AssignmentOptions withRules = everyTrainWith(generated.rules, seconds);
            withRules.allowedTracks = {"1", "2", "3", "4", "5"};
            AssignmentOptions without = withRules;
            without.rules.clear();
            SCOPED_TRACE(std::to_string(day) + " " + std::to_string(seconds));
            EXPECT_LE(assignTracks(generated.s, withRules).unplaced.size(),
                      assignTracks(generated.s, without).unplaced.size());
        }
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
              std::vector<std::string>{"la regola 2 ha bisogno di 2 binari in più dalle 07:55 "
                                       "alle 08:03"})
        << "while its three trains meet, the separation after them included";
    EXPECT_EQ(ruleFindings(assigned(s, a), rules).size(), 2u);
}

} // namespace
} // namespace zeb
