#include "layout/occupancy_chart.h"

#include "layout/chart_sheet.h"
#include "timetable/test_trains.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <random>
#include <tuple>

namespace zeb {
namespace {

using test::stationWith;

// Each bar as "row:track:start-end:kind", "!" for a conflict, "~" for a cancelled train, then its
// overlaps.
std::string bars(const ChartContent& content) {
    std::string out;
    for (const ChartBar& bar : content.bars) {
        out += (out.empty() ? "" : " ") + std::to_string(bar.row) + ":" + bar.occupancy.track +
               ":" + std::to_string(bar.occupancy.start) + "-" + std::to_string(bar.occupancy.end) +
               (bar.from != bar.occupancy.start || bar.to != bar.occupancy.end
                    ? "=" + std::to_string(bar.from) + "-" + std::to_string(bar.to)
                    : "") +
               ":" + std::to_string(static_cast<int>(bar.occupancy.kind)) +
               (bar.conflict ? "!" : "") + (bar.occupancy.cancelled ? "~" : "");
        for (const auto& [from, to] : bar.overlaps)
            out += "[" + std::to_string(from) + "-" + std::to_string(to) + "]";
    }
    return out;
}

TEST(OccupancyChart, RowsBarsConflictsAndTheAxis) {
    Scenario s = stationWith({{"1", "A", "23:55", "B", "0:05", "2"},
                              {"2", "", "", "B", "0:10", "2"},
                              {"3", "A", "8:00", "", "", "1"},
                              {"4", "A", "9:00", "B", "9:05", "99", "Autobus"},
                              {"5", "A", "9:00", "B", "9:05", "7"},
                              {"6", "A", "8:05", "", "", "1", "Regionale", "", "1"}});
    s.ora_inizio = "6";
    s.min_inizio = "30";
    const ChartContent content = chartContent(s, {});
    EXPECT_EQ(content.rows,
              (std::vector<std::string>{"1", "2", kRowWithoutTrack, kRowUnknownTrack}));
    // Passing 23:55 to 00:05 of the next day, starting 00:00 to 00:10: held together 00:00-00:05.
    // The day is drawn round the clock: the passing train's morning is a bar of its own. A
    // cancelled train is drawn and clashes with nothing.
    EXPECT_EQ(bars(content), "1:2:1435-1445=1435-1440:0! 1:2:0-10:2![0-5] 0:1:480-490:1 "
                             "0:1:485-495:1~ 2:99:540-545:0 3:7:540-545:0 "
                             "1:2:1435-1445=0-5:0![0-5]");
    EXPECT_EQ((std::array{content.firstMinute, content.lastMinute, content.startMinute.value()}),
              (std::array{0, 24 * 60, 390}));
}

// Merged spans, so that pieces found pair by pair and pieces found at once compare.
std::vector<std::pair<int, int>> merged(std::vector<std::pair<int, int>> spans) {
    std::sort(spans.begin(), spans.end());
    std::vector<std::pair<int, int>> out;
    for (const auto& span : spans) {
        if (!out.empty() && span.first <= out.back().second)
            out.back().second = std::max(out.back().second, span.second);
        else
            out.push_back(span);
    }
    return out;
}

// The chart's conflicts and overlaps, found in one sweep per track, are those of every pair of
// trains taken one by one, on random busy days with trains across midnight.
TEST(OccupancyChart, ConflictsAreThoseOfEveryPair) {
    std::mt19937 random(16);
    for (int day = 0; day < 300; ++day) {
        Scenario s = stationWith({});
        const int trains = 2 + static_cast<int>(random() % 40);
        for (int i = 0; i < trains; ++i) {
            Treno& t = s.treni[s.totale_treni++];
            t.numero = std::to_string(i);
            t.categoria = "Regionale";
            t.binario = random() % 5 == 0 ? "2" : "1";
            const int arrival = static_cast<int>(random() % 1440);
            const int departure = (arrival + static_cast<int>(random() % 40)) % 1440;
            const int ends = static_cast<int>(random() % 3); // both, arrival only, departure only
            if (ends != 2) {
                t.provenienza = "A";
                t.ora_arrivo = std::to_string(arrival / 60);
                t.min_arrivo = std::to_string(arrival % 60);
            }
            if (ends != 1) {
                t.destinazione = "B";
                t.ora_partenza = std::to_string(departure / 60);
                t.min_partenza = std::to_string(departure % 60);
                t.fermate = "Pieve,.";
            }
        }
        const CheckSettings settings{.separation = static_cast<int>(random() % 4)};
        const ChartContent content = chartContent(s, settings);

        // The bars of the holds, then the mornings of those across midnight, with their overlaps
        // taken back to the hold's own day.
        std::vector<Occupancy> occupancies;
        std::map<int, std::vector<std::pair<int, int>>> drawn;
        for (const ChartBar& bar : content.bars) {
            const bool morning = bar.from < bar.occupancy.start;
            if (!morning)
                occupancies.push_back(bar.occupancy);
            const int hold =
                morning ? static_cast<int>(std::find_if(occupancies.begin(), occupancies.end(),
                                                        [&](const Occupancy& o) {
                                                            return o.train == bar.occupancy.train;
                                                        }) -
                                           occupancies.begin())
                        : static_cast<int>(occupancies.size()) - 1;
            for (const auto& [from, to] : bar.overlaps)
                drawn[hold].emplace_back(from + (morning ? 1440 : 0), to + (morning ? 1440 : 0));
            ASSERT_TRUE(!morning ||
                        content.bars[static_cast<std::size_t>(hold)].conflict == bar.conflict);
        }
        std::map<int, bool> conflict;
        std::map<int, std::vector<std::pair<int, int>>> overlaps;
        for (const Conflict& c : trackConflicts(occupancies, settings.separation)) {
            for (int k : {c.first, c.second}) {
                conflict[k] = true;
                const int start = occupancies[static_cast<std::size_t>(k)].start;
                // The overlap in the bar's own day: the second may be the next day's copy.
                const int shift = k == c.second && c.secondStart >= 1440 && start < 1440 ? 1440 : 0;
                if (c.secondStart < c.overlapEnd)
                    overlaps[k].emplace_back(c.secondStart - shift, c.overlapEnd - shift);
            }
        }
        for (std::size_t k = 0; k < occupancies.size(); ++k) {
            const int bar = static_cast<int>(k);
            ASSERT_EQ(content.bars[k].conflict, conflict[bar]) << "day " << day << " bar " << k;
            ASSERT_EQ(merged(drawn[bar]), merged(overlaps[bar])) << "day " << day << " bar " << k;
        }
    }
}

TEST(OccupancyChart, TheMappingAndItsHitTest) {
    const ChartContent content = chartContent(
        stationWith({{"1", "A", "8:00", "B", "8:00"}, {"2", "A", "9:10", "B", "9:40", "2"}}), {});
    const ChartMapping m = mappingFor(content, 2.0);
    EXPECT_EQ(m.firstMinute, 480);
    EXPECT_EQ(m.lastMinute, 600);
    EXPECT_DOUBLE_EQ(m.x(540), m.labelWidth + 120);
    EXPECT_DOUBLE_EQ(m.minuteAt(m.x(555)), 555);
    EXPECT_EQ(m.rowAt(m.rowTop(1) + 1), 1);
    EXPECT_EQ(m.rowAt(m.axisHeight - 1), -1);
    const double row1 = m.rowTop(1) + m.rowHeight / 2;
    EXPECT_EQ(barAt(content, m, m.x(560), row1), 1);
    EXPECT_EQ(barAt(content, m, m.x(590), row1), std::nullopt) << "after the bar";
    EXPECT_EQ(barAt(content, m, m.x(560), m.rowTop(0) + 5), std::nullopt) << "another row";
    EXPECT_EQ(barAt(content, m, m.x(480.5), m.rowTop(0) + 5), 0) << "a bar of no length";
}

// Rows as high as their lanes: every row found again at its top, the mapping's scroll undone,
// and the lanes laid with room beside each bar never put two bars within that room.
TEST(OccupancyChart, RowsByLanesAndScrolling) {
    ChartContent content = chartContent(stationWith({{"1", "A", "8:00", "B", "8:20"},
                                                     {"2", "A", "8:05", "B", "8:10"},
                                                     {"3", "A", "8:12", "B", "8:14"},
                                                     {"4", "A", "9:10", "B", "9:40", "2"}}),
                                        {});
    EXPECT_EQ(content.lanes, (std::vector<int>{2, 1}));
    layLanes(content, 5);
    EXPECT_EQ(content.lanes, (std::vector<int>{3, 1})) << "8:10 and 8:12 are too close";
    ChartMapping m = mappingFor(content, 3.0);
    fitRowsToLanes(m, content, 10, 15);
    m.scrollX = 40;
    m.scrollY = 7;
    EXPECT_EQ(m.rowAt(m.rowTop(0) + 0.5), -1) << "scrolled under the hours";
    EXPECT_EQ(m.rowAt(m.rowTop(1) + 0.5), 1);
    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(m.rowAt(m.rowTop(row) + m.heightOf(row) - 0.5), row);
    EXPECT_DOUBLE_EQ(m.heightOf(0), 30);
    EXPECT_DOUBLE_EQ(m.heightOf(1), 15);
    EXPECT_DOUBLE_EQ(m.minuteAt(m.x(500)), 500);
    for (std::size_t k = 0; k < content.bars.size(); ++k) {
        const BarBox box = barBox(content, m, content.bars[k]);
        EXPECT_EQ(barAt(content, m, box.left + 1, box.top + box.height / 2), static_cast<int>(k));
    }
}

TEST(OccupancyChart, TheAxisStepAndTheBusiestHours) {
    for (const auto& [pixels, room, step] :
         {std::tuple{4.0, 50.0, 15}, std::tuple{1.0, 50.0, 60}, std::tuple{0.3, 50.0, 180},
          std::tuple{0.01, 50.0, 720}}) {
        EXPECT_EQ(axisStep(pixels, room), step) << pixels;
    }
    const ChartContent content = chartContent(stationWith({{"1", "A", "6:00", "B", "6:05"},
                                                           {"2", "A", "12:10", "B", "12:15"},
                                                           {"3", "A", "13:00", "B", "13:05", "2"},
                                                           {"4", "A", "14:20", "B", "14:25"},
                                                           {"5", "A", "20:00", "B", "20:05"}}),
                                              {});
    EXPECT_EQ(busiestWindow(content, 180), 11 * 60 + 30) << "the first window of the three";
    EXPECT_EQ(busiestWindow(content, 60), 6 * 60) << "the first of the windows of one";
}

// Pages of whole windows, one after the other, from the axis's start to its end: no window twice.
TEST(OccupancyChart, PagesCoverTheAxis) {
    for (const auto& [first, last, hours, count] :
         {std::tuple{0, 1440, 4, 6}, std::tuple{480, 600, 4, 1}, std::tuple{360, 1380, 2, 9}}) {
        ChartContent content;
        content.firstMinute = first;
        content.lastMinute = last;
        const std::vector<ChartPage> pages = chartPages(content, hours);
        ASSERT_EQ(static_cast<int>(pages.size()), count);
        EXPECT_EQ(pages.front().firstMinute, first);
        EXPECT_EQ(pages.back().lastMinute, last);
        for (std::size_t k = 0; k < pages.size(); ++k) {
            EXPECT_EQ(pages[k].lastMinute - pages[k].firstMinute,
                      k + 1 < pages.size() ? hours * 60 : (last - first - 1) % (hours * 60) + 1);
            EXPECT_TRUE(k == 0 || pages[k].firstMinute == pages[k - 1].lastMinute);
        }
    }
}

// The column of the track names is as wide with the row of trains without a track as without
// it, so that the chart never moves sideways when that row comes or goes.
TEST(ChartSheet, TheNamesColumnKeepsItsWidth) {
    const MeasureText characters = [](std::string_view text, double, bool) {
        return static_cast<double>(text.size());
    };
    Scenario s = test::stationWith({{"1", "A", "7:40", "B", "7:45"}});
    const double alone = rowLabelWidth(characters, 7, s, chartContent(s, {}));
    s = test::stationWith({{"1", "A", "7:40", "B", "7:45"}, {"2", "A", "8:40", "B", "8:45", ""}});
    ASSERT_EQ(chartContent(s, {}).rows.size(), 3u); // the tracks 1 and 2, and one apart
    EXPECT_EQ(rowLabelWidth(characters, 7, s, chartContent(s, {})), alone);
}

// Too many rows for a page's type to stay readable: the rows in groups, each whole, in order,
// in the usual type, and each page saying which it holds.
TEST(ChartSheet, RowsThatDoNotFitGoOnInGroups) {
    const MeasureText characters = [](std::string_view text, double size, bool) {
        return static_cast<double>(text.size()) * size * 0.6;
    };
    Scenario every;
    every.binari_scelti.fill(true);
    rebuildTrackTable(every);
    std::vector<test::Train> trains;
    for (const std::string& track : stationTrackNames(every)) {
        for (int k = 0; k < 8; ++k) // eight trains at once on every track
            trains.push_back({std::to_string(trains.size()), "A", "8:00", "B", "8:30", track});
    }
    Scenario s = test::stationWith(trains);
    s.binari_scelti.fill(true);
    rebuildTrackTable(s);
    const ChartContent content = chartContent(s, {});
    ASSERT_LT(chartSheet(characters, s, content, 240, 786, 539).numberPoints, kChartSmallestPoints);
    const std::vector<ChartSheet> sheets = chartSheets(characters, s, content, 240, 786, 539);
    ASSERT_GT(sheets.size(), 1u);
    int next = 0;
    for (const ChartSheet& sheet : sheets) {
        EXPECT_EQ(sheet.firstRow, next);
        next += static_cast<int>(sheet.laid.rows.size());
        EXPECT_GE(sheet.numberPoints, kChartNumberPoints);
        EXPECT_EQ(rowLabel(s, sheet.laid, 0), "Binario " + content.rows[sheet.firstRow]);
    }
    EXPECT_EQ(next, static_cast<int>(content.rows.size()));
    EXPECT_EQ(sheetRowsNote(sheets.back()).find(", le altre"), std::string::npos);
    EXPECT_TRUE(sheetRowsNote(sheets.front()).starts_with("Righe 1–"));

    // A day of few trains fills the sheet in larger type, larger still on A3.
    const Scenario few = test::stationWith({{"1", "A", "8:00", "B", "8:30"}});
    const double a4 =
        chartSheet(characters, few, chartContent(few, {}), 240, 786, 539).numberPoints;
    const double a3 =
        chartSheet(characters, few, chartContent(few, {}), 240, 1135, 786).numberPoints;
    EXPECT_GT(a4, kChartNumberPoints);
    EXPECT_GT(a3, a4);
}

// Whatever the rows and their lanes, a sheet's chart ends above the legend at the page's foot.
TEST(ChartSheet, TheChartNeverReachesTheLegend) {
    const MeasureText characters = [](std::string_view text, double size, bool) {
        return static_cast<double>(text.size()) * size * 0.6;
    };
    std::mt19937 random(3);
    for (int round = 0; round < 60; ++round) {
        std::vector<test::Train> trains;
        const int tracks = 1 + static_cast<int>(random() % 2);
        const int busy = 1 + static_cast<int>(random() % 14); // trains at once on track 1
        for (int k = 0; k < busy; ++k)
            trains.push_back({std::to_string(k), "A", "8:00", "B", "8:30", "1"});
        for (int k = 0; k < 3 * (tracks - 1); ++k)
            trains.push_back({std::to_string(100 + k), "A", std::to_string(9 + k) + ":00", "B",
                              std::to_string(9 + k) + ":10", "2"});
        const Scenario s = test::stationWith(trains);
        const double height = 300 + random() % 600;
        for (const ChartSheet& sheet :
             chartSheets(characters, s, chartContent(s, {}), 240, 786, height)) {
            const int rows = static_cast<int>(sheet.laid.rows.size());
            EXPECT_LE(kChartTop + sheet.mapping.height(rows), height - kChartLegendHeight + 0.01)
                << busy << " at once, " << tracks << " tracks, " << height;
        }
    }
}

// A unit's two numbers written beside its short bar keep the next train of the track off them:
// it goes to a lane of its own, while a bar its number fits on needs no room beside it.
TEST(ChartSheet, AUnitsNumbersBesideItKeepTheirRoom) {
    const MeasureText characters = [](std::string_view text, double size, bool) {
        return static_cast<double>(text.size()) * size * 0.6;
    };
    const struct {
        const char* nextDeparts;
        int nextLane;
    } cases[] = {{"8:20", 1}, {"8:36", 1}, {"9:10", 0}};
    for (const auto& c : cases) {
        const Scenario s = test::stationWith({{"2231", "A", "8:00", "", "", "1"},
                                              {"2232", "", "", "A", "8:06", "1"},
                                              {"97", "", "", "B", c.nextDeparts, "1"}});
        const ChartSheet sheet =
            chartSheet(characters, s, chartContent(s, {}, {{0, 1}}), 240, 786, 539);
        ASSERT_EQ(sheet.laid.bars.size(), 2u);
        EXPECT_EQ(sheet.laid.bars[1].lane, c.nextLane) << c.nextDeparts;
    }
}

} // namespace
} // namespace zeb
