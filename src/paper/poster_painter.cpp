#include "paper/poster_painter.h"

#include "layout/poster_layout.h"
#include "paper/paper_fonts.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace zeb {

namespace {

const QColor kDeparturesGround(255, 214, 0);
const QColor kInk(0, 0, 90);

} // namespace

int paintPosters(QPagedPaintDevice& device, const std::vector<Poster>& posters, PosterPaper paper) {
    device.setPageSize(QPageSize(paper == PosterPaper::A2   ? QPageSize::A2
                                 : paper == PosterPaper::A3 ? QPageSize::A3
                                                            : QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&device))
        return 0;
    // Points as the painter's units, whatever the device's resolution.
    p.setWindow(QRect(0, 0, static_cast<int>(kPosterWidth), static_cast<int>(kPosterHeight)));
    p.setViewport(0, 0, device.width(), device.height());
    PaperFonts fonts(p);
    const MeasureText measure = fonts.measure();
    int pages = 0;
    for (const Poster& poster : posters) {
        for (const PosterPage& page : posterLayout(poster, measure).pages) {
            if (pages++ > 0)
                device.newPage();
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
    return p.end() ? pages : 0;
}

} // namespace zeb
