#pragma once

#include "boards/boards.h"
#include "layout/notice_layout.h"
#include "layout/occupancy_chart.h"
#include "paper/poster_painter.h"
#include "timetable/posters.h"

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

// "Avviso ai viaggiatori": the notice to the station's passengers of what changed on a day, its
// `sections` on A4 portrait pages under the station's name and the line of the `day` (none where
// empty), laid out with the widths of the fonts it is drawn with.
PaperFile writeNoticePdf(const std::string& path, const std::string& station,
                         const std::string& day, const std::vector<NoticeSection>& sections);

// The boards of `day` at `minute` as an A4 landscape page (PDF), or as a picture of it (PNG, two
// pixels a point).
PaperFile writeBoardsPdf(const std::string& path, const Scenario& s, const PlayedDay& day,
                         int minute, const BoardSettings& settings);
PaperFile writeBoardsPng(const std::string& path, const Scenario& s, const PlayedDay& day,
                         int minute, const BoardSettings& settings);

} // namespace zeb
