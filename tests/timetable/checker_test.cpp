#include "timetable/checker.h"

#include "layout/occupancy_chart.h"
#include "timetable/test_trains.h"
#include "timetable/train_times.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

namespace zeb {
namespace {

using test::stationWith;
using Trains = std::vector<test::Train>;

// The findings one a line, "E " for an error and "A " for a warning.
std::string findings(const Scenario& s) {
    std::string out;
    for (const Finding& f : checkScenario(s))
        out += (out.empty() ? "" : "\n") +
               std::string(f.severity == Severity::Error ? "E " : "A ") + f.message;
    return out;
}

struct Case {
    const char* name;
    Trains trains; // the scenario is built by the test, not at start-up
    std::string expected;
};

void PrintTo(const Case& row, std::ostream* out) {
    *out << row.name;
}

class Checker : public ::testing::TestWithParam<Case> {};

TEST_P(Checker, FindsWhatIsWrong) {
    EXPECT_EQ(findings(stationWith(GetParam().trains)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Checker,
    ::testing::Values(
        Case{"ExactlyTheSeparationApart",
             Trains({{"1", "A", "7:40", "B", "7:45"}, {"2", "A", "7:48", "B", "7:50"}}), ""},
        Case{"CloserThanTheSeparation",
             Trains({{"1", "A", "7:40", "B", "7:45"}, {"2", "A", "7:47", "B", "7:50"}}),
             "E Treni 1 (1) e 2 (2), binario 1: solo 2 minuti tra le occupazioni (dalle 07:45 alle "
             "07:47), ne servono 3"},
        Case{"Overlapping",
             Trains({{"2233", "A", "07:44", "B", "7:50"}, {"2231", "A", "7:30", "B", "7:45"}}),
             "E Treni 1 (2233) e 2 (2231), binario 1: occupato insieme dalle 07:44 alle 07:45"},
        Case{"OtherTracksNeverMeet",
             Trains({{"1", "A", "7:40", "B", "7:45"}, {"2", "A", "7:40", "B", "7:45", "2"}}), ""},
        Case{"AcrossMidnight",
             Trains({{"1", "A", "23:55", "B", "0:05"}, {"2", "", "", "B", "0:10"}}),
             "E Treni 1 (1) e 2 (2), binario 1: occupato insieme dalle 00:00 alle 00:05"},
        Case{"AChainIsOneGroupNamingSixTrains",
             Trains({{"1", "A", "7:00", "B", "7:10"},
                     {"2", "A", "7:09", "B", "7:20"},
                     {"3", "A", "7:19", "B", "7:30"},
                     {"4", "A", "7:29", "B", "7:40"},
                     {"5", "A", "7:39", "B", "7:50"},
                     {"6", "A", "7:49", "B", "8:00"},
                     {"7", "A", "7:59", "B", "8:10"},
                     {"8", "A", "8:09", "B", "8:20"},
                     {"9", "A", "9:00", "B", "9:10"}}),
             "E Binario 1, dalle 07:00 alle 08:20: 8 treni in conflitto tra loro (1, 2, 3, 4, 5, 6 "
             "e altri 2)"},
        Case{"AGroupAcrossMidnight",
             Trains({{"1", "A", "23:50", "B", "23:58"},
                     {"2", "A", "23:57", "B", "0:05"},
                     {"3", "A", "0:04", "B", "0:12"},
                     {"4", "A", "12:00", "B", "12:01"}}),
             "E Binario 1, dalle 23:50 alle 00:12: 3 treni in conflitto tra loro (1, 2, 3)"},
        Case{"TerminatingThenStartingTouch",
             Trains({{"1", "A", "8:00", "", ""}, {"2", "", "", "B", "8:20"}}),
             "E Treni 1 (1) e 2 (2), binario 1: nessun minuto tra le occupazioni (alle 08:10), ne "
             "servono 3"},
        Case{"TerminatingThenStartingApart",
             Trains({{"1", "A", "8:00", "", ""}, {"2", "", "", "B", "8:23"}}), ""},
        Case{"BusesAndEurostarLinkHoldNoTrack",
             Trains({{"1", "A", "8:00", "B", "8:05", "99", "Autobus"},
                     {"2", "A", "8:00", "B", "8:05", "", "Eurostar Link"}}),
             ""},
        Case{"ACancelledTrainHoldsNoTrackAndNeedsNone",
             Trains({{"1", "A", "7:40", "B", "7:45"},
                     {"2", "A", "7:41", "B", "7:46", "1", "Regionale", "Pieve,.", "1"},
                     {"3", "A", "7:40", "B", "7:45", "", "Regionale", "Pieve,.", "1"}}),
             ""},
        Case{"TracksTheStationLacks",
             Trains({{"1", "A", "8:00", "B", "8:05", "7"}, {"2", "A", "9:00", "B", "9:05", ""}}),
             "E Treno 1 (1): il binario «7» non esiste nella stazione\n"
             "E Treno 2 (2): nessun binario assegnato"},
        Case{"TimesThatAreNotValid",
             Trains({{"1", "A", "24:00", "B", "7:60"},
                     {"2", "A", "--:--", "", ""},
                     {"3", "", "", "B", "7a:5"},
                     {"4", "", "", "", ""}}),
             "E Treno 1 (1): l'orario di arrivo «24:00» non è valido\n"
             "E Treno 1 (1): l'orario di partenza «7:60» non è valido\n"
             "E Treno 2 (2): l'orario di arrivo «--:--» non è valido\n"
             "E Treno 3 (3): l'orario di partenza «7a:5» non è valido"},
        Case{"NumbersTwice",
             Trains({{"7", "A", "1:00", "B", "1:01"},
                     {"8", "A", "2:00", "B", "2:01"},
                     {"7", "A", "3:00", "B", "3:01"},
                     {"7", "A", "4:00", "B", "4:01"}}),
             "A Il numero 7 è usato da 3 treni: 1, 3 e 4"},
        Case{"AStandOverAnHourAcrossMidnight",
             Trains({{"1", "A", "23:30", "B", "0:31"}, {"2", "A", "5:00", "B", "6:00", "2"}}),
             "A Treno 1 (1): sosta 61 minuti in stazione, dalle 23:30 alle 00:31"},
        Case{"StopsWithoutTheTerminator",
             Trains({{"1", "A", "5:00", "B", "5:01", "1", "Regionale", "Pieve"}}),
             "A Treno 1 (1): le fermate non terminano con «,.»"},
        Case{"ErrorsFirstThenByTime",
             Trains({{"1", "A", "9:00", "B", "9:01", "1", "Regionale", "x"},
                     {"2", "A", "8:00", "B", "8:01", "5"},
                     {"3", "A", "7:00", "B", "7:01", "1", "Regionale", "x"}}),
             "E Treno 2 (2): il binario «5» non esiste nella stazione\n"
             "A Treno 3 (3): le fermate non terminano con «,.»\n"
             "A Treno 1 (1): le fermate non terminano con «,.»"}),
    [](const auto& info) { return std::string(info.param.name); });

// One rule everywhere: the trains of the checker's groups and of the chart's marks are those of
// some pair in conflict, and every pair comes too close by the rule, on generated busy days.
TEST(Checker, GroupsHoldTheTrainsOfEveryConflictingPair) {
    std::mt19937 random(17);
    for (int day = 0; day < 30; ++day) {
        Scenario s = stationWith({});
        for (int i = 0; i < 60; ++i) {
            const int at = static_cast<int>(random() % kMinutesPerDay);
            const int stand = static_cast<int>(random() % 20);
            Treno& t = s.treni[static_cast<std::size_t>(s.totale_treni++)];
            t.numero = std::to_string(i);
            t.categoria = "Regionale";
            t.provenienza = "A";
            t.destinazione = "B";
            t.ora_arrivo = std::to_string(at / 60);
            t.min_arrivo = std::to_string(at % 60);
            t.ora_partenza = std::to_string((at + stand) % kMinutesPerDay / 60);
            t.min_partenza = std::to_string((at + stand) % 60);
            t.binario = random() % 2 ? "1" : "2";
            t.fermate = ",.";
        }
        std::set<int> paired;
        const auto occupancies = trackOccupancies(s, {});
        for (const Conflict& c : trackConflicts(occupancies, 3)) {
            const Occupancy& a = occupancies[static_cast<std::size_t>(c.first)];
            const Occupancy& b = occupancies[static_cast<std::size_t>(c.second)];
            EXPECT_TRUE(tooClose(a.start, a.end, b.start, b.end, 3));
            paired.insert({a.train, b.train});
        }
        std::set<int> marked;
        for (const ChartBar& bar : chartContent(s, {}).bars) {
            if (bar.conflict)
                marked.insert(bar.occupancy.train);
        }
        EXPECT_EQ(marked, paired);
        std::set<int> grouped;
        for (const Finding& f : checkScenario(s)) {
            EXPECT_GE(f.trains.size(), 2u) << f.message;
            grouped.insert(f.trains.begin(), f.trains.end());
        }
        EXPECT_EQ(grouped, paired);
    }
}

TEST(Checker, SettingsChangeTheOccupancies) {
    const Scenario s = stationWith({{"1", "A", "8:00", "", ""}, {"2", "", "", "B", "8:20"}});
    EXPECT_EQ(checkScenario(s, {.separation = 0, .turnaround = 5, .preparation = 15}).size(), 0u);
    EXPECT_EQ(checkScenario(s, {.separation = 0, .turnaround = 6, .preparation = 15}).size(), 1u);
}

} // namespace
} // namespace zeb
