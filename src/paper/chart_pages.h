#pragma once

#include "layout/occupancy_chart.h"

#include <QPageLayout>

class QPagedPaintDevice;

namespace zeb {

// The chart's paper: A3 where asked, else A4, landscape, with its margins.
QPageLayout chartPageLayout(bool a3);

// The chart's pages, a window of `hours` each, on a PDF writer, a printer or another paged device
// whose page layout is set. Returns the pages painted: none when the device cannot be painted.
int paintChartPages(QPagedPaintDevice& device, const Scenario& s, const ChartContent& content,
                    int hours);

} // namespace zeb
