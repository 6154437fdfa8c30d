#include "views/poster_painter.h"

#include "timetable/poster_layout.h"
#include "views/window_style.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include <map>
#include <string>
#include <unordered_map>
#include <utility>

namespace zeb {

namespace {

const QColor kDeparturesGround(255, 214, 0);
const QColor kInk(0, 0, 90);

// The poster's types in points on the painter's device, measured once each.
class PosterFonts {
public:
    explicit PosterFonts(const QPainter& painter) : painter_(painter) {}

    const QFont& font(double size, bool bold) { return entry(size, bold).first; }

    double width(std::string_view text, double size, bool bold) {
        return entry(size, bold)
            .second.horizontalAdvance(
                QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

private:
    std::pair<QFont, QFontMetricsF>& entry(double size, bool bold) {
        const auto key = std::pair(size, bold);
        auto found = fonts_.find(key);
        if (found == fonts_.end()) {
            QFont font = pointFont(painter_, size, bold);
            found =
                fonts_.emplace(key, std::pair(font, QFontMetricsF(font, painter_.device()))).first;
        }
        return found->second;
    }

    const QPainter& painter_;
    std::map<std::pair<double, bool>, std::pair<QFont, QFontMetricsF>> fonts_;
};

} // namespace

bool paintPosters(QPagedPaintDevice& device, const std::vector<Poster>& posters) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&device))
        return false;
    // Points as the painter's units, whatever the device's resolution.
    p.setWindow(QRect(0, 0, static_cast<int>(kPosterWidth), static_cast<int>(kPosterHeight)));
    p.setViewport(0, 0, device.width(), device.height());
    PosterFonts fonts(p);
    const MeasureText measure = [&fonts](std::string_view text, double size, bool bold) {
        return fonts.width(text, size, bold);
    };
    bool first = true;
    for (const Poster& poster : posters) {
        for (const PosterPage& page : posterLayout(poster, measure).pages) {
            if (!first)
                device.newPage();
            first = false;
            p.fillRect(QRectF(0, 0, kPosterWidth, kPosterHeight),
                       poster.departures ? kDeparturesGround : QColor(Qt::white));
            p.setPen(QPen(kInk, 0.8));
            for (const PosterRule& rule : page.rules)
                p.drawLine(QPointF(rule.x1, rule.y1), QPointF(rule.x2, rule.y2));
            for (const PosterText& text : page.texts) {
                p.setFont(fonts.font(text.size, text.bold));
                // The room is a little taller than the line, so that no descender is clipped.
                p.drawText(QRectF(text.x, text.top, text.width, posterLineHeight(text.size) + 4),
                           (text.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop |
                               Qt::TextDontClip,
                           QString::fromStdString(text.text));
            }
        }
    }
    return p.end();
}

} // namespace zeb
