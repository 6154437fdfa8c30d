#pragma once

#include "timetable/occupancy.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zeb {

// What the track-occupancy chart shows: one row per station track in the track list's order,
// then a row for the trains of the categories without a track and one for trains on tracks the
// station lacks, where there are any; a bar per occupancy, red where it conflicts.
// The chart shows one day round the clock: a hold across midnight is drawn as two bars, its
// evening up to 24:00 and its morning from 00:00, each with the whole occupancy.
struct ChartBar {
    Occupancy occupancy;
    int row;
    int lane = 0; // bars of a row that overlap in time lie in lanes one above the other
    bool conflict = false;
    std::vector<std::pair<int, int>> overlaps{}; // minutes held together with another train
    int from = 0, to = 0;                        // the minutes drawn, within the day
    int reach = 0;   // the minutes its lane keeps free past its end, for its number beside it
    int tail = 0;    // the minutes its end may move by when its train runs as late as it may
    double risk = 0; // the share of the runs with delays in which it clashes
};

struct ChartContent {
    std::vector<std::string> rows;
    std::vector<int> lanes; // per row, at least 1
    std::vector<ChartBar> bars;
    int firstMinute =
        0; // the axis, on whole hours within the day, covering every bar and the start
    int lastMinute = 24 * 60;
    std::optional<int> startMinute; // the simulation start, where it is a valid time
};

inline constexpr const char* kRowWithoutTrack = "Senza binario";
inline constexpr const char* kRowUnknownTrack = "Binario inesistente";

ChartContent chartContent(const Scenario& s, const CheckSettings& settings,
                          const TrainLinks& links = {});

// Each bar's tail, on the piece where its hold ends: the most its last train may run late (a
// unit's second train waiting for its first too); and its share of `risk`, where given.
struct DelayRisk;
void addDelayTails(ChartContent& content, const Scenario& s, const CheckSettings& settings,
                   const DelayRisk* risk);

// Minutes and rows to pixels and back, at a zoom of `pixelsPerMinute`; the one mapping that
// drawing and hit-testing share. The track names stay in a column on the left and the hours in a
// band on top while the bars scroll by `scrollX` and `scrollY` under them.
struct ChartMapping {
    int firstMinute = 0;
    int lastMinute = 24 * 60;
    double pixelsPerMinute = 2.0;
    double labelWidth = 120;
    double axisHeight = 28;
    double rowHeight = 30;
    double scrollX = 0;
    double scrollY = 0;
    // Where rows differ in height (by their lanes): each row's top below the axis,
    // then the bottom of the last; empty where every row is `rowHeight` high.
    std::vector<double> rowOffsets{};

    double x(double minute) const {
        return labelWidth + (minute - firstMinute) * pixelsPerMinute - scrollX;
    }
    double minuteAt(double px) const {
        return firstMinute + (px - labelWidth + scrollX) / pixelsPerMinute;
    }
    double rowTop(int row) const { return axisHeight + rowOffset(row) - scrollY; }
    double heightOf(int row) const { return rowOffset(row + 1) - rowOffset(row); }
    // The row under `py`, or -1 above the rows.
    int rowAt(double py) const;
    // The whole chart, unscrolled, with room after the last hour for its label.
    double width() const { return labelWidth + (lastMinute - firstMinute) * pixelsPerMinute + 40; }
    double height(int rows) const { return axisHeight + rowOffset(rows) + 8; }

private:
    double rowOffset(int row) const;
};

// Rows as high as their lanes ask, `laneHeight` a lane, and never lower than `least`.
void fitRowsToLanes(ChartMapping& mapping, const ChartContent& content, double laneHeight,
                    double least);

// The lanes again, each bar taken to reach `reach` minutes past its end: room for its number
// written beside it on paper.
void layLanes(ChartContent& content, int reach);
// The same, bar by bar: `reach` holds the minutes past each bar's end.
void layLanes(ChartContent& content, const std::vector<int>& reach);

// The minutes past each bar's end its number needs where it does not fit on the bar itself, at
// `pixelsPerMinute`, numbers `width` pixels wide; none past `most`.
std::vector<int> numberReach(const Scenario& s, const ChartContent& content,
                             const std::function<double(const std::string&)>& width,
                             double pixelsPerMinute, int most);

// The minutes between two labelled lines of the axis: the shortest of a quarter, half an hour,
// an hour, 2, 3, 4 or 6 hours that leaves `labelRoom` pixels for each label.
int axisStep(double pixelsPerMinute, double labelRoom);

// The first minute of the `minutes` long window, on a quarter hour within the chart's axis,
// that the most bars reach into: where the chart opens.
int busiestWindow(const ChartContent& content, int minutes);

ChartMapping mappingFor(const ChartContent& content, double pixelsPerMinute);

// The box of a bar, as left, top, width and height in pixels.
struct BarBox {
    double left, top, width, height;
};
BarBox barBox(const ChartContent& content, const ChartMapping& mapping, const ChartBar& bar);

// The chart on paper: the chart's hours cut into windows of `hours` each, a page per window,
// every row on every page; the last window ends with the chart's last hour.
struct ChartPage {
    int firstMinute;
    int lastMinute;
};
std::vector<ChartPage> chartPages(const ChartContent& content, int hours);

// The bar under a point, as an index into content.bars, or nullopt; the last drawn wins.
std::optional<int> barAt(const ChartContent& content, const ChartMapping& mapping, double px,
                         double py);

} // namespace zeb
