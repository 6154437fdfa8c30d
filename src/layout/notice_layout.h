#pragma once

#include "layout/measure_text.h"
#include "variants/day_comparison.h"

#include <string>
#include <vector>

namespace zeb {

// A train in a notice to the station's passengers: its time, number, category, where it goes or
// comes from, and what changed ("binario 5 invece del 3").
struct NoticeRow {
    std::string time;
    std::string number;
    std::string category;
    std::string place;
    std::string change;
};

// "Treni soppressi", "Treni limitati", "Treni con origine", "Cambi di binario", "Ritardi": the
// trains of each, in time order; a section without trains is left out. A train removed from the
// day, or whose indication became "Soppresso", is cancelled and in no other section.
struct NoticeSection {
    std::string title;
    std::vector<NoticeRow> rows;
};
std::vector<NoticeSection> noticeSections(const Scenario& base, const Scenario& variant,
                                          const std::vector<TrainDifference>& differences);

// A text at its place on an A4 portrait page, in points from the top left (y is the baseline).
struct PlacedText {
    std::string text;
    double x;
    double y;
    double size;
    bool bold;
};
using NoticePage = std::vector<PlacedText>;

inline constexpr double kNoticeWidth = 595.0;
inline constexpr double kNoticeHeight = 842.0;

// The notice laid out on A4 portrait pages: the title with the station and `day` (none where
// empty), each section's heading (again, "(segue)", atop a page it goes on to), a line a train;
// what a column cannot hold wraps onto the next line, so that nothing is cut. "Pagina k di n" at
// the foot of each page.
std::vector<NoticePage> noticePages(const MeasureText& measure, const std::string& station,
                                    const std::string& day,
                                    const std::vector<NoticeSection>& sections);

} // namespace zeb
