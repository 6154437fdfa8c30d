#include "views/occupancy_chart_painter.h"

#include "timetable/train_times.h"
#include "views/window_style.h"

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
                         const ChartMapping& m, const ChartPaint& options) {
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
    p.save();
    if (options.barArea)
        p.setClipRect(*options.barArea);
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
        const bool fits = p.fontMetrics().horizontalAdvance(number) + 4 < width &&
                          p.fontMetrics().height() <= box.height() + 2;
        if (fits) {
            p.drawText(box, Qt::AlignCenter, number);
        } else if (options.numbersBeside) {
            p.setPen(QColor(40, 40, 40));
            p.drawText(QRectF(box.right() + 1, box.top() - 2, 200, box.height() + 4),
                       Qt::AlignVCenter | Qt::AlignLeft, number);
        }
    }
    p.restore();
}

void paintChartPage(QPainter& p, const Scenario& s, const ChartContent& content,
                    const ChartPage& page, int number, int pages, const QRectF& area) {
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
                        QString::fromStdString(clockText(page.lastMinute))));
    p.drawText(QRectF(0, 20, width, 14), Qt::AlignRight | Qt::AlignVCenter,
               QString("Pagina %1 di %2").arg(number).arg(pages));

    // The legend along the foot of the page.
    const double legendTop = area.height() - 14;
    double x = 0;
    const std::pair<QColor, const char*> legend[] = {
        {kindColor(OccupancyKind::Passing), "in transito"},
        {kindColor(OccupancyKind::Terminating), "arriva e termina"},
        {kindColor(OccupancyKind::Starting), "parte da qui"},
        {QColor(205, 40, 40), "in conflitto"}};
    p.setFont(pointFont(p, 8));
    for (const auto& [color, text] : legend) {
        p.fillRect(QRectF(x, legendTop + 3, 14, 8), color);
        p.drawText(QRectF(x + 18, legendTop, 120, 14), Qt::AlignLeft | Qt::AlignVCenter, text);
        x += 24 + p.fontMetrics().horizontalAdvance(text);
    }

    ChartMapping m;
    m.firstMinute = page.firstMinute;
    m.lastMinute = page.lastMinute;
    // The row names whole: the longest sets the label column.
    p.setFont(pointFont(p, 7));
    double longest = 0;
    for (std::size_t row = 0; row < content.rows.size(); ++row)
        longest =
            std::max<double>(longest, p.fontMetrics().horizontalAdvance(
                                          "Binario " + QString::fromStdString(content.rows[row])));
    m.labelWidth = std::max(70.0, longest + 12);
    m.axisHeight = 22;
    const double top = 40;
    const double rows = std::max<double>(1, static_cast<double>(content.rows.size()));
    m.rowHeight = std::min(24.0, (legendTop - 8 - top - m.axisHeight) / rows);
    m.pixelsPerMinute = (width - m.labelWidth - 44) / (page.lastMinute - page.firstMinute);
    p.translate(0, top);
    if (m.rowHeight < 12)
        p.setFont(pointFont(p, 5));
    paintOccupancyChart(p, s, content, m,
                        {.barArea = QRectF(m.labelWidth, 0, width - m.labelWidth,
                                           m.height(static_cast<int>(content.rows.size()))),
                         .numbersBeside = true});
    p.restore();
}

} // namespace zeb
