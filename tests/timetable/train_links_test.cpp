#include "layout/occupancy_chart.h"
#include "timetable/checker.h"
#include "timetable/test_trains.h"
#include "timetable/train_links.h"
#include "timetable/turnaround_pairs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zeb {
namespace {

using test::stationWith;

std::string messagesOf(const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& f : findings)
        text += f.message + "\n";
    return text;
}

// A unit that ends as 2001 at 10:00 and leaves as 2002 on the same track.
Scenario terminus(const std::string& leaves, const std::vector<test::Train>& others = {}) {
    std::vector<test::Train> trains{{"2001", "Nordia", "10:00", "", "", "1"},
                                    {"2002", "", "", "Nordia", leaves, "1"}};
    trains.insert(trains.end(), others.begin(), others.end());
    return stationWith(trains);
}

const TrainLinks kUnit{{0, 1}};

// The turnaround that is close but right stands as one unit; the train that passes the standing
// unit clashes with it, and the unit is named.
TEST(TrainLinks, AStandingUnitHoldsItsTrackFromArrivalToDeparture) {
    const Scenario close = terminus("10:20");
    EXPECT_NE(messagesOf(checkScenario(close)).find("nessun minuto tra le occupazioni"),
              std::string::npos)
        << "apart, the two are too close";
    EXPECT_EQ(messagesOf(checkScenario(close, {}, kUnit)), "");

    const Scenario passed = terminus("10:40", {{"3001", "Ovest", "10:18", "Est", "10:20", "1"}});
    EXPECT_EQ(messagesOf(checkScenario(passed)), "");
    EXPECT_EQ(messagesOf(checkScenario(passed, {}, kUnit)),
              "Treni 1 (2001→2002) e 3 (3001), binario 1: occupato insieme dalle 10:18 alle "
              "10:20\n");
    const ChartContent chart = chartContent(passed, {}, kUnit);
    ASSERT_EQ(chart.bars.size(), 2u);
    EXPECT_EQ(occupancyLabel(passed, chart.bars[0].occupancy), "2001→2002");
    EXPECT_EQ(chart.bars[0].occupancy.end - chart.bars[0].occupancy.start, 40);
    EXPECT_TRUE(chart.bars[0].conflict && chart.bars[1].conflict);
}

// A link that cannot stand is a finding of its own, and its trains hold their tracks apart.
TEST(TrainLinks, ALinkThatCannotStandIsAFinding) {
    const struct {
        std::vector<test::Train> trains;
        TrainLinks links;
        LinkState state;
        const char* finding; // "" for none
    } cases[] = {
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "10:30", "1"}},
         {{0, 1}},
         LinkState::Holds,
         ""},
        {{{"1", "A", "23:50", "", "", "1"}, {"2", "", "", "A", "05:30", "1"}},
         {{0, 1}},
         LinkState::Holds,
         ""},
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "10:03", "1"}},
         {{0, 1}},
         LinkState::TooClose,
         "Collegamento 1→2: solo 3 minuti per l'inversione, ne servono 5"},
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "09:30", "1"}},
         {{0, 1}},
         LinkState::WrongOrder,
         "Collegamento 1→2: 2 parte prima che 1 arrivi"},
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "10:30", "2"}},
         {{0, 1}},
         LinkState::OtherTracks,
         "Collegamento 1→2: i due treni sono su binari diversi (1 e 2)"},
        {{{"1", "A", "10:00", "B", "10:05", "1"}, {"2", "", "", "A", "10:30", "1"}},
         {{0, 1}},
         LinkState::NotEnding,
         "Collegamento 1→2: 1 non termina qui"},
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "C", "10:20", "A", "10:30", "1"}},
         {{0, 1}},
         LinkState::NotStarting,
         "Collegamento 1→2: 2 non parte da qui"},
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "10:30", "2", "Regionale", "", "1"}},
         {{0, 1}},
         LinkState::Idle,
         ""},
        {{{"1", "A", "10:00", "", "", "1"}},
         {{0, 4}},
         LinkState::MissingTrain,
         "Collegamento 1→?: il collegamento nomina un treno che non c'è"},
        {{{"1", "A", "10:00", "", "", "1"},
          {"2", "", "", "A", "10:30", "1"},
          {"3", "", "", "A", "11:30", "1"}},
         {{0, 1}, {0, 2}},
         LinkState::Holds,
         "Collegamento 1→3: 1 prosegue già come un altro treno"},
    };
    for (const auto& c : cases) {
        const Scenario s = stationWith(c.trains);
        EXPECT_EQ(linkState(s, c.links[0], {}), c.state) << unitLabel(s, c.links[0]);
        std::string found;
        for (const Finding& f : checkScenario(s, {}, c.links)) {
            if (f.message.starts_with("Collegamento"))
                found += f.message;
        }
        EXPECT_EQ(found, c.finding) << unitLabel(s, c.links[0]);
    }
}

// A terminus of `count` trains at random times on tracks 1 and 2: the even ones end here, the
// odd ones start here.
Scenario randomTerminus(std::mt19937& random, int count) {
    std::vector<test::Train> trains;
    for (int k = 0; k < count; ++k) {
        const std::string time =
            std::to_string(random() % 24) + ":" + std::to_string(random() % 60);
        const std::string track = random() % 2 ? "1" : "2";
        trains.push_back(k % 2 == 0 ? test::Train{std::to_string(k), "A", time, "", "", track}
                                    : test::Train{std::to_string(k), "", "", "A", time, track});
    }
    return stationWith(trains);
}

