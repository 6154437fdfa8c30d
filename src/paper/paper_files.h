#pragma once

#include "paper/poster_painter.h"
#include "timetable/occupancy_chart.h"
#include "timetable/posters.h"
#include "variants/notice_layout.h"

#include <functional>
#include <string>
#include <vector>

namespace zeb {

// The pictures of the timetable written to files, the same from the windows and from
// zebrano-tool. A file is written whole or not at all, through the same safe replacement as a
// scenario.

// What a write gave: the pages written, or why nothing was.
struct PaperFile {
    int pages = 0;
    std::string error; // "2 No such file or directory"; empty when written

    bool written() const { return error.empty(); }
};

// The chart on landscape pages (A3 where asked, else A4), a window of `hours` a page, in points.
PaperFile writeChartPdf(const std::string& path, const Scenario& s, const ChartContent& content,
                        int hours, bool a3);
// The chart over `hours` as a picture with its title and legend, at about the screen's
// `pixelsPerMinute`; one page.
PaperFile writeChartPng(const std::string& path, const Scenario& s, const ChartContent& content,
                        const ChartPage& hours, double pixelsPerMinute);
// The posters, one after the other, on sheets of `paper`.
PaperFile writePostersPdf(const std::string& path, const Scenario& s,
                          const std::vector<Poster>& posters, PosterPaper paper = PosterPaper::A4);

// A notice to the station's passengers: the differences of a day against its base, on A4 portrait
// pages, each toolkit-free `page` painted as laid out; `measure` gives the layout the widths of
// the fonts it will be drawn with.
PaperFile writeNoticePdf(const std::string& path, const std::string& title,
                         const std::function<std::vector<NoticePage>(const MeasureText&)>& pages);

} // namespace zeb
