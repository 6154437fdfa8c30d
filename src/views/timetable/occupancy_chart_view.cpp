#include "views/timetable/occupancy_chart_view.h"

#include "delay_risk/delay_risk.h"

#include "layout/chart_sheet.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "paper/chart_painter.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "track_assignment/track_assignment.h"

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace zeb {

namespace {

constexpr double kMaxZoom = 12.0;

} // namespace

OccupancyChartView::OccupancyChartView(TimetableWatch& watch, ChartCommands commands,
                                       QWidget* parent)
    : QWidget(parent), watch_(watch), commands_(std::move(commands)),
      chosenTrain_(watch.shownTrain()), horizontal_(new QScrollBar(Qt::Horizontal, this)),
      vertical_(new QScrollBar(Qt::Vertical, this)) {
    setObjectName("graficoOccupazione");
    horizontal_->setObjectName("scorriOre");
    vertical_->setObjectName("scorriBinari");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(320, 160);
    connect(&watch_, &TimetableWatch::findingsChanged, this, &OccupancyChartView::rebuild);
    // The mark follows the editor; where the editor shows no train the chart keeps its own.
    connect(&watch_, &TimetableWatch::shownTrainChanged, this, [this](int, int current) {
        if (current >= 0 && current != chosenTrain_) {
            chosenTrain_ = current;
            if (isVisible() && !pressed_)
                bringIntoSight(current);
        }
        update();
    });
    for (QScrollBar* bar : {horizontal_, vertical_})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            mapping_.scrollX = horizontal_->value();
            mapping_.scrollY = vertical_->value();
            update();
        });
    rebuild();
}

void OccupancyChartView::showDelays(bool shown) {
    delays_ = shown;
    rebuild();
}

void OccupancyChartView::rebuild() {
    content_ = chartContent(watch_.scenario(), watch_.settings(), watch_.links());
    if (delays_) {
        const DelayRisk risk = measureDelayRisk(watch_.scenario(), watch_.links(),
                                                {.runs = 200, .check = watch_.settings()});
        addDelayTails(content_, watch_.scenario(), watch_.settings(), &risk);
    }
    remap();
    update();
}

double OccupancyChartView::fittedZoom() const {
    const double room = width() - mapping_.labelWidth - 40;
    return std::max(0.05, room / std::max(60, content_.lastMinute - content_.firstMinute));
}

void OccupancyChartView::remap() {
    const double labelWidth =
        std::min(180.0, rowLabelWidth(
                            [this](std::string_view text, double, bool) {
                                return fontMetrics().horizontalAdvance(QString::fromUtf8(
                                    text.data(), static_cast<qsizetype>(text.size())));
                            },
                            0, watch_.scenario(), content_) +
                            18);
    mapping_ = mappingFor(content_, pixelsPerMinute_);
    mapping_.labelWidth = labelWidth;
    pixelsPerMinute_ = std::clamp(pixelsPerMinute_, std::min(fittedZoom(), kMaxZoom), kMaxZoom);
    mapping_.pixelsPerMinute = pixelsPerMinute_;
    // Lanes leave a bar whose number does not fit on it room for the number beside it at this
    // zoom, up to half an hour, so that the numbers can be read.
    layLanes(content_,
             numberReach(
                 watch_.scenario(), content_,
                 [this](const std::string& number) {
                     return fontMetrics().horizontalAdvance(QString::fromStdString(number)) + 3;
                 },
                 pixelsPerMinute_, 30));
    // A row holding trains at once grows by a lane each, so that every bar keeps room for its
    // number.
    fitRowsToLanes(mapping_, content_, 16, mapping_.rowHeight);
    const int rows = static_cast<int>(content_.rows.size());
    horizontal_->setRange(0, std::max(0, static_cast<int>(std::ceil(mapping_.width() - width()))));
    horizontal_->setPageStep(std::max(1, width() - static_cast<int>(labelWidth)));
    horizontal_->setSingleStep(std::max(1, static_cast<int>(15 * pixelsPerMinute_)));
    vertical_->setRange(0,
                        std::max(0, static_cast<int>(std::ceil(mapping_.height(rows) - height()))));
    vertical_->setPageStep(std::max(1, height() - static_cast<int>(mapping_.axisHeight)));
    vertical_->setSingleStep(static_cast<int>(mapping_.rowHeight));
    mapping_.scrollX = horizontal_->value();
    mapping_.scrollY = vertical_->value();
}

