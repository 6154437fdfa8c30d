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
    double longest = std::max(measure(kRowWithoutTrack, size, false),
                              measure(kRowUnknownTrack, size, false));
    for (int row = 0; row < static_cast<int>(content.rows.size()); ++row)
        longest = std::max(longest, measure(rowLabel(s, content, row), size, false));
    return longest;
}

ChartSheet chartSheet(const MeasureText& measure, const Scenario& s, const ChartContent& content,
                      int minutes, double width, double height) {
    ChartSheet sheet{content, {}, kChartNumberPoints};
    ChartMapping& m = sheet.mapping;
    // The row names whole: the longest sets the label column.
    m.labelWidth = std::max(70.0, rowLabelWidth(measure, kChartLabelPoints, s, content) + 12);
    m.axisHeight = 22;
    m.pixelsPerMinute = (width - m.labelWidth - 44) / std::max(1, minutes);

    // Lanes again, with room for each number beside its bar, and rows as high as their lanes.
    double widest = 0;
    for (const ChartBar& bar : content.bars)
        widest =
            std::max(widest, measure(s.treni[static_cast<std::size_t>(bar.occupancy.train)].numero,
                                     kChartNumberPoints, false));
    layLanes(sheet.laid, static_cast<int>(std::ceil((widest + 3) / m.pixelsPerMinute)));
    double lanes = 0;
    for (int count : sheet.laid.lanes)
        lanes += std::max(1.5, static_cast<double>(count));
    const double laneHeight = std::min(
        12.0, (height - kChartLegendHeight - 8 - kChartTop - m.axisHeight) / std::max(1.5, lanes));
    fitRowsToLanes(m, sheet.laid, laneHeight, 1.5 * laneHeight);
    if (laneHeight < 8.5)
        sheet.numberPoints = std::max(3.0, laneHeight * 0.65);
    return sheet;
}

} // namespace zeb
