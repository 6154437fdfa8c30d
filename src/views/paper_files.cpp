#include "views/paper_files.h"

#include "views/occupancy_chart_painter.h"
#include "views/poster_painter.h"

#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace zeb {

bool paintChartPages(QPagedPaintDevice& device, const Scenario& s, const ChartContent& content,
                     int hours) {
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    // Points as the painter's units, whatever the device's resolution.
    const QRectF points = device.pageLayout().paintRectPoints();
    painter.setWindow(
        QRect(0, 0, static_cast<int>(points.width()), static_cast<int>(points.height())));
    painter.setViewport(0, 0, device.width(), device.height());
    const QRectF page(0, 0, points.width(), points.height());
    const ChartSheet sheet = chartSheet(painter, s, content, hours * 60, page);
    const std::vector<ChartPage> pages = chartPages(content, hours);
    for (std::size_t k = 0; k < pages.size(); ++k) {
        if (k > 0)
            device.newPage();
        paintChartPage(painter, s, sheet, pages[k], static_cast<int>(k) + 1,
                       static_cast<int>(pages.size()), page);
    }
    return painter.end();
}

QPageLayout chartPageLayout(bool a3) {
    return QPageLayout(QPageSize(a3 ? QPageSize::A3 : QPageSize::A4), QPageLayout::Landscape,
                       QMarginsF(28, 28, 28, 28), QPageLayout::Point);
}

bool writeChartPdf(const QString& path, const Scenario& s, const ChartContent& content, int hours,
                   bool a3) {
    QPdfWriter writer(path);
    writer.setPageLayout(chartPageLayout(a3));
    writer.setResolution(600);
    writer.setTitle("Occupazione binari");
    return paintChartPages(writer, s, content, hours);
}

// Laid out in points as a page is, 12 points a lane, and drawn at two pixels a point, fewer where
// the picture would pass 16 million pixels.
bool writeChartPng(const QString& path, const Scenario& s, const ChartContent& content,
                   const ChartPage& hours, double pixelsPerMinute) {
    constexpr double kMargin = 16;
    const double minutes = std::max(60, hours.lastMinute - hours.firstMinute);
    const double width =
        std::clamp(160 + minutes * pixelsPerMinute * 0.75, 560.0, 6000.0) + 2 * kMargin;
    double lanes = 0;
    for (int count : content.lanes)
        lanes += std::max(1.5, static_cast<double>(count));
    const double height = 40 + 22 + 12 * std::clamp(lanes, 1.5, 250.0) + 30 + 2 * kMargin;
    const double pixelsPerPoint = std::min(2.0, std::sqrt(16e6 / (width * height)));
    QImage image(static_cast<int>(width * pixelsPerPoint),
                 static_cast<int>(height * pixelsPerPoint), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(pixelsPerPoint, pixelsPerPoint);
    const QRectF area(kMargin, kMargin, width - 2 * kMargin, height - 2 * kMargin);
    paintChartPage(painter, s,
                   chartSheet(painter, s, content, hours.lastMinute - hours.firstMinute, area),
                   hours, 0, 0, area);
    painter.end();
    return image.save(path, "PNG");
}

bool writePostersPdf(const QString& path, const Scenario& s, const std::vector<Poster>& posters) {
    QPdfWriter writer(path);
    writer.setResolution(300);
    writer.setTitle("Manifesti della stazione di " + QString::fromStdString(s.nome_stazione));
    return paintPosters(writer, posters);
}

} // namespace zeb
