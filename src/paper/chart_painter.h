#pragma once

#include "layout/chart_sheet.h"
#include "layout/occupancy_chart.h"
#include "model/scenario.h"

#include <QRectF>
#include <QSizeF>

#include <optional>

class QPainter;

namespace zeb {

// Draws the track-occupancy chart with its top-left corner at the painter's origin: the hours,
// the simulation start, one labelled row per track, a bar per occupancy shaded by kind and red
// where it conflicts, the overlaps hatched. The one drawing of the chart on the screen, into a
// PNG, a PDF and on paper.
// It fills `size` (the whole chart where none is given), the bars scrolled under the track names
// and the hours. On paper the bars end at the mapping's last minute, and a number that does not
// fit on its bar is written beside it, so that every number is there to read and to find.
// With `delays`, each bar's tail and its risk as addDelayTails gave them.
struct ChartPaint {
    std::optional<QSizeF> size;
    bool paper = false;
    bool delays = false;
};
void paintOccupancyChart(QPainter& painter, const Scenario& s, const ChartContent& content,
                         const ChartMapping& mapping, const ChartPaint& options = {});

// One page of the chart on paper, drawn in points in `area`: the station's name and "Occupazione
// binari", the time window and "Pagina k di n", every track's row over the window with the
// numbers of the trains, and the legend. Text is sized in points whatever the device. A picture
// of the chart alone is one page of none: it says no page number.
void paintChartPage(QPainter& painter, const Scenario& s, const ChartSheet& sheet,
                    const ChartPage& page, int number, int pages, const QRectF& area);

} // namespace zeb
