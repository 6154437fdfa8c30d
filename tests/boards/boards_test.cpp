#include "boards/announcements.h"

#include "layout/occupancy_chart.h"
#include "timetable/random_day.h"
#include "timetable/test_trains.h"
#include "timetable/train_times.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

namespace zeb {
namespace {

// Every train shows on its board from the horizon before it is due until it leaves (arrivals:
// until a while after it is in), a cancelled one until it was due; and only then.
TEST(Boards, ATrainIsOnItsBoardForExactlyItsMinutes) {
    std::mt19937 random(17);
    const BoardSettings settings{.rows = 2001};
    for (int round = 0; round < 6; ++round) {
        const Scenario s = test::randomDay(random, 30);
        const PlayedDay day = playDay(s, {}, nullptr, {.delays = DelayMode::Drawn, .seed = 9});
        for (int minute = -60; minute < 26 * 60; minute += 7) {
            std::map<int, int> shown; // train → boards it is on
            for (const Board& board : {departuresBoard(s, day, minute, settings),
                                       arrivalsBoard(s, day, minute, settings)})
                for (const BoardRow& row : board.rows)
                    ++shown[row.train];
            for (const PlayedTrain& p : day.trains) {
                int expected = 0;
                if (p.departure && minute >= *p.departure - settings.horizon)
                    expected += minute < (p.cancelled ? *p.departure : *p.actualDeparture());
                if (p.arrival && minute >= *p.arrival - settings.horizon)
                    expected += minute < (p.cancelled ? *p.arrival
                                                      : *p.actualArrival() + settings.afterArrival);
                ASSERT_EQ(shown[p.train], expected) << s.treni[p.train].numero << " at " << minute;
            }
        }
    }
}

// On time, a track's indicator shows a train whose hold the chart draws there at that minute.
TEST(Boards, IndicatorsShowTheHoldsOfTheChart) {
    std::mt19937 random(23);
    for (int round = 0; round < 6; ++round) {
        const Scenario s = test::randomDay(random, 25);
        const PlayedDay day = playDay(s, {}, nullptr, {});
        const std::vector<Occupancy> holds = trackOccupancies(s, {}, false, {});
        for (int minute = 0; minute < 24 * 60; minute += 11) {
            for (const TrackDisplay& display : trackDisplays(s, day, minute, {})) {
                std::vector<int> holders; // more than one where trains clash
                for (const Occupancy& o : holds) {
                    const int start = minuteOfPlay(day, o.start);
                    if (o.track == display.track && start <= minute &&
                        minute < start + o.end - o.start)
                        holders.push_back(o.train);
                }
                ASSERT_EQ(display.holding, !holders.empty()) << display.track << " " << minute;
                if (display.holding) {
                    ASSERT_NE(std::find(holders.begin(), holders.end(), display.train->train),
                              holders.end());
                }
            }
        }
    }
}

// On time and with no base day, a running train is announced once for each end it has here (a
// bus as a bus), a cancelled one once; the same seed draws the same delays, whatever other trains
// the day holds.
TEST(Boards, AnnouncementsAndDrawsFollowTheirRules) {
    std::mt19937 random(29);
    const Scenario s = test::randomDay(random, 40);
    const PlayedDay day = playDay(s, {}, nullptr, {});
    std::map<int, std::vector<Announcement::Kind>> said;
    for (const Announcement& a : announcements(s, day, {}))
        said[a.train].push_back(a.kind);
    for (const PlayedTrain& p : day.trains) {
        using Kind = Announcement::Kind;
        std::vector<Kind> expected;
        if (p.cancelled) {
            expected = {Kind::Cancellation};
        } else {
            if (p.arrival)
                expected.push_back(p.bus ? Kind::Bus : Kind::Arrival);
            if (p.departure)
                expected.push_back(p.bus ? Kind::Bus : Kind::Departure);
        }
        EXPECT_EQ(said[p.train], expected) << s.treni[p.train].numero;
    }
    Scenario fewer = s;
    fewer.totale_treni = 20;
    const PlaySettings drawn{.delays = DelayMode::Drawn, .seed = 4};
    const PlayedDay all = playDay(s, {}, nullptr, drawn), part = playDay(fewer, {}, nullptr, drawn);
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(all.trains[i].arrivalDelay, part.trains[i].arrivalDelay);
        EXPECT_EQ(all.trains[i].departureDelay, part.trains[i].departureDelay);
        EXPECT_LE(all.trains[i].departureDelay,
                  kMostDelayMinutes[static_cast<std::size_t>(std::stoi(s.treni[i].ritardo))]);
    }
}

// A unit late in leaves late; a track other than the base day's shows with the old one.
TEST(Boards, KnockOnDelaysAndChangedTracksShow) {
    Scenario s = test::stationWith(
        {{"2001", "Nordia", "8:00", "", "", "1"}, {"2002", "", "", "Nordia", "8:20", "1"}});
    s.ora_inizio = "06";
    s.min_inizio = "00";
    s.treni[0].ritardo = "2"; // up to 30 minutes
    s.treni[1].ritardo = "0";
    Scenario base = s;
    base.treni[1].binario = "2";
    const PlayedDay day =
        playDay(s, {{0, 1}}, &base, {.delays = DelayMode::Most, .check = {.leastTurnaround = 5}});
    const Board board = departuresBoard(s, day, minuteOfPlay(day, 8 * 60 + 30), {});
    ASSERT_EQ(board.rows.size(), 1u);
    EXPECT_EQ(board.rows[0].number, "2002");
    EXPECT_EQ(board.rows[0].delay, "15"); // in at 08:30, five minutes to turn round
    EXPECT_EQ(board.rows[0].track, "1, era 2");
    EXPECT_TRUE(board.rows[0].trackChanged);
}

} // namespace
} // namespace zeb
