#include "layout/chart_sheet.h"

#include "timetable/train_times.h"

#include <algorithm>
#include <cmath>

namespace zeb {

std::string rowLabel(const Scenario&, const ChartContent& content, int row) {
    const std::string& name = content.rows[static_cast<std::size_t>(row)];
    return name == kRowWithoutTrack || name == kRowUnknownTrack ? name : "Binario " + name;
}

double rowLabelWidth(const MeasureText& measure, double size, const Scenario& s,
                     const ChartContent& content) {
    // The rows of trains without a track of the station count whether they are there or not, so
    // that the chart never moves sideways when one comes or goes.
    double longest =
        std::max(measure(kRowWithoutTrack, size, false), measure(kRowUnknownTrack, size, false));
    for (int row = 0; row < static_cast<int>(content.rows.size()); ++row)
        longest = std::max(longest, measure(rowLabel(s, content, row), size, false));
    return longest;
}

namespace {

// The height every row has at least, up to `most`, so that the rows, each as high as its lanes
// ask, still fit in `room`: a row of many lanes leaves the others less. A row of a lane and a
// half always fits, by the lanes' height.
double leastRowHeight(const std::vector<int>& lanes, double laneHeight, double room, double most) {
    const auto total = [&](double least) {
        double sum = 0;
        for (int count : lanes)
            sum += std::max(least, count * laneHeight);
        return sum;
    };
    double low = std::min(most, 1.5 * laneHeight), high = most;
    if (total(high) <= room)
        return high;
    for (int halving = 0; halving < 40; ++halving) {
        const double middle = (low + high) / 2;
        (total(middle) <= room ? low : high) = middle;
    }
    return low;
}

// The sheet in a type of `points`: the names column, the minutes, the lanes again with room for
// each number beside its bar, and the lanes as high as the type asks where the page has room.
ChartSheet laidOut(const MeasureText& measure, const Scenario& s, const ChartContent& content,
                   int minutes, double width, double height, double points) {
    ChartSheet sheet{content, {}, points};
    ChartMapping& m = sheet.mapping;
    m.labelWidth = std::max(70.0, rowLabelWidth(measure, points, s, content) + 12);
    m.axisHeight = 22 + 2 * (points - kChartNumberPoints);
    // Numbers as written, a unit's both; the last minute leaves room for the widest beside its
    // bar, so that none runs off the page.
    const auto numberWidth = [&](const std::string& number) {
        return measure(number, points, false);
    };
    double widest = 0;
    for (const ChartBar& bar : content.bars)
        widest = std::max(widest, numberWidth(occupancyLabel(s, bar.occupancy)));
    m.pixelsPerMinute = (width - m.labelWidth - std::max(44.0, widest + 8)) / std::max(1, minutes);
    layLanes(sheet.laid, numberReach(s, content, numberWidth, m.pixelsPerMinute, kMinutesPerDay));
    double lanes = 0;
    for (int count : sheet.laid.lanes)
        lanes += std::max(1.5, static_cast<double>(count));
    const double room = height - kChartLegendHeight - 8 - kChartTop - m.axisHeight;
    const double laneHeight = std::min(points * kLanePerPoint, room / std::max(1.5, lanes));
    // Few rows grow taller, up to three lanes, to fill the page.
    const double rows = std::max<std::size_t>(1, sheet.laid.rows.size());
    fitRowsToLanes(m, sheet.laid, laneHeight,
                   leastRowHeight(sheet.laid.lanes, laneHeight, room,
                                  std::clamp(room / rows - 1, 1.5 * laneHeight, 3 * laneHeight)));
    sheet.numberPoints = std::max(3.0, std::min(points, laneHeight / kLanePerPoint));
    return sheet;
}

} // namespace

ChartSheet chartSheet(const MeasureText& measure, const Scenario& s, const ChartContent& content,
                      int minutes, double width, double height) {
    // The largest type up to kChartLargestPoints (more on a taller sheet) whose lanes the page
    // has room for, so that a day of few tracks fills the sheet and A3 writes larger; where even
    // the usual type has no room, the type shrinks with the lanes.
    const double largest = kChartLargestPoints * std::max(1.0, height / kChartA4Height);
    for (double points = largest; points > kChartNumberPoints; points -= 0.5) {
        ChartSheet sheet = laidOut(measure, s, content, minutes, width, height, points);
        if (sheet.numberPoints >= points)
            return sheet;
    }
    return laidOut(measure, s, content, minutes, width, height, kChartNumberPoints);
}

namespace {

// The chart's rows `first` to `last` alone, their bars with them.
ChartContent rowsOf(const ChartContent& content, int first, int last) {
    ChartContent part = content;
    part.rows.assign(content.rows.begin() + first, content.rows.begin() + last + 1);
    part.lanes.assign(content.lanes.begin() + first, content.lanes.begin() + last + 1);
    part.bars.clear();
    for (const ChartBar& bar : content.bars) {
        if (bar.row >= first && bar.row <= last) {
            part.bars.push_back(bar);
            part.bars.back().row -= first;
        }
    }
    return part;
}

} // namespace

std::vector<ChartSheet> chartSheets(const MeasureText& measure, const Scenario& s,
                                    const ChartContent& content, int minutes, double width,
                                    double height) {
    const int rows = static_cast<int>(content.rows.size());
    ChartSheet whole = chartSheet(measure, s, content, minutes, width, height);
    whole.allRows = rows;
    if (whole.numberPoints >= kChartSmallestPoints || rows < 2)
        return {whole};
    std::vector<ChartSheet> sheets;
    for (int first = 0; first < rows;) {
        auto sheetOf = [&](int last) {
            ChartSheet sheet =
                chartSheet(measure, s, rowsOf(content, first, last), minutes, width, height);
            sheet.firstRow = first;
            sheet.allRows = rows;
            return sheet;
        };
        int last = first;
        ChartSheet fitting = sheetOf(last);
        while (last + 1 < rows) {
            ChartSheet more = sheetOf(last + 1);
            if (more.numberPoints < kChartNumberPoints)
                break;
            fitting = std::move(more);
            ++last;
        }
        sheets.push_back(std::move(fitting));
        first = last + 1;
    }
    return sheets;
}

std::string sheetRowsNote(const ChartSheet& sheet) {
    const int shown = static_cast<int>(sheet.laid.rows.size());
    if (shown >= sheet.allRows)
        return {};
    const int last = sheet.firstRow + shown;
    return "Righe " + std::to_string(sheet.firstRow + 1) + "–" + std::to_string(last) + " di " +
           std::to_string(sheet.allRows) +
           (last < sheet.allRows ? ", le altre nella pagina seguente" : "");
}

} // namespace zeb
