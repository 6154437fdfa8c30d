#pragma once

#include "model/scenario.h"
#include "timetable/occupancy_chart.h"

class QPainter;

namespace zeb {

// Draws the track-occupancy chart with its top-left corner at the painter's origin: the hours,
// the simulation start, one labelled row per track, a bar per occupancy shaded by kind and red
// where it conflicts, the overlaps hatched. The one drawing of the chart on the screen, into a
// PNG, a PDF and on paper.
void paintOccupancyChart(QPainter& painter, const Scenario& s, const ChartContent& content,
                         const ChartMapping& mapping);

} // namespace zeb
