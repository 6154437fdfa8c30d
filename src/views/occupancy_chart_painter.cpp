#include "views/occupancy_chart_painter.h"

#include "timetable/train_times.h"

#include <QPainter>

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
    }
    return Qt::gray;
}

} // namespace

void paintOccupancyChart(QPainter& p, const Scenario& s, const ChartContent& content,
                         const ChartMapping& m) {
    const int rows = static_cast<int>(content.rows.size());
    const QRectF area(0, 0, m.width(), m.height(rows));
    p.fillRect(area, Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);

    // Rows, shaded one in two, with their track names.
    for (int row = 0; row < rows; ++row) {
        const QRectF band(0, m.rowTop(row), m.width(), m.rowHeight);
        if (row % 2 == 1)
            p.fillRect(band, QColor(244, 246, 250));
        p.setPen(Qt::black);
        const QString label = row < s.numero_binari
                                  ? "Binario " + QString::fromStdString(content.rows[row])
                                  : QString::fromStdString(content.rows[row]);
        p.drawText(QRectF(6, band.top(), m.labelWidth - 10, band.height()),
                   Qt::AlignVCenter | Qt::AlignLeft, label);
    }

    // The hours, a line each, labelled round the clock.
    for (int minute = m.firstMinute; minute <= m.lastMinute; minute += 60) {
        const double x = m.x(minute);
        p.setPen(QColor(200, 200, 200));
        p.drawLine(QPointF(x, m.axisHeight - 4), QPointF(x, m.height(rows) - 8));
        p.setPen(Qt::black);
        p.drawText(QRectF(x - 30, 4, 60, m.axisHeight - 8), Qt::AlignCenter,
                   QString::fromStdString(clockText(minute)));
    }
    if (content.startMinute) {
        const double x = m.x(*content.startMinute);
        p.setPen(QPen(QColor(0, 0, 128), 2, Qt::DashLine));
        p.drawLine(QPointF(x, m.axisHeight - 6), QPointF(x, m.height(rows) - 8));
    }

    for (const ChartBar& bar : content.bars) {
        const BarBox b = barBox(content, m, bar);
        const QRectF box(b.left, b.top, b.width, b.height);
        const double width = b.width;
        const QColor color = bar.conflict ? QColor(205, 40, 40) : kindColor(bar.occupancy.kind);
        p.fillRect(box, color);
        for (const auto& [from, to] : bar.overlaps)
            p.fillRect(
                QRectF(m.x(from), box.top(), std::max(2.0, m.x(to) - m.x(from)), box.height()),
                QBrush(Qt::black, Qt::BDiagPattern));
        p.setPen(color.darker(140));
        p.drawRect(box);
        p.setPen(Qt::white);
        const QString number = QString::fromStdString(s.treni[bar.occupancy.train].numero);
        if (p.fontMetrics().horizontalAdvance(number) + 4 < width &&
            p.fontMetrics().height() <= box.height() + 2)
            p.drawText(box, Qt::AlignCenter, number);
    }
}

} // namespace zeb
