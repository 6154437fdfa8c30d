#include "timetable/chart_sheet.h"

#include <algorithm>
#include <cmath>

namespace zeb {

std::string rowLabel(const Scenario& s, const ChartContent& content, int row) {
    const std::string& name = content.rows[static_cast<std::size_t>(row)];
    return row < s.numero_binari ? "Binario " + name : name;
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

// The sheet in a type of `points`: the names column, the minutes, the lanes again with room for
// each number beside its bar, and the lanes as high as the type asks where the page has room.
ChartSheet laidOut(const MeasureText& measure, const Scenario& s, const ChartContent& content,
                   int minutes, double width, double height, double points) {
    ChartSheet sheet{content, {}, points};
    ChartMapping& m = sheet.mapping;
    m.labelWidth = std::max(70.0, rowLabelWidth(measure, points, s, content) + 12);
    m.axisHeight = 22 + 2 * (points - kChartNumberPoints);
    m.pixelsPerMinute = (width - m.labelWidth - 44) / std::max(1, minutes);
    double widest = 0;
    for (const ChartBar& bar : content.bars)
        widest =
            std::max(widest, measure(s.treni[static_cast<std::size_t>(bar.occupancy.train)].numero,
                                     points, false));
    layLanes(sheet.laid, static_cast<int>(std::ceil((widest + 3) / m.pixelsPerMinute)));
    double lanes = 0;
    for (int count : sheet.laid.lanes)
        lanes += std::max(1.5, static_cast<double>(count));
    const double room = height - kChartLegendHeight - 8 - kChartTop - m.axisHeight;
    const double laneHeight = std::min(points * kLanePerPoint, room / std::max(1.5, lanes));
    // Few rows grow taller, up to three lanes, to fill the page.
    const double rows = std::max<std::size_t>(1, sheet.laid.rows.size());
    fitRowsToLanes(m, sheet.laid, laneHeight,
                   std::clamp(room / rows - 1, 1.5 * laneHeight, 3 * laneHeight));
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

} // namespace zeb
