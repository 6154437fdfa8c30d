#include "track_assignment/track_assignment.h"

#include "model/track_slots.h"
#include "timetable/test_trains.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace zeb {
namespace {

using test::Train;

// A station with `numbered` numbered tracks and, where asked, the first stub track.
Scenario stationOf(int numbered, bool stub, std::vector<Train> trains) {
    Scenario s = test::stationWith({});
    s.binari_scelti.fill(false);
    for (int slot = 0; slot < numbered; ++slot)
        s.binari_scelti[static_cast<std::size_t>(slot)] = true;
    s.binari_scelti[23] = stub;
    rebuildTrackTable(s);
    for (const Train& in : trains) {
        Treno& t = s.treni[static_cast<std::size_t>(s.totale_treni++)];
        t.numero = in.numero;
        t.categoria = in.categoria;
        t.provenienza = in.provenienza;
        t.destinazione = in.destinazione;
        test::splitTime(in.arrivo, t.ora_arrivo, t.min_arrivo);
        test::splitTime(in.partenza, t.ora_partenza, t.min_partenza);
        t.binario = in.binario;
    }
    return s;
}

// The properties every assignment keeps, whatever the case.
void expectSound(const Scenario& before, const AssignmentOptions& options, const Assignment& a) {
    Scenario after = before;
    applyAssignment(after, a);
    EXPECT_EQ(a.conflictsAfter, stationConflicts(after, options.settings, options.links));
    EXPECT_EQ(a.conflictsBefore, stationConflicts(before, options.settings, options.links));
    std::set<int> changed;
    for (const TrackChange& change : a.changes) {
        changed.insert(change.train);
        EXPECT_TRUE(hasStationTrack(before, change.to)) << change.to;
        const auto& allowed = options.allowedTracks;
        EXPECT_TRUE(allowed.empty() ||
                    std::find(allowed.begin(), allowed.end(), change.to) != allowed.end());
        const Treno& t = before.treni[static_cast<std::size_t>(change.train)];
        const bool passing = hasArrival(t) && hasDeparture(t);
        EXPECT_FALSE(options.stubsForEnds && passing &&
                     change.to.find("tronco") != std::string::npos)
            << "a passing train on a stub";
        EXPECT_FALSE(options.keepAssigned && options.which == TrainsToAssign::WithoutTrack &&
                     hasStationTrack(before, t.binario))
            << "a train outside the chosen moved";
    }
    // A unit moved goes to one track, both its trains.
    for (const TrainLink& link : options.links) {
        if (changed.contains(link.arriving) || changed.contains(link.leaving)) {
            EXPECT_EQ(after.treni[link.arriving].binario, after.treni[link.leaving].binario)
                << unitLabel(after, link);
        }
    }
    // A train given a track clashes with nobody there.
    std::vector<Occupancy> occupancies =
        trackOccupancies(after, options.settings, false, options.links);
    for (const Conflict& c : trackConflicts(occupancies, options.settings.separation)) {
        for (int k : {c.first, c.second})
            EXPECT_FALSE(changed.contains(occupancies[static_cast<std::size_t>(k)].train))
                << "the assignment made a conflict";
    }
    for (int train : a.unplaced)
        EXPECT_FALSE(changed.contains(train));
    EXPECT_EQ(a.unplaced.empty(), a.moreTracks == 0);
}

std::string tracksOf(const Scenario& s, const Assignment& a) {
    Scenario after = s;
    applyAssignment(after, a);
    std::string out;
    for (int i = 0; i < after.totale_treni; ++i)
        out += (i ? " " : "") + after.treni[static_cast<std::size_t>(i)].binario;
    return out;
}

struct Case {
    const char* name;
    Scenario station;
    AssignmentOptions options;
    std::string tracks; // each train's track afterwards
    int lowerBound;
    int unplaced;
};

TEST(TrackAssignment, SmallCasesKeepTheRulesAndTheObjective) {
    AssignmentOptions defaults;
    AssignmentOptions noLines;
    noLines.sameLine = false;
    AssignmentOptions all;
    all.which = TrainsToAssign::All;
    AssignmentOptions onlyTwo;
    onlyTwo.allowedTracks = {"1", "2"};
    AssignmentOptions units = all;
    units.links = {{0, 1}};
    const std::vector<Case> cases = {
        {"a unit on two tracks goes to one, the other train keeping clear of it",
         stationOf(2, false,
                   {{"1", "A", "10:00", "", "", "1"},
                    {"2", "", "", "A", "10:40", "2"},
                    {"3", "B", "10:20", "C", "10:25", "1"}}),
         units, "1 1 2", 2, 0},
        {"a circle across midnight",
         stationOf(3, false,
                   {{"1", "A", "23:50", "B", "00:10", ""},
                    {"2", "A", "00:05", "B", "00:20", ""},
                    {"3", "A", "23:40", "B", "23:45", ""}}),
         defaults, "1 2 1", 2, 0},
        {"a fixed train in the way",
         stationOf(2, false,
                   {{"1", "A", "08:00", "B", "08:30", "1"}, {"2", "A", "08:10", "B", "08:20", ""}}),
         defaults, "1 2", 2, 0},
        {"a line kept on one track though a lower one is free",
         stationOf(3, false,
                   {{"1", "A", "08:00", "B", "08:30", "2"},
                    {"2", "C", "09:00", "D", "09:10", ""},
                    {"3", "A", "10:00", "B", "10:30", ""}}),
         defaults, "2 1 2", 1, 0},
        {"the lowest free track without lines",
         stationOf(3, false,
                   {{"1", "A", "08:00", "B", "08:30", "2"}, {"3", "A", "10:00", "B", "10:30", ""}}),
         noLines, "2 1", 1, 0},
        {"a stub for the train that ends here, not for the one passing",
         stationOf(1, true,
                   {{"1", "A", "08:00", "B", "08:30", "1"},
                    {"2", "A", "08:05", "", "", ""},
                    {"3", "A", "08:10", "B", "08:20", ""}}),
         defaults, "1 1tronco ", 3, 1},
        {"too few tracks: two trains left, two tracks more",
         stationOf(4, false,
                   {{"1", "A", "08:00", "B", "08:30", ""},
                    {"2", "A", "08:00", "B", "08:30", ""},
                    {"3", "A", "08:00", "B", "08:30", ""},
                    {"4", "A", "08:00", "B", "08:30", ""}}),
         onlyTwo, "1 2  ", 4, 2},
        {"a conflict-free day stays as it is",
         stationOf(
             2, false,
             {{"1", "A", "08:00", "B", "08:30", "2"}, {"2", "A", "08:10", "B", "08:20", "1"}}),
         all, "2 1", 2, 0},
        {"a blocking train moves so that another fits",
         stationOf(2, false,
                   {{"1", "A", "08:00", "B", "08:30", "1"},
                    {"2", "C", "09:00", "D", "09:30", "2"},
                    {"3", "A", "08:40", "B", "09:20", ""}}),
         [] {
             AssignmentOptions o;
             o.keepAssigned = false;
             return o;
         }(),
         "1 2 1", 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Assignment a = assignTracks(c.station, c.options);
        expectSound(c.station, c.options, a);
        EXPECT_EQ(tracksOf(c.station, a), c.tracks);
        EXPECT_EQ(a.lowerBound, c.lowerBound);
        EXPECT_EQ(static_cast<int>(a.unplaced.size()), c.unplaced);
    }
}

// Generated days with the busy hours of a real station: never more tracks than the lower bound
// plus one, and no conflict where the tracks suffice.
// The preview of a drag names the trains the drop would clash with; a unit goes to another
// track whole, and in time stretches or shrinks with the train moved.
TEST(TrackAssignment, TheDragPreviewNamesTheClashes) {
    const Scenario s = stationOf(2, false,
                                 {{"1", "A", "10:00", "", "", "1"},
                                  {"2", "", "", "A", "10:40", "1"},
                                  {"3", "B", "10:50", "C", "10:55", "1"},
                                  {"4", "B", "10:20", "C", "10:25", "2"}});
    const TrainLinks unit{{0, 1}};
    const struct {
        int train;
        const char* track;
        int minutes;
        TrainLinks links;
        std::vector<int> clashes;
    } cases[] = {
        {3, "1", 0, {}, {}},            // between the two trains' own holds
        {3, "1", 0, unit, {0}},         // into the standing unit
        {1, "1", 10, unit, {2}},        // the unit stays longer, up to the train after it
        {1, "1", 10, {}, {2}},          // alone too: its preparation reaches the train after
        {0, "2", 0, unit, {3}},         // the unit to another track, whole
        {2, "1", -15, {}, {1}},         // into the leaving train's preparation
        {1, "1", -50, unit, {}},        // leaving before arriving: no hold to compare
        {2, "1", 24 * 60 - 8, {}, {1}}, // a day less 8 minutes: 10:42, round the clock
    };
    for (const auto& c : cases)
        EXPECT_EQ(clashesAfterMove(s, {}, c.train, c.track, c.minutes, c.links), c.clashes)
            << c.train << " " << c.minutes;
}

TEST(TrackAssignment, GeneratedDaysNeedAtMostOneTrackAboveTheBound) {
    std::mt19937 random(20261206);
    for (int day = 0; day < 40; ++day) {
        std::vector<Train> trains;
        const int count = 50 + static_cast<int>(random() % 250);
        for (int i = 0; i < count; ++i) {
            const int hour =
                std::array{6, 7, 7, 8, 8, 12, 13, 17, 17, 18, 18, 19, 22, 23, 0}[random() % 15];
            const int at = hour * 60 + static_cast<int>(random() % 60);
            const int stand = 1 + static_cast<int>(random() % 15);
            auto clock = [](int m) { return clockText(m % kMinutesPerDay); };
            const int kind = static_cast<int>(random() % 3);
            trains.push_back({std::to_string(i), kind == 1 ? "" : "Nord", clock(at),
                              kind == 2 ? "" : "Sud", clock(at + stand), ""});
        }
        const Scenario s = stationOf(23, false, trains);
        AssignmentOptions options;
        if (day % 2 == 1) { // the units of the day as the rule links them
            options.links = pairTurnarounds(s, options.settings).links;
            EXPECT_FALSE(options.links.empty());
        }
        const Assignment a = assignTracks(s, options);
        SCOPED_TRACE(day);
        expectSound(s, options, a);
        EXPECT_EQ(a.conflictsAfter, 0);
        std::set<std::string> used;
        for (const TrackChange& change : a.changes)
            used.insert(change.to);
        EXPECT_LE(static_cast<int>(used.size()), a.lowerBound + 1);
    }
}

} // namespace
} // namespace zeb
