#include "paper/chart_painter.h"

#include "paper/paper_fonts.h"
#include "timetable/train_times.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace zeb {

namespace {

QColor kindColor(OccupancyKind kind) {
    switch (kind) {
    case OccupancyKind::Passing:
        return QColor(70, 120, 200);
    case OccupancyKind::Terminating:
        return QColor(90, 160, 90);
    case OccupancyKind::Starting:
        return QColor(215, 150, 50);
    case OccupancyKind::Turnaround:
        return QColor(130, 95, 170);
    }
    return Qt::gray;
}

// What the parts of the chart share: the painter, the mapping, the size filled and the area of
// the bars, and the first line of the axis in sight.
struct ChartFrame {
    QPainter& p;
    const Scenario& s;
    const ChartContent& content;
    const ChartMapping& m;
    QSizeF size;
    double bottom; // of the rows
    QRectF body;   // where the bars go
    int step;      // minutes between the axis's lines
    int firstLine; // the first of them in sight
};

// Where each bar's lane is free again after it: the left of the next bar in the same row and
// lane, or far right.
std::vector<double> freeUntil(const ChartContent& content, const ChartMapping& m) {
    std::vector<std::size_t> order(content.bars.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    auto key = [&](std::size_t k) {
        const ChartBar& bar = content.bars[k];
        return std::tuple(bar.row, bar.lane, bar.from);
    };
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return key(a) < key(b); });
    std::vector<double> until(order.size(), 1e9);
    for (std::size_t k = 0; k + 1 < order.size(); ++k) {
        const ChartBar& next = content.bars[order[k + 1]];
        const ChartBar& bar = content.bars[order[k]];
        if (next.row == bar.row && next.lane == bar.lane)
            until[order[k]] = barBox(content, m, next).left;
    }
    return until;
}

// A bar's number on it where it fits, else beside it within `room` pixels; a unit's numbers both,
// else its first train's: a number on every bar that has room for one.
void placeNumber(const ChartFrame& f, const ChartBar& bar, const QRectF& box, const QRectF& shown,
                 double room, std::vector<std::pair<QRectF, QString>>& beside) {
    QStringList numbers{QString::fromStdString(occupancyLabel(f.s, bar.occupancy))};
    if (bar.occupancy.leaving >= 0)
        numbers << QString::fromStdString(f.s.treni[bar.occupancy.train].numero);
    for (const QString& number : numbers) {
        const double width = f.p.fontMetrics().horizontalAdvance(number);
        if (width + 4 < shown.width() && f.p.fontMetrics().height() <= box.height() + 2) {
            f.p.drawText(shown, Qt::AlignCenter, number);
            return;
        }
        if (width <= room) {
            beside.emplace_back(QRectF(box.right() + 1, box.top() - 2, width + 2, box.height() + 4),
                                number);
            return;
        }
    }
}

// The bars' side: rows shaded one in two, the lines of the axis, the start, the bars. A number
// that does not fit on its bar goes into `beside`, to be written after the bars: on paper always
// (its lanes leave room), on the screen where its lane is free for it.
void paintBars(const ChartFrame& f, bool paper, std::vector<std::pair<QRectF, QString>>& beside) {
    QPainter& p = f.p;
    const ChartMapping& m = f.m;
    const std::vector<double> until = paper ? std::vector<double>() : freeUntil(f.content, m);
    const int rows = static_cast<int>(f.content.rows.size());
    p.save();
    p.setClipRect(f.body);
    for (int row = 1; row < rows; row += 2)
        p.fillRect(QRectF(0, m.rowTop(row), f.size.width(), m.heightOf(row)),
                   QColor(244, 246, 250));
    for (int minute = f.firstLine; minute <= m.lastMinute && m.x(minute) <= f.size.width();
         minute += f.step) {
        p.setPen(minute % 60 == 0 ? QColor(200, 200, 200) : QColor(228, 228, 228));
        p.drawLine(QPointF(m.x(minute), m.axisHeight), QPointF(m.x(minute), f.bottom - 8));
    }
    if (f.content.startMinute) {
        const double x = m.x(*f.content.startMinute);
        p.setPen(QPen(QColor(0, 0, 128), 2, Qt::DashLine));
        p.drawLine(QPointF(x, m.axisHeight), QPointF(x, f.bottom - 8));
    }
    for (std::size_t k = 0; k < f.content.bars.size(); ++k) {
        const ChartBar& bar = f.content.bars[k];
        const BarBox b = barBox(f.content, m, bar);
        const QRectF box(b.left, b.top, b.width, b.height);
        // The part in sight, where the number goes.
        const QRectF shown =
            box.intersected(QRectF(f.body.left(), box.top(), f.body.width(), box.height()));
        if (shown.isEmpty() || b.top > f.size.height() || b.top + b.height < m.axisHeight)
            continue;
        const QColor color = bar.conflict ? QColor(205, 40, 40) : kindColor(bar.occupancy.kind);
        if (bar.occupancy.cancelled) {
            // A cancelled train holds nothing, so overlaps nothing: its outline, its number in
            // its colour.
            p.setPen(QPen(color.darker(140), 1, Qt::DashLine));
            p.drawRect(box);
            p.setPen(color.darker(160));
        } else {
            p.fillRect(box, color);
            for (const auto& [from, to] : bar.overlaps)
                p.fillRect(
                    QRectF(m.x(from), box.top(), std::max(2.0, m.x(to) - m.x(from)), box.height()),
                    QBrush(Qt::black, Qt::BDiagPattern));
            p.setPen(color.darker(140));
            p.drawRect(box);
            p.setPen(Qt::white);
        }
        // On paper the lanes keep room beside a bar too short for its number (its reach), where
        // the bar ends on the page; a bar its number fits on has none, even cut by the page.
        const double room = !paper ? until[k] - box.right() - 3
                            : box.right() <= f.body.right() + 0.01 && bar.reach > 0 ? 1e9
                                                                                    : 0;
        placeNumber(f, bar, box, shown, room, beside);
    }
    p.restore();
}

