#pragma once

#include "layout/measure_text.h"
#include "timetable/posters.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// A poster laid out on A4 landscape pages, in points, ready to be drawn line by line (a larger
// sheet takes the same pages scaled up, type and all): nothing
// is wrapped or cut by the painter. The trains run in columns, top to bottom and then across;
// each has its time, train and place and its track on a first line in a larger type, its stops
// and notes wrapped under it in a smaller one. The time, the train's number and the track are
// never cut: a word too long for its line is broken, not dropped.

inline constexpr double kPosterWidth = 842;
inline constexpr double kPosterHeight = 595;

struct PosterText {
    double x;
    double top;
    double width; // the room it is given; a right-aligned text ends at x + width
    double size;
    bool bold;
    bool right;
    std::string text;
};

struct PosterRule {
    double x1, y1, x2, y2;
};

struct PosterPage {
    std::vector<PosterText> texts;
    std::vector<PosterRule> rules;
    std::vector<int> rows; // the poster's rows on this page, in order
};

struct PosterLayout {
    int columns = 2;
    std::vector<PosterPage> pages;
};

// The height of a line of type of `size` points.
double posterLineHeight(double size);

// The columns (two, three or four) that take the fewest pages, the fewest of them on a tie; a
// poster that would fit a page fewer with the trains' type up to 15 % smaller is set in it.
PosterLayout posterLayout(const Poster& poster, const MeasureText& measure);

// The same in `columns` columns, the trains' type `tight` times the usual.
PosterLayout posterLayoutIn(const Poster& poster, const MeasureText& measure, int columns,
                            double tight = 1.0);

// `text` in lines no wider than `width`, broken between words, and inside a word only where
// the word alone is wider.
std::vector<std::string> wrappedLines(std::string_view text, double width, double size, bool bold,
                                      const MeasureText& measure);

} // namespace zeb
