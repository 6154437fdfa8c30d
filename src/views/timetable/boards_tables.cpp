// The boards' rows on their tables: each cell from the rules' rows, the cancelled, late and moved
// trains in colours of their own.

#include "views/timetable/boards_window.h"

#include "timetable/train_times.h"
#include "views/timetable/timetable_watch.h"

#include <QLabel>
#include <QListWidget>
#include <QTableWidget>

namespace zeb {

namespace {

const QColor kCancelled(255, 110, 100);
const QColor kLate(255, 214, 90);
const QColor kMoved(110, 210, 255);

// A row's cells, its train kept on the first for a double click.
void setRow(QTableWidget* table, int row, const QStringList& cells, const BoardRow& of) {
    for (int column = 0; column < cells.size(); ++column) {
        auto* item = new QTableWidgetItem(cells[column]);
        if (of.cancelled)
            item->setForeground(kCancelled);
        else if (of.trackChanged && column == 5)
            item->setForeground(kMoved);
        else if (of.delayed && column == 4)
            item->setForeground(kLate);
        table->setItem(row, column, item);
    }
    table->item(row, 0)->setData(Qt::UserRole, of.train);
}

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

void BoardsWindow::fillBoard(QTableWidget* table, QLabel* more, const Board& board) {
    table->setRowCount(static_cast<int>(board.rows.size()));
    for (int r = 0; r < table->rowCount(); ++r) {
        const BoardRow& row = board.rows[static_cast<std::size_t>(r)];
        setRow(table, r,
               {q(row.time), q(row.category), q(row.number), q(row.place), q(row.delay),
                q(row.track), q(row.indication)},
               row);
    }
    more->setText(q(notShownText(board.notShown)));
}

void BoardsWindow::fillIndicators() {
    const std::vector<TrackDisplay> displays =
        trackDisplays(watch_.scenario(), day_, minute(), settings_);
    indicators_->setRowCount(static_cast<int>(displays.size()));
    for (int r = 0; r < indicators_->rowCount(); ++r) {
        const TrackDisplay& d = displays[static_cast<std::size_t>(r)];
        if (!d.train) {
            indicators_->setItem(r, 0, new QTableWidgetItem(q(d.track)));
            for (int column = 1; column < indicators_->columnCount(); ++column)
                indicators_->setItem(r, column, new QTableWidgetItem);
            continue;
        }
        const BoardRow& t = *d.train;
        setRow(indicators_, r,
               {q(d.track), q(t.number), q(t.category), q(t.time), q(t.place), q(t.stops),
                q(t.delay), q(t.indication)},
               t);
        indicators_->item(r, 0)->setToolTip(d.holding ? "Il treno è sul binario"
                                                      : "Il prossimo treno del binario");
    }
}

// What was said in the last half hour, the latest first.
void BoardsWindow::fillAnnouncements() {
    announcements_->clear();
    for (auto it = said_.rbegin(); it != said_.rend(); ++it) {
        if (it->minute > minute() || it->minute <= minute() - 30)
            continue;
        auto* item = new QListWidgetItem(
            q(clockText(clockOfPlay(day_, it->minute)) + "  " + it->text), announcements_);
        item->setData(Qt::UserRole, it->train);
        if (it->kind == Announcement::Kind::Cancellation)
            item->setForeground(kCancelled);
        else if (it->kind == Announcement::Kind::Delay)
            item->setForeground(kLate);
        else if (it->kind == Announcement::Kind::TrackChange)
            item->setForeground(kMoved);
    }
}

} // namespace zeb
