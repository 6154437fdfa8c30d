#include "paper/paper_files.h"

#include "paper/boards_painter.h"
#include "paper/chart_pages.h"
#include "paper/chart_painter.h"
#include "paper/paper_fonts.h"
#include "paper/poster_painter.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <functional>

namespace zeb {

namespace {

// `bytes` as the file at `path`, replaced whole; `pages` when that went well.
PaperFile replaced(const std::string& path, const QByteArray& bytes, int pages) {
    if (pages == 0)
        return {0, "il disegno non è riuscito"};
    try {
        replaceFileContents(path, bytes.toStdString());
    } catch (const ScenarioFileError& error) {
        return {0, error.message()};
    }
    return {pages, {}};
}

} // namespace

QPageLayout chartPageLayout(bool a3) {
    return QPageLayout(QPageSize(a3 ? QPageSize::A3 : QPageSize::A4), QPageLayout::Landscape,
                       QMarginsF(28, 28, 28, 28), QPageLayout::Point);
}

int paintChartPages(QPagedPaintDevice& device, const Scenario& s, const ChartContent& content,
                    int hours) {
    QPainter painter;
    if (!painter.begin(&device))
        return 0;
    // Points as the painter's units, whatever the device's resolution.
    const QRectF points = device.pageLayout().paintRectPoints();
    painter.setWindow(
        QRect(0, 0, static_cast<int>(points.width()), static_cast<int>(points.height())));
    painter.setViewport(0, 0, device.width(), device.height());
    const QRectF page(0, 0, points.width(), points.height());
    PaperFonts fonts(painter);
    // A page per window of hours and group of rows: the groups of a window one after the other.
    const std::vector<ChartSheet> sheets =
        chartSheets(fonts.measure(), s, content, hours * 60, page.width(), page.height());
    const std::vector<ChartPage> windows = chartPages(content, hours);
    const int pages = static_cast<int>(windows.size() * sheets.size());
    int number = 0;
    for (const ChartPage& window : windows) {
        for (const ChartSheet& sheet : sheets) {
            if (number++ > 0)
                device.newPage();
            paintChartPage(painter, s, sheet, window, number, pages, page);
        }
    }
    return painter.end() ? pages : 0;
}

PaperFile writeChartPdf(const std::string& path, const Scenario& s, const ChartContent& content,
                        int hours, bool a3) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(chartPageLayout(a3));
        writer.setResolution(600);
        writer.setTitle("Occupazione binari");
        pages = paintChartPages(writer, s, content, hours);
    }
    return replaced(path, buffer.data(), pages);
}

// Laid out in points as a page is, 12 points a lane, and drawn at two pixels a point, fewer where
// the picture would pass 16 million pixels.
PaperFile writeChartPng(const std::string& path, const Scenario& s, const ChartContent& content,
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
    PaperFonts fonts(painter);
    paintChartPage(painter, s,
                   chartSheet(fonts.measure(), s, content, hours.lastMinute - hours.firstMinute,
                              area.width(), area.height()),
                   hours, 0, 0, area);
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    const bool encoded = image.save(&buffer, "PNG");
    return replaced(path, buffer.data(), encoded ? 1 : 0);
}

PaperFile writePostersPdf(const std::string& path, const Scenario& s,
                          const std::vector<Poster>& posters, PosterPaper paper) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setTitle("Manifesti della stazione di " + QString::fromStdString(s.nome_stazione));
        pages = paintPosters(writer, posters, paper);
    }
    return replaced(path, buffer.data(), pages);
}

namespace {

// A PDF of A4 pages in points, `width` wide, drawn by `paint`, which gives the pages it drew
// (none where it failed): the writer and its painter set up once for every page of ours.
PaperFile writeA4Pdf(const std::string& path, QPageLayout::Orientation orientation, double width,
                     double height, const char* title,
                     const std::function<int(QPdfWriter&, QPainter&, PaperFonts&)>& paint) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    int written = 0;
    {
        QPdfWriter writer(&buffer);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), orientation,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Point));
        writer.setResolution(600);
        writer.setTitle(title);
        QPainter painter;
        if (painter.begin(&writer)) {
            painter.setWindow(QRect(0, 0, static_cast<int>(width), static_cast<int>(height)));
            painter.setViewport(0, 0, writer.width(), writer.height());
            PaperFonts fonts(painter);
            written = paint(writer, painter, fonts);
            if (!painter.end())
                written = 0;
        }
    }
    return replaced(path, buffer.data(), written);
}

} // namespace

PaperFile writeNoticePdf(const std::string& path, const std::string& station,
                         const std::string& day, const std::vector<NoticeSection>& sections) {
    return writeA4Pdf(
        path, QPageLayout::Portrait, kNoticeWidth, kNoticeHeight, "Avviso ai viaggiatori",
        [&](QPdfWriter& writer, QPainter& painter, PaperFonts& fonts) {
            int written = 0;
            for (const NoticePage& page : noticePages(fonts.measure(), station, day, sections)) {
                if (written++ > 0)
                    writer.newPage();
                for (const PlacedText& text : page) {
                    painter.setFont(fonts.font(text.size, text.bold));
                    painter.drawText(QPointF(text.x, text.y), QString::fromStdString(text.text));
                }
            }
            return written;
        });
}

PaperFile writeBoardsPdf(const std::string& path, const Scenario& s, const PlayedDay& day,
                         int minute, const BoardSettings& settings) {
    return writeA4Pdf(path, QPageLayout::Landscape, kBoardsPageWidth, kBoardsPageHeight,
                      "Tabelloni", [&](QPdfWriter&, QPainter& painter, PaperFonts& fonts) {
                          paintBoards(painter, fonts,
                                      boardsPicture(fonts.measure(), s, day, minute, settings));
                          return 1;
                      });
}

PaperFile writeBoardsPng(const std::string& path, const Scenario& s, const PlayedDay& day,
                         int minute, const BoardSettings& settings) {
    constexpr double kPixelsPerPoint = 2;
    QImage image(static_cast<int>(kBoardsPageWidth * kPixelsPerPoint),
                 static_cast<int>(kBoardsPageHeight * kPixelsPerPoint), QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(kPixelsPerPoint, kPixelsPerPoint);
    PaperFonts fonts(painter);
    paintBoards(painter, fonts, boardsPicture(fonts.measure(), s, day, minute, settings));
    painter.end();
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    return replaced(path, buffer.data(), image.save(&buffer, "PNG") ? 1 : 0);
}

} // namespace zeb
