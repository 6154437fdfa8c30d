#include "views/poster_painter.h"

#include "views/window_style.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <algorithm>

namespace zeb {

namespace {

const QColor kDeparturesGround(255, 214, 0);
const QColor kInk(0, 0, 90);

// The page in points: A4 landscape, two columns of trains.
constexpr double kWidth = 842;
constexpr double kHeight = 595;
constexpr double kMargin = 22;
constexpr double kGap = 16;
constexpr double kTitle = 40;
constexpr double kHead = 13;
constexpr double kFoot = 12;
constexpr double kColumn = (kWidth - 2 * kMargin - kGap) / 2;
constexpr double kTimeWidth = 36;
constexpr double kTrackWidth = 34;

const char* kTimeMark = "*";
const char* kTrackMark = "†";

// One train's entry: its first line (time, train and place, track) and its stops and notes in a
// smaller type under it, each wrapped to the column and never cut.
class Entry {
public:
    Entry(QPainter& p, const Poster& poster, std::size_t row) : p_(p), poster_(poster), row_(row) {
        const auto& cells = poster.rows[row];
        middle_ = QString::fromStdString(cells[kPosterTrain]) + "  " +
                  QString::fromStdString(cells[kPosterPlace]);
        // The stops (departures) and the notes, in the columns between place and track.
        QStringList more;
        for (std::size_t c = kPosterPlace + 1; c < cells.size(); ++c) {
            if (c + 2 == cells.size() || cells[c].empty())
                continue; // the track is on the first line
            more << QString::fromStdString(cells[c]);
        }
        small_ = more.join(" · ");
        track_ = QString::fromStdString(cells[cells.size() - 2]);
    }

    double height() const { return firstHeight() + smallHeight() + 4; }

    void paint(double x, double y) const {
        const auto& cells = poster_.rows[row_];
        p_.setPen(kInk);
        p_.setFont(pointFont(p_, 9, true));
        QString time = QString::fromStdString(cells[kPosterTime]);
        if (poster_.timeToCheck[row_])
            time += kTimeMark;
        p_.drawText(QRectF(x, y, kTimeWidth, 14), Qt::AlignLeft | Qt::AlignTop, time);
        QString track = track_;
        if (poster_.trackToCheck[row_])
            track += kTrackMark;
        p_.drawText(QRectF(x + kColumn - kTrackWidth, y, kTrackWidth, 14),
                    Qt::AlignRight | Qt::AlignTop, track);
        p_.setFont(pointFont(p_, 9));
        p_.drawText(middleRect(x, y), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, middle_);
        if (!small_.isEmpty()) {
            const double below = firstHeight(); // measured before the smaller type is set
            p_.setFont(pointFont(p_, 7));
            p_.drawText(QRectF(x + kTimeWidth, y + below, kColumn - kTimeWidth, 200),
                        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, small_);
        }
    }

    bool marked() const { return poster_.timeToCheck[row_] || poster_.trackToCheck[row_]; }

private:
    QRectF middleRect(double x, double y) const {
        return QRectF(x + kTimeWidth, y, kColumn - kTimeWidth - kTrackWidth - 4, 200);
    }
    double firstHeight() const {
        p_.setFont(pointFont(p_, 9));
        return p_.boundingRect(middleRect(0, 0), Qt::AlignLeft | Qt::TextWordWrap, middle_)
            .height();
    }
    double smallHeight() const {
        if (small_.isEmpty())
            return 0;
        p_.setFont(pointFont(p_, 7));
        return p_
            .boundingRect(QRectF(0, 0, kColumn - kTimeWidth, 200), Qt::AlignLeft | Qt::TextWordWrap,
                          small_)
            .height();
    }

