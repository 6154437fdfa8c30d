#include "delay_risk/delay_risk.h"
#include "layout/occupancy_chart.h"
#include "timetable/test_trains.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// The tail of each bar: on the piece where its hold ends, as long as its last train may be late
// (a unit's second train waiting for its first); none for a cancelled train.
TEST(DelayTails, ABarEndsAsLateAsItsLastTrainMay) {
    Scenario s = test::stationWith({
        {"101", "Nordia", "10:00", "Sudia", "10:02", "1"}, // "2": up to 30
        {"102", "Nordia", "23:55", "Sudia", "0:05", "1"},  // across midnight, "3": up to 110
        {"103", "Nordia", "12:00", "", "", "2"},           // the unit's first train, "4": 230
        {"104", "", "", "Sudia", "12:30", "2"},            // and its second, "0"
        {"105", "Nordia", "14:00", "Sudia", "14:02", "2", "Regionale", "Pieve,.", "1"},
    });
    const char* indices[] = {"2", "3", "4", "0", "4"};
    for (int i = 0; i < s.totale_treni; ++i)
        s.treni[i].ritardo = indices[i];
    const CheckSettings settings;
    ChartContent content = chartContent(s, settings, {{2, 3}});
    const DelayRisk risk = measureDelayRisk(s, {{2, 3}}, {.runs = 50});
    addDelayTails(content, s, settings, &risk);
    std::map<std::pair<int, int>, int> tails; // train, piece's start → tail
    for (const ChartBar& bar : content.bars)
        tails[{bar.occupancy.train, bar.from}] = bar.tail;
    EXPECT_EQ(tails.at({0, 10 * 60}), 30);
    EXPECT_EQ(tails.at({1, 23 * 60 + 55}), 0) << "the evening piece goes on past midnight";
    EXPECT_EQ(tails.at({1, 0}), 110);
    // 230 minutes late in, 5 to turn round: 230 + 5 - 30 past the departure as written.
    EXPECT_EQ(tails.at({2, 12 * 60}), 205);
    EXPECT_EQ(tails.at({4, 14 * 60}), 0);
    for (const ChartBar& bar : content.bars)
        EXPECT_EQ(bar.risk, 0) << "nothing for them to clash with";
}

} // namespace
} // namespace zeb