// Whatever links a day has, every train that holds a track is in exactly one occupancy, and a
// unit's is the span from the first's arrival to the second's departure.
TEST(TrainLinks, EveryTrainIsHeldOnceWhateverTheLinks) {
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        const Scenario s = randomTerminus(random, 30);
        TrainLinks links;
        for (int k = 0; k + 1 < 30; k += 2) {
            if (random() % 3 != 0)
                links.push_back({k, k + 1 + 2 * static_cast<int>(random() % 2 == 0 && k + 3 < 30)});
        }
        std::vector<int> held(30, 0);
        for (const Occupancy& o : trackOccupancies(s, {}, false, links)) {
            ++held[static_cast<std::size_t>(o.train)];
            if (o.leaving >= 0) {
                ++held[static_cast<std::size_t>(o.leaving)];
                EXPECT_EQ(o.end - o.start, standingMinutes(s, {o.train, o.leaving}));
                EXPECT_EQ(linkState(s, {o.train, o.leaving}, {}), LinkState::Holds);
            }
        }
        EXPECT_EQ(held, std::vector<int>(30, 1));
    }
}

// The rule pairs each train that ends here with one that starts on its track, within the wait,
// a return trip first; every link it proposes stands, and no train is in two.
TEST(TurnaroundPairs, PairEachArrivalWithADepartureOfItsTrack) {
    const struct {
        std::vector<test::Train> trains;
        TrainLinks existing;
        const char* pairs; // "arriving>leaving …"
        const char* changes = "";
    } cases[] = {
        {{{"1", "A", "10:00", "", "", "1"},
          {"2", "", "", "B", "10:20", "1"},
          {"3", "", "", "A", "10:30", "1"}},
         {},
         "1>3"}, // back where it came from, though later
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "10:20", "2"}}, {}, ""},
        {{{"1", "A", "10:00", "", "", "1", "Regionale"},
          {"2", "A", "10:10", "", "", "1", "Suburbano"},
          {"3", "", "", "A", "10:30", "1", "Suburbano"},
          {"4", "", "", "B", "10:40", "1", "Regionale"}},
         {},
         "1>4 2>3",
         "1 non torna da dove arriva"}, // one kind before going back, before the earliest
        {{{"1", "A", "10:00", "", "", "1", "Regionale"},
          {"2", "", "", "B", "10:30", "1", "Suburbano"}},
         {},
         "1>2",
         "1 cambia categoria e 1 non torna da dove arriva"},
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "11:31", "1"}}, {}, ""},
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "A", "10:04", "1"}}, {}, ""},
        {{{"1", "A", "23:40", "", "", ""}, {"2", "", "", "A", "00:20", ""}}, {}, "1>2"},
        {{{"1", "A", "10:00", "", "", "1"},
          {"2", "A", "10:10", "", "", "1"},
          {"3", "", "", "B", "10:30", "1"},
          {"4", "", "", "B", "10:40", "1"}},
         {},
         "1>3 2>4",
         "2 non tornano da dove arrivano"}, // first in, first out
        {{{"1", "A", "10:00", "", "", "1"}, {"2", "", "", "B", "10:30", "1", "Regionale", "", "1"}},
         {},
         ""}, // cancelled
        {{{"1", "A", "10:00", "", "", "1"},
          {"2", "", "", "A", "10:30", "1"},
          {"3", "", "", "A", "10:40", "1"}},
         {{0, 2}},
         ""}, // linked already
    };
    for (const auto& c : cases) {
        const Scenario s = stationWith(c.trains);
        const TurnaroundPairs found = pairTurnarounds(s, {}, 90, c.existing);
        std::string pairs;
        for (const TrainLink& link : found.links) {
            pairs += std::string(pairs.empty() ? "" : " ") + s.treni[link.arriving].numero + ">" +
                     s.treni[link.leaving].numero;
            EXPECT_EQ(linkState(s, link, {}), LinkState::Holds);
        }
        EXPECT_EQ(pairs, c.pairs) << c.trains.size();
        EXPECT_EQ(pairChangesText(s, found.links), c.changes) << c.pairs;
        EXPECT_EQ(found.links.size() + found.singleEnding.size(),
                  static_cast<std::size_t>(
                      std::count_if(c.trains.begin(), c.trains.end(),
                                    [](const test::Train& t) { return t.partenza.empty(); })) -
                      c.existing.size());
    }
}

// Whatever the day and its links, "Collega a…" offers every train that may follow (precede) and
// no other, the free ones before those linked already, each kind those on the same track first,
// then the nearest in time.
TEST(TurnaroundPairs, CandidatesComeFreeOnTheTrackAndNearFirst) {
    std::mt19937 random(5);
    for (int round = 0; round < 40; ++round) {
        const Scenario s = randomTerminus(random, 20);
        const TrainLinks links{{0, 1}, {2, 5}};
        const int train = 2 * static_cast<int>(random() % 10);
        const std::vector<int> offered = linkCandidates(s, links, train, LinkSide::Onward);
        ASSERT_EQ(offered.size(), 10u);
        auto rank = [&](int other) {
            return std::tuple(displacedLink(links, train, LinkSide::Onward, other).has_value(),
                              s.treni[other].binario != s.treni[train].binario,
                              *standingMinutes(s, {train, other}));
        };
        for (std::size_t k = 0; k < offered.size(); ++k) {
            EXPECT_EQ(offered[k] % 2, 1);
            if (k > 0) {
                EXPECT_LE(rank(offered[k - 1]), rank(offered[k]));
            }
        }
        EXPECT_EQ(displacedLink(links, 0, LinkSide::Onward, 1),
                  std::nullopt); // its own link is no other's
        EXPECT_TRUE(linkCandidates(s, links, 1, LinkSide::Onward).empty()); // 1 does not end here
    }
}

} // namespace
} // namespace zeb