// The track names, fixed on the left; a name too long for the column is elided.
void paintTrackNames(const ChartFrame& f) {
    QPainter& p = f.p;
    const ChartMapping& m = f.m;
    p.save();
    p.setClipRect(QRectF(0, m.axisHeight, m.labelWidth, f.size.height() - m.axisHeight));
    p.fillRect(QRectF(0, m.axisHeight, m.labelWidth, f.size.height()), Qt::white);
    p.setPen(Qt::black);
    for (int row = 0; row < static_cast<int>(f.content.rows.size()); ++row) {
        const QRectF band(0, m.rowTop(row), m.labelWidth, m.heightOf(row));
        if (band.bottom() < m.axisHeight || band.top() > f.size.height())
            continue;
        if (row % 2 == 1)
            p.fillRect(band, QColor(244, 246, 250));
        p.drawText(band.adjusted(6, 0, -4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   p.fontMetrics().elidedText(QString::fromStdString(rowLabel(f.s, f.content, row)),
                                              Qt::ElideRight, static_cast<int>(m.labelWidth - 10)));
    }
    p.setPen(QColor(160, 160, 160));
    p.drawLine(QPointF(m.labelWidth, m.axisHeight), QPointF(m.labelWidth, f.bottom - 8));
    p.restore();
}

// The hours, fixed on top, labelled round the clock.
void paintHours(const ChartFrame& f) {
    QPainter& p = f.p;
    const ChartMapping& m = f.m;
    p.save();
    p.setClipRect(QRectF(m.labelWidth - 30, 0, f.size.width(), m.axisHeight));
    p.setPen(Qt::black);
    for (int minute = f.firstLine; minute <= m.lastMinute && m.x(minute) <= f.size.width() + 30;
         minute += f.step) {
        const double x = m.x(minute);
        p.drawLine(QPointF(x, m.axisHeight - 4), QPointF(x, m.axisHeight));
        p.drawText(QRectF(x - 30, 2, 60, m.axisHeight - 6), Qt::AlignCenter,
                   QString::fromStdString(clockText(minute)));
    }
    p.restore();
}

// Each bar's possible delay, a faded tail up to its most, under the bars; and the bars at risk,
// framed in fuchsia the stronger the more often they clash.
void paintDelays(const ChartFrame& f, bool tails) {
    QPainter& p = f.p;
    p.save();
    p.setClipRect(f.body);
    for (const ChartBar& bar : f.content.bars) {
        const BarBox b = barBox(f.content, f.m, bar);
        const QRectF box(b.left, b.top, b.width, b.height);
        if (tails && bar.tail > 0) {
            QColor faded = kindColor(bar.occupancy.kind);
            faded.setAlpha(70);
            p.fillRect(QRectF(box.right(), box.top() + box.height() / 4,
                              f.m.x(bar.to + bar.tail) - box.right(), box.height() / 2),
                       faded);
        } else if (!tails && bar.risk > 0) {
            p.setPen(QPen(QColor(215, 0, 135, static_cast<int>(90 + 165 * bar.risk)), 3));
            p.drawRect(box.adjusted(-2, -2, 2, 2));
        }
    }
    p.restore();
}

} // namespace

