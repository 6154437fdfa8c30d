#pragma once

#include "timetable/occupancy_chart.h"
#include "timetable/posters.h"

#include <QPageLayout>
#include <QString>

#include <vector>

class QPagedPaintDevice;

namespace zeb {

// The pictures of the timetable written to files, the same from the windows and from
// zebrano-tool; each is false when the file cannot be written.

// The chart's paper: A3 where asked, else A4, landscape, with its margins.
QPageLayout chartPageLayout(bool a3);
// The chart on landscape pages (A3 where asked, else A4), a window of `hours` a page, in points.
bool writeChartPdf(const QString& path, const Scenario& s, const ChartContent& content, int hours,
                   bool a3);
// The same pages on a printer or another paged device whose page layout is set.
bool paintChartPages(QPagedPaintDevice& device, const Scenario& s, const ChartContent& content,
                     int hours);
// The chart over `hours` as a picture with its title and legend, at about the screen's
// `pixelsPerMinute`.
bool writeChartPng(const QString& path, const Scenario& s, const ChartContent& content,
                   const ChartPage& hours, double pixelsPerMinute);
// The posters, one after the other.
bool writePostersPdf(const QString& path, const Scenario& s, const std::vector<Poster>& posters);

} // namespace zeb