void OccupancyChartView::zoom(double factor, std::optional<double> x) {
    const double at = x.value_or(mapping_.labelWidth + (width() - mapping_.labelWidth) / 2);
    const double minute = mapping_.minuteAt(at);
    pixelsPerMinute_ *= factor;
    remap();
    horizontal_->setValue(static_cast<int>(std::lround(
        (minute - mapping_.firstMinute) * pixelsPerMinute_ - (at - mapping_.labelWidth))));
    update();
}

void OccupancyChartView::showMinutes(double first, double last) {
    pixelsPerMinute_ = (width() - mapping_.labelWidth - 40) / std::max(1.0, last - first);
    remap();
    horizontal_->setValue(
        static_cast<int>(std::lround((first - mapping_.firstMinute) * pixelsPerMinute_)));
    update();
}

void OccupancyChartView::showWholeDay() {
    showMinutes(content_.firstMinute, content_.lastMinute);
}

std::pair<double, double> OccupancyChartView::minutesInSight() const {
    return {mapping_.minuteAt(mapping_.labelWidth), mapping_.minuteAt(width())};
}

// Three hours, the busiest; moved to the train the editor shows where it lies outside them.
void OccupancyChartView::openOnBusiestHours() {
    constexpr int kOpeningMinutes = 180;
    double first = busiestWindow(content_, kOpeningMinutes);
    if (const auto bar = barOfTrain(chosenTrain_)) {
        const ChartBar& shown = content_.bars[static_cast<std::size_t>(*bar)];
        if (shown.from < first || shown.to > first + kOpeningMinutes)
            first = std::max<double>(content_.firstMinute,
                                     (shown.from + shown.to) / 2.0 - kOpeningMinutes / 2.0);
    }
    showMinutes(first, first + kOpeningMinutes);
}

void OccupancyChartView::resizeEvent(QResizeEvent*) {
    remap();
}

void OccupancyChartView::showEvent(QShowEvent*) {
    if (opened_)
        return;
    opened_ = true;
    openOnBusiestHours();
}

void OccupancyChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintOccupancyChart(painter, watch_.scenario(), content_, mapping_,
                        {.size = QSizeF(size()), .delays = delays_});
    painter.setClipRect(QRectF(mapping_.labelWidth, mapping_.axisHeight,
                               width() - mapping_.labelWidth, height() - mapping_.axisHeight));
    if (const auto chosen = barOfTrain(chosenTrain_)) {
        const BarBox box =
            barBox(content_, mapping_, content_.bars[static_cast<std::size_t>(*chosen)]);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 3));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(box.left - 3, box.top - 3, box.width + 6, box.height + 6));
    }
    paintDrop(painter);
}

// The bar at a point, never one scrolled under the track names or the hours.
std::optional<int> OccupancyChartView::barUnder(QPointF point) const {
    if (point.x() < mapping_.labelWidth || point.y() < mapping_.axisHeight)
        return std::nullopt;
    return barAt(content_, mapping_, point.x(), point.y());
}

std::optional<int> OccupancyChartView::barOfTrain(int train) const {
    for (std::size_t i = 0; i < content_.bars.size(); ++i) {
        if (content_.bars[i].occupancy.train == train)
            return static_cast<int>(i);
    }
    return std::nullopt;
}

// The rows of the station's own tracks come first.
int OccupancyChartView::stationTrackRows() const {
    return static_cast<int>(stationTrackNames(watch_.scenario()).size());
}

bool OccupancyChartView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const int row = mapping_.rowAt(help->pos().y());
    if (help->pos().x() < mapping_.labelWidth && row >= 0 &&
        row < static_cast<int>(content_.rows.size())) {
        QToolTip::showText(help->globalPos(),
                           QString::fromStdString(rowLabel(watch_.scenario(), content_, row)),
                           this);
        return true;
    }
    const auto bar = barUnder(help->pos());
    if (!bar) {
        QToolTip::hideText();
        return true;
    }
    const Occupancy& o = content_.bars[static_cast<std::size_t>(*bar)].occupancy;
    const Treno& t = watch_.scenario().treni[o.train];
    QToolTip::showText(help->globalPos(),
                       QString::fromStdString(trainLabel(o.train, t) + ", " + t.categoria +
                                              ", binario " + o.track + ": dalle " +
                                              clockText(o.start) + " alle " + clockText(o.end)),
                       this);
    return true;
}

