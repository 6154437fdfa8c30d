#pragma once

#include "timetable/occupancy.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zeb {

// What the track-occupancy chart shows: one row per station track in the track list's order,
// then a row for the trains of the categories without a track and one for trains on tracks the
// station lacks, where there are any; a bar per occupancy, red where it conflicts.
struct ChartBar {
    Occupancy occupancy;
    int row;
    int lane = 0; // bars of a row that overlap in time lie in lanes one above the other
    bool conflict = false;
    std::vector<std::pair<int, int>> overlaps{}; // minutes held together with another train
};

struct ChartContent {
    std::vector<std::string> rows;
    std::vector<int> lanes; // per row, at least 1
    std::vector<ChartBar> bars;
    int firstMinute = 0; // the axis, on whole hours, covering every bar and the start
    int lastMinute = 24 * 60;
    std::optional<int> startMinute; // the simulation start, where it is a valid time
};

inline constexpr const char* kRowWithoutTrack = "Senza binario";
inline constexpr const char* kRowUnknownTrack = "Binario inesistente";

ChartContent chartContent(const Scenario& s, const CheckSettings& settings);

// Minutes and rows to pixels and back, at a zoom of `pixelsPerMinute`; the one mapping that
// drawing and hit-testing share.
struct ChartMapping {
    int firstMinute = 0;
    int lastMinute = 24 * 60;
    double pixelsPerMinute = 2.0;
    double labelWidth = 120;
    double axisHeight = 28;
    double rowHeight = 30;

    double x(double minute) const { return labelWidth + (minute - firstMinute) * pixelsPerMinute; }
    double minuteAt(double px) const { return firstMinute + (px - labelWidth) / pixelsPerMinute; }
    double rowTop(int row) const { return axisHeight + row * rowHeight; }
    // The row under `py`, or -1 above the rows.
    int rowAt(double py) const;
    double width() const { return x(lastMinute) + 40; }
    double height(int rows) const { return rowTop(rows) + 8; }
};

ChartMapping mappingFor(const ChartContent& content, double pixelsPerMinute);

// The box of a bar, as left, top, width and height in pixels.
struct BarBox {
    double left, top, width, height;
};
BarBox barBox(const ChartContent& content, const ChartMapping& mapping, const ChartBar& bar);

// The chart on paper: the chart's hours cut into windows of `hours` each, a page per window,
// every row on every page.
struct ChartPage {
    int firstMinute;
    int lastMinute;
};
std::vector<ChartPage> chartPages(const ChartContent& content, int hours);

// The bar under a point, as an index into content.bars, or nullopt; the last drawn wins.
std::optional<int> barAt(const ChartContent& content, const ChartMapping& mapping, double px,
                         double py);

} // namespace zeb
