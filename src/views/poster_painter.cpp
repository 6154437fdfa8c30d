#include "views/poster_painter.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace zeb {

namespace {

const QColor kDeparturesGround(255, 214, 0);
const QColor kInk(0, 0, 90);

// The share of the line each column takes.
std::vector<double> columnShares(const Poster& poster) {
    if (poster.departures)
        return {0.08, 0.17, 0.19, 0.30, 0.09, 0.17};
    return {0.10, 0.22, 0.30, 0.10, 0.28};
}

class PosterPages {
public:
    PosterPages(QPainter& painter, QPagedPaintDevice& device)
        : p_(painter), device_(device), page_(0, 0, device.width(), device.height()) {
        margin_ = page_.width() * 0.04;
        rowHeight_ = page_.height() * 0.055;
    }

    int rowsPerPage() const {
        return std::max(1,
                        static_cast<int>((page_.height() - top() - 2 * margin_) / rowHeight_) - 1);
    }

    void paintPage(const Poster& poster, int firstRow, int pageNumber, int pages) {
        p_.fillRect(page_, poster.departures ? kDeparturesGround : QColor(Qt::white));
        paintTitle(poster, pageNumber, pages);
        const auto shares = columnShares(poster);
        double y = top();
        paintLine(poster.heads, shares, y, true);
        y += rowHeight_;
        p_.setPen(QPen(kInk, rowHeight_ * 0.04));
        p_.drawLine(QPointF(margin_, y), QPointF(page_.width() - margin_, y));
        const int last = std::min(static_cast<int>(poster.rows.size()), firstRow + rowsPerPage());
        for (int row = firstRow; row < last; ++row) {
            paintLine(poster.rows[static_cast<std::size_t>(row)], shares, y, false);
            y += rowHeight_;
            p_.setPen(QPen(QColor(0, 0, 90, 60), rowHeight_ * 0.02));
            p_.drawLine(QPointF(margin_, y), QPointF(page_.width() - margin_, y));
        }
    }

private:
    double top() const { return margin_ + page_.height() * 0.16; }

    void paintTitle(const Poster& poster, int pageNumber, int pages) {
        const QRectF band(margin_, margin_, page_.width() - 2 * margin_, page_.height() * 0.13);
        QFont title("DejaVu Sans");
        title.setBold(true);
        title.setPixelSize(static_cast<int>(band.height() * 0.6));
        p_.setFont(title);
        p_.setPen(kInk);
        p_.drawText(band, Qt::AlignLeft | Qt::AlignVCenter,
                    QString::fromStdString(poster.title).toUpper());
        QFont station("DejaVu Sans");
        station.setPixelSize(static_cast<int>(band.height() * 0.28));
        p_.setFont(station);
        QString right = "Stazione di " + QString::fromStdString(poster.station);
        if (pages > 1)
            right += QString("\nPagina %1 di %2").arg(pageNumber).arg(pages);
        p_.drawText(band, Qt::AlignRight | Qt::AlignVCenter, right);
    }

    void paintLine(const std::vector<std::string>& cells, const std::vector<double>& shares,
                   double y, bool head) {
        QFont font("DejaVu Sans");
        font.setBold(head);
        font.setPixelSize(static_cast<int>(rowHeight_ * (head ? 0.42 : 0.48)));
        p_.setFont(font);
        p_.setPen(kInk);
        double x = margin_;
        const double width = page_.width() - 2 * margin_;
        for (std::size_t c = 0; c < cells.size() && c < shares.size(); ++c) {
            const QRectF cell(x, y, shares[c] * width - rowHeight_ * 0.2, rowHeight_);
            const QString text = p_.fontMetrics().elidedText(
                QString::fromStdString(cells[c]), Qt::ElideRight, static_cast<int>(cell.width()));
            p_.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter, text);
            x += shares[c] * width;
        }
    }

    QPainter& p_;
    QPagedPaintDevice& device_;
    QRectF page_;
    double margin_;
    double rowHeight_;
};

} // namespace

bool paintPosters(QPagedPaintDevice& device, const std::vector<Poster>& posters) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    PosterPages pages(painter, device);
    bool first = true;
    for (const Poster& poster : posters) {
        const int perPage = pages.rowsPerPage();
        const int count =
            std::max(1, (static_cast<int>(poster.rows.size()) + perPage - 1) / perPage);
        for (int page = 0; page < count; ++page) {
            if (!first)
                device.newPage();
            first = false;
            pages.paintPage(poster, page * perPage, page + 1, count);
        }
    }
    return painter.end();
}

} // namespace zeb
