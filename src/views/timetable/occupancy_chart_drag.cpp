// The chart's mouse: a bar dragged to another track or along the hours, drawn where it would
// go, and the menu on a bar.

#include "views/timetable/occupancy_chart_view.h"

#include "model/track_slots.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "track_assignment/track_assignment.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zeb {

void OccupancyChartView::paintDrop(QPainter& painter) const {
    if (!drop_)
        return;
    const auto bar = barOfTrain(drop_->train);
    if (!bar)
        return;
    const BarBox box = barBox(content_, mapping_, content_.bars[static_cast<std::size_t>(*bar)]);
    const bool bad = !drop_->allowed || drop_->clashes;
    const QColor color = bad ? QColor(200, 0, 0) : QColor(0, 120, 60);
    painter.setPen(QPen(color, 2, Qt::DashLine));
    painter.setBrush(QColor(color.red(), color.green(), color.blue(), 60));
    const double left = box.left + drop_->minutes * mapping_.pixelsPerMinute;
    const double top = mapping_.rowTop(drop_->row) + 3;
    painter.drawRect(QRectF(left, top, box.width, mapping_.heightOf(drop_->row) - 6));
}

void OccupancyChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = barUnder(event->position());
    pressedAt_ = event->position();
    drop_.reset();
    if (pressed_)
        chosenTrain_ = content_.bars[static_cast<std::size_t>(*pressed_)].occupancy.train;
    setFocus();
    update();
}

void OccupancyChartView::mouseMoveEvent(QMouseEvent* event) {
    if (!pressed_ || !(event->buttons() & Qt::LeftButton))
        return;
    if (!drop_ &&
        (event->position() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
        return;
    follow(event->position(), event->modifiers() & Qt::ShiftModifier);
}

// The drop under the pointer: another track's row, or with Shift whole minutes along the axis.
void OccupancyChartView::follow(QPointF position, bool inTime) {
    const ChartBar& bar = content_.bars[static_cast<std::size_t>(*pressed_)];
    const Scenario& s = watch_.scenario();
    const Treno& t = s.treni[static_cast<std::size_t>(bar.occupancy.train)];
    Drop drop{bar.occupancy.train, bar.row, std::string(), 0, true, false};
    // In time, a unit's train under the pointer moves: the arriving one on the first half.
    const double middle = (mapping_.x(bar.from) + mapping_.x(bar.to)) / 2;
    if (inTime && bar.occupancy.leaving >= 0 && pressedAt_.x() > middle)
        drop.train = bar.occupancy.leaving;
    if (inTime) {
        drop.minutes = static_cast<int>(
            std::lround((position.x() - pressedAt_.x()) / mapping_.pixelsPerMinute));
    } else {
        const int row = mapping_.rowAt(position.y());
        drop.row = row < 0 ? bar.row : std::min(row, static_cast<int>(content_.rows.size()) - 1);
        const bool trackRow = drop.row < stationTrackRows();
        drop.track = trackRow ? content_.rows[static_cast<std::size_t>(drop.row)] : std::string();
        drop.allowed = trackRow && !isCategoriaSenzaBinario(t.categoria);
    }
    const std::string track = drop.track.empty() ? bar.occupancy.track : drop.track;
    drop.clashes =
        !clashesAfterMove(s, watch_.settings(), drop.train, track, drop.minutes, watch_.links())
             .empty();
    drop_ = drop;
    update();
}

void OccupancyChartView::cancelDrag() {
    pressed_.reset();
    drop_.reset();
    update();
}

void OccupancyChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_)
        return;
    const std::optional<Drop> drop = drop_;
    const int train = content_.bars[static_cast<std::size_t>(*pressed_)].occupancy.train;
    cancelDrag();
    if (!drop) {
        commands_.showTrain(train);
        return;
    }
    if (drop->allowed && (!drop->track.empty() || drop->minutes != 0))
        commands_.moveTrain(drop->train, drop->track, drop->minutes);
}

void OccupancyChartView::contextMenuEvent(QContextMenuEvent* event) {
    const auto bar = barUnder(event->pos());
    if (!bar)
        return;
    const Occupancy o = content_.bars[static_cast<std::size_t>(*bar)].occupancy;
    const Scenario& s = watch_.scenario();
    QMenu menu(this);
    menu.setObjectName("menuBarra");
    const int partner = unitPartner(watch_.links(), o.train);
    if (partner >= 0) {
        const bool arriving = hasArrival(s.treni[o.train]);
        const TrainLink link = arriving ? TrainLink{o.train, partner} : TrainLink{partner, o.train};
        menu.addAction(QString::fromStdString("&Scollega " + unitLabel(s, link)), this,
                       [this, o] { commands_.unlink(o.train); });
    } else if (o.kind == OccupancyKind::Terminating || o.kind == OccupancyKind::Starting) {
        const LinkSide side =
            o.kind == OccupancyKind::Terminating ? LinkSide::Onward : LinkSide::Back;
        menu.addAction(side == LinkSide::Onward ? "&Collega a… (prosegue come)"
                                                : "&Collega a… (proviene da)",
                       this, [this, o, side] { commands_.chooseLink(o.train, side); });
    }
    menu.addAction("&Mostra nell'editor", this, [this, o] { commands_.showTrain(o.train); });
    menu.exec(event->globalPos());
}

} // namespace zeb
