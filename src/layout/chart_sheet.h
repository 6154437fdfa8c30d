#pragma once

#include "layout/measure_text.h"
#include "layout/occupancy_chart.h"
#include "model/scenario.h"

#include <string>
#include <vector>

namespace zeb {

// A page of the chart, in points: the title and the hours above the rows, the legend below.
inline constexpr double kChartTop = 40;
inline constexpr double kChartLegendHeight = 14;
// The type of the chart on paper, its track names, hours and train numbers: the usual, the
// largest where the page has room, and the height of a lane a point of type asks.
inline constexpr double kChartNumberPoints = 6.5;
inline constexpr double kChartLargestPoints = 11;
inline constexpr double kLanePerPoint = 12 / 6.5;
inline constexpr double kChartA4Height = 539; // landscape, within the margins

// A row's name as the chart writes it ("Binario 3", "Senza binario").
std::string rowLabel(const Scenario& s, const ChartContent& content, int row);
// The widest of them in a type of `size` points, "Senza binario" and "Binario inesistente"
// always among them.
double rowLabelWidth(const MeasureText& measure, double size, const Scenario& s,
                     const ChartContent& content);

// The chart laid out once for pages of `minutes` each, in points in an area of `width` by
// `height`: the lanes again with room for each number beside its bar, the rows as high as their
// lanes, the type, as large as the page has room for. Only the hours differ from page to page.
struct ChartSheet {
    ChartContent laid;
    ChartMapping mapping;
    double numberPoints = kChartNumberPoints;
    int firstRow = 0; // of the chart's rows, where the sheet holds only some
    int allRows = 0;
};
ChartSheet chartSheet(const MeasureText& measure, const Scenario& s, const ChartContent& content,
                      int minutes, double width, double height);

// The sheets of the chart's pages: one, or where its rows would need type smaller than
// kChartSmallestPoints, its rows in groups one after the other, each as many as the usual type
// has room for; every window of hours gets a page per group.
inline constexpr double kChartSmallestPoints = 5;
std::vector<ChartSheet> chartSheets(const MeasureText& measure, const Scenario& s,
                                    const ChartContent& content, int minutes, double width,
                                    double height);

// "Righe 1–12 di 23, le altre nella pagina seguente", or "" for a sheet of every row.
std::string sheetRowsNote(const ChartSheet& sheet);

} // namespace zeb
