#pragma once

#include "layout/measure_text.h"

#include <QFont>
#include <QFontMetricsF>

#include <map>
#include <utility>

class QPainter;

namespace zeb {

// A font of `points` points on a painter whose coordinates are points (pages laid out in
// points), whatever the device's resolution.
QFont pointFont(const QPainter& painter, double points, bool bold = false);

// The types of a page in points on the painter's device, each made and measured once: the fonts
// to draw with and the measure that the toolkit-free layouts are given.
class PaperFonts {
public:
    explicit PaperFonts(const QPainter& painter) : painter_(painter) {}

    const QFont& font(double size, bool bold) { return entry(size, bold).first; }
    double width(std::string_view text, double size, bool bold);
    MeasureText measure() {
        return [this](std::string_view text, double size, bool bold) {
            return width(text, size, bold);
        };
    }

private:
    std::pair<QFont, QFontMetricsF>& entry(double size, bool bold);

    const QPainter& painter_;
    std::map<std::pair<double, bool>, std::pair<QFont, QFontMetricsF>> fonts_;
};

} // namespace zeb