void OccupancyChartView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && drop_) {
        cancelDrag();
        return;
    }
    if (event->modifiers() == Qt::NoModifier && scrollByKey(event->key()))
        return;
    const auto bar = barOfTrain(chosenTrain_);
    if (!bar || !(event->modifiers() & Qt::AltModifier)) {
        QWidget::keyPressEvent(event);
        return;
    }
    const ChartBar& chosen = content_.bars[static_cast<std::size_t>(*bar)];
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        commands_.moveTrain(chosenTrain_, std::string(), event->key() == Qt::Key_Left ? -1 : 1);
        return;
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int row = chosen.row + (event->key() == Qt::Key_Up ? -1 : 1);
        if (row >= 0 && row < stationTrackRows())
            commands_.moveTrain(chosenTrain_, content_.rows[static_cast<std::size_t>(row)], 0);
        return;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

// The arrows scroll the hours and the tracks a step, Page Up and Page Down the hours a window,
// Home and End go to the day's first and last hour.
bool OccupancyChartView::scrollByKey(int key) {
    struct KeyScroll {
        int key;
        bool hours;
        QAbstractSlider::SliderAction action;
    };
    static constexpr KeyScroll kScrolls[] = {
        {Qt::Key_Left, true, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_Right, true, QAbstractSlider::SliderSingleStepAdd},
        {Qt::Key_PageUp, true, QAbstractSlider::SliderPageStepSub},
        {Qt::Key_PageDown, true, QAbstractSlider::SliderPageStepAdd},
        {Qt::Key_Home, true, QAbstractSlider::SliderToMinimum},
        {Qt::Key_End, true, QAbstractSlider::SliderToMaximum},
        {Qt::Key_Up, false, QAbstractSlider::SliderSingleStepSub},
        {Qt::Key_Down, false, QAbstractSlider::SliderSingleStepAdd}};
    for (const KeyScroll& scroll : kScrolls) {
        if (scroll.key == key) {
            (scroll.hours ? horizontal_ : vertical_)->triggerAction(scroll.action);
            return true;
        }
    }
    return false;
}

// The bar of the train the editor shows brought into sight, in the middle of the hours.
void OccupancyChartView::bringIntoSight(int train) {
    const auto bar = barOfTrain(train);
    if (!bar)
        return;
    const ChartBar& shown = content_.bars[static_cast<std::size_t>(*bar)];
    const auto [first, last] = minutesInSight();
    if (shown.from < first || shown.to > last) {
        const double middle = (shown.from + shown.to) / 2.0;
        horizontal_->setValue(static_cast<int>(
            std::lround((middle - mapping_.firstMinute) * mapping_.pixelsPerMinute -
                        (width() - mapping_.labelWidth) / 2)));
    }
    const double top = mapping_.rowTop(shown.row);
    if (top < mapping_.axisHeight || top + mapping_.heightOf(shown.row) > height())
        vertical_->setValue(static_cast<int>(top + mapping_.scrollY - mapping_.axisHeight));
}

// The wheel scrolls the hours, with Shift the tracks; with Ctrl it zooms around the pointer.
void OccupancyChartView::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    if (event->modifiers() & Qt::ControlModifier) {
        if (delta.y() != 0)
            zoom(delta.y() > 0 ? 1.25 : 0.8, event->position().x());
    } else if (event->modifiers() & Qt::ShiftModifier && delta.y() != 0) {
        vertical_->setValue(vertical_->value() - delta.y() * vertical_->singleStep() / 120);
    } else {
        const int steps = delta.x() != 0 ? delta.x() : delta.y();
        horizontal_->setValue(horizontal_->value() - steps * horizontal_->singleStep() / 120);
    }
    event->accept();
}

} // namespace zeb