    QPainter& p_;
    const Poster& poster_;
    std::size_t row_;
    QString middle_;
    QString small_;
    QString track_;
};

// The rows of each page, two columns a page, filled top to bottom.
std::vector<std::vector<std::size_t>> pagesOf(QPainter& p, const Poster& poster) {
    const double room = kHeight - 2 * kMargin - kTitle - kHead - kFoot;
    std::vector<std::vector<std::size_t>> pages(1);
    int column = 0;
    double used = 0;
    for (std::size_t row = 0; row < poster.rows.size(); ++row) {
        const double height = Entry(p, poster, row).height();
        if (used + height > room && used > 0) {
            used = 0;
            if (++column == 2) {
                column = 0;
                pages.emplace_back();
            }
        }
        pages.back().push_back(row);
        used += height;
    }
    return pages;
}

void paintTitle(QPainter& p, const Poster& poster, int page, int pages) {
    p.setPen(kInk);
    p.setFont(pointFont(p, 24, true));
    const QString title = QString::fromStdString(poster.title).toUpper();
    p.drawText(QRectF(kMargin, kMargin, kWidth / 2, kTitle), Qt::AlignLeft | Qt::AlignVCenter,
               title);
    // The station's name whole: wrapped, and smaller where it is long.
    const QRectF band(kWidth / 2, kMargin, kWidth / 2 - kMargin, kTitle - 10);
    const QString station = "Stazione di " + QString::fromStdString(poster.station);
    for (double points = 13; points >= 6; points -= 1) {
        p.setFont(pointFont(p, points, true));
        if (p.boundingRect(band, Qt::AlignRight | Qt::TextWordWrap, station).height() <=
                band.height() ||
            points <= 6)
            break;
    }
    p.drawText(band, Qt::AlignRight | Qt::AlignVCenter | Qt::TextWordWrap, station);
    p.setFont(pointFont(p, 8));
    p.drawText(QRectF(kWidth / 2, kMargin + kTitle - 10, kWidth / 2 - kMargin, 10),
               Qt::AlignRight | Qt::AlignVCenter, QString("Pagina %1 di %2").arg(page).arg(pages));
}

void paintHeads(QPainter& p, const Poster& poster, double x) {
    const double y = kMargin + kTitle;
    p.setFont(pointFont(p, 7.5, true));
    p.setPen(kInk);
    const auto& heads = poster.heads;
    p.drawText(QRectF(x, y, kTimeWidth, kHead), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(heads[kPosterTime]));
    p.drawText(QRectF(x + kTimeWidth, y, kColumn, kHead), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(heads[kPosterTrain] + " e " + heads[kPosterPlace]));
    p.drawText(QRectF(x + kColumn - kTrackWidth, y, kTrackWidth, kHead),
               Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(heads[heads.size() - 2]));
    p.setPen(QPen(kInk, 0.8));
    p.drawLine(QPointF(x, y + kHead), QPointF(x + kColumn, y + kHead));
}

} // namespace

bool paintPosters(QPagedPaintDevice& device, const std::vector<Poster>& posters) {
    device.setPageSize(QPageSize(QPageSize::A4));
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p;
    if (!p.begin(&device))
        return false;
    // Points as the painter's units, whatever the device's resolution.
    p.setWindow(QRect(0, 0, static_cast<int>(kWidth), static_cast<int>(kHeight)));
    p.setViewport(0, 0, device.width(), device.height());
    bool first = true;
    for (const Poster& poster : posters) {
        const auto pages = pagesOf(p, poster);
        for (std::size_t page = 0; page < pages.size(); ++page) {
            if (!first)
                device.newPage();
            first = false;
            p.fillRect(QRectF(0, 0, kWidth, kHeight),
                       poster.departures ? kDeparturesGround : QColor(Qt::white));
            paintTitle(p, poster, static_cast<int>(page) + 1, static_cast<int>(pages.size()));
            const double room = kHeight - 2 * kMargin - kTitle - kHead - kFoot;
            int column = 0;
            double y = 0;
            bool marks = false;
            paintHeads(p, poster, kMargin);
            for (std::size_t row : pages[page]) {
                const Entry entry(p, poster, row);
                if (y + entry.height() > room && y > 0) {
                    column = 1;
                    y = 0;
                    paintHeads(p, poster, kMargin + kColumn + kGap);
                }
                const double x = kMargin + column * (kColumn + kGap);
                entry.paint(x, kMargin + kTitle + kHead + 3 + y);
                marks = marks || entry.marked();
                y += entry.height();
            }
            if (marks) {
                p.setFont(pointFont(p, 7));
                p.setPen(kInk);
                p.drawText(
                    QRectF(kMargin, kHeight - kMargin - kFoot + 2, kWidth - 2 * kMargin, kFoot),
                    Qt::AlignLeft | Qt::AlignVCenter,
                    QString("%1 orario da verificare     %2 binario da verificare")
                        .arg(kTimeMark, kTrackMark));
            }
        }
    }
    return p.end();
}

} // namespace zeb