void paintOccupancyChart(QPainter& p, const Scenario& s, const ChartContent& content,
                         const ChartMapping& m, const ChartPaint& options) {
    const int rows = static_cast<int>(content.rows.size());
    const QSizeF size = options.size.value_or(QSizeF(m.width(), m.height(rows)));
    p.fillRect(QRectF(QPointF(0, 0), size), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);
    // On paper the bars stop at the window's last minute; the numbers beside them may go on into
    // the margin.
    const double right = options.paper ? std::min(size.width(), m.x(m.lastMinute)) : size.width();
    const int step = axisStep(m.pixelsPerMinute, p.fontMetrics().horizontalAdvance("00:00") + 14);
    const int firstLine =
        m.firstMinute + static_cast<int>(std::max(
                            0.0, std::floor((m.minuteAt(m.labelWidth) - m.firstMinute) / step))) *
                            step;
    const ChartFrame frame{
        p,
        s,
        content,
        m,
        size,
        std::min(size.height(), m.rowTop(rows) + 8),
        QRectF(m.labelWidth, m.axisHeight, right - m.labelWidth, size.height() - m.axisHeight),
        step,
        firstLine};
    std::vector<std::pair<QRectF, QString>> beside;
    if (options.delays)
        paintDelays(frame, true);
    paintBars(frame, options.paper, beside);
    if (options.delays)
        paintDelays(frame, false);
    p.save();
    p.setClipRect(QRectF(m.labelWidth, m.axisHeight, size.width() - m.labelWidth, size.height()));
    p.setPen(QColor(40, 40, 40));
    for (const auto& [room, number] : beside)
        p.drawText(room, Qt::AlignVCenter | Qt::AlignLeft, number);
    p.restore();
    paintTrackNames(frame);
    paintHours(frame);
}

void paintChartPage(QPainter& p, const Scenario& s, const ChartSheet& sheet, const ChartPage& page,
                    int number, int pages, const QRectF& area) {
    p.save();
    p.translate(area.topLeft());
    const double width = area.width();
    p.setPen(Qt::black);
    p.setFont(pointFont(p, 14, true));
    const QString station = QString::fromStdString(s.nome_stazione);
    p.drawText(QRectF(0, 0, width, 20), Qt::AlignLeft | Qt::AlignVCenter,
               (station.isEmpty() ? QString() : station + " — ") + "Occupazione binari");
    p.setFont(pointFont(p, 9));
    p.drawText(QRectF(0, 20, width, 14), Qt::AlignLeft | Qt::AlignVCenter,
               QString("Dalle %1 alle %2")
                   .arg(QString::fromStdString(clockText(page.firstMinute)),
                        page.lastMinute >= kMinutesPerDay
                            ? QString("24:00") // the day's end, not the next day's start
                            : QString::fromStdString(clockText(page.lastMinute))));
    const QString rows = QString::fromStdString(sheetRowsNote(sheet));
    if (pages > 0)
        p.drawText(QRectF(0, 20, width, 14), Qt::AlignRight | Qt::AlignVCenter,
                   (rows.isEmpty() ? QString() : rows + " — ") +
                       QString("Pagina %1 di %2").arg(number).arg(pages));

    // The legend along the foot of the page.
    const double legendTop = area.height() - kChartLegendHeight;
    double x = 0;
    std::vector<std::pair<QColor, const char*>> legend = {
        {kindColor(OccupancyKind::Passing), "in transito"},
        {kindColor(OccupancyKind::Terminating), "arriva e termina"},
        {kindColor(OccupancyKind::Starting), "parte da qui"}};
    const auto any = [&](auto test) {
        return std::any_of(sheet.laid.bars.begin(), sheet.laid.bars.end(), test);
    };
    if (any([](const ChartBar& bar) { return bar.occupancy.leaving >= 0; }))
        legend.emplace_back(kindColor(OccupancyKind::Turnaround), "arriva e riparte");
    legend.emplace_back(QColor(205, 40, 40), "in conflitto");
    p.setFont(pointFont(p, 8));
    for (const auto& [color, text] : legend) {
        p.fillRect(QRectF(x, legendTop + 3, 14, 8), color);
        p.drawText(QRectF(x + 18, legendTop, 120, 14), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += 24 + p.fontMetrics().horizontalAdvance(text);
    }
    if (any([](const ChartBar& bar) { return bar.occupancy.cancelled; })) {
        p.save();
        p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
        p.drawRect(QRectF(x, legendTop + 3, 14, 8));
        p.restore();
        p.drawText(QRectF(x + 18, legendTop, 120, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   "soppresso");
    }

    ChartMapping m = sheet.mapping;
    m.firstMinute = page.firstMinute;
    m.lastMinute = page.lastMinute;
    p.setFont(pointFont(p, sheet.numberPoints));
    p.translate(0, kChartTop);
    paintOccupancyChart(
        p, s, sheet.laid, m,
        {.size = QSizeF(width, m.height(static_cast<int>(sheet.laid.rows.size()))), .paper = true});
    p.restore();
}

} // namespace zeb
