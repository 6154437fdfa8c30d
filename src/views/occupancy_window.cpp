#include "views/occupancy_window.h"

#include "controls/file_names.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"
#include "track_assignment/track_assignment.h"
#include "views/export_prompt.h"
#include "views/occupancy_chart_painter.h"
#include "views/paper_files.h"
#include "views/window_geometry.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace zeb {

namespace {

constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 12.0;

QPushButton* toolButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

OccupancyChartView::OccupancyChartView(TimetableWatch& watch, ChartCommands commands,
                                       QWidget* parent)
    : QWidget(parent), watch_(watch), commands_(std::move(commands)) {
    setObjectName("graficoOccupazione");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    connect(&watch_, &TimetableWatch::findingsChanged, this, &OccupancyChartView::rebuild);
    rebuild();
}

void OccupancyChartView::rebuild() {
    content_ = chartContent(watch_.scenario(), watch_.settings());
    mapping_ = mappingFor(content_, pixelsPerMinute_);
    setFixedSize(static_cast<int>(mapping_.width()),
                 static_cast<int>(mapping_.height(static_cast<int>(content_.rows.size()))));
    update();
}

void OccupancyChartView::zoom(double factor) {
    pixelsPerMinute_ = std::clamp(pixelsPerMinute_ * factor, kMinZoom, kMaxZoom);
    rebuild();
}

void OccupancyChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintOccupancyChart(painter, watch_.scenario(), content_, mapping_);
    if (const auto chosen = barOfTrain(chosenTrain_)) {
        const BarBox box =
            barBox(content_, mapping_, content_.bars[static_cast<std::size_t>(*chosen)]);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRectF(box.left - 2, box.top - 2, box.width + 4, box.height + 4));
    }
    paintDrop(painter);
}

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
    painter.drawRect(QRectF(left, top, box.width, mapping_.rowHeight - 6));
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

void OccupancyChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    pressed_ = barAt(content_, mapping_, event->position().x(), event->position().y());
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
    drop.clashes = !clashesAfterMove(s, watch_.settings(), drop.train, track, drop.minutes).empty();
    drop_ = drop;
    update();
}

void OccupancyChartView::cancelDrag() {
    pressed_.reset();
    drop_.reset();
    update();
}

bool OccupancyChartView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const auto bar = barAt(content_, mapping_, help->pos().x(), help->pos().y());
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

void OccupancyChartView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && drop_) {
        cancelDrag();
        return;
    }
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

void OccupancyChartView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore(); // the scroll area scrolls
        return;
    }
    zoom(event->angleDelta().y() > 0 ? 1.25 : 0.8);
    event->accept();
}

OccupancyWindow::OccupancyWindow(TimetableWatch& watch, ChartCommands commands, QWidget* parent)
    : QWidget(parent, Qt::Window), watch_(watch),
      chart_(new OccupancyChartView(watch, std::move(commands))), scroll_(new QScrollArea),
      paper_(new QComboBox), hours_(new QSpinBox) {
    setObjectName("occupazioneBinari");
    setWindowTitle("Occupazione binari");
    new WindowGeometry(this, "occupazioneBinari", QSize(1000, 520));
    scroll_->setWidget(chart_);
    scroll_->setBackgroundRole(QPalette::Base);

    auto* buttons = new QHBoxLayout;
    auto* zoomIn = toolButton("ingrandisci", "&Ingrandisci");
    auto* zoomOut = toolButton("riduci", "&Riduci");
    auto* png = toolButton("esportaPng", "Esporta P&NG…");
    auto* pdf = toolButton("esportaPdf", "Esporta P&DF…");
    auto* paper = toolButton("stampa", "&Stampa…");
    for (QPushButton* button : {zoomIn, zoomOut})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* legend = new QLabel("Blu: in transito · Verde: arriva e termina · Arancio: parte da "
                              "qui · Rosso: in conflitto");
    buttons->addWidget(legend);
    buttons->addStretch(1);
    // The paper: its size and the hours a page shows.
    paper_->setObjectName("formatoCarta");
    paper_->addItems({"A4", "A3"});
    hours_->setObjectName("oreFoglio");
    hours_->setRange(1, 24);
    hours_->setValue(4);
    hours_->setSuffix(" ore per foglio");
    buttons->addWidget(paper_);
    buttons->addWidget(hours_);
    for (QPushButton* button : {png, pdf, paper})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(scroll_, 1);

    connect(zoomIn, &QPushButton::clicked, this, [this] { chart_->zoom(1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { chart_->zoom(0.8); });
    connect(png, &QPushButton::clicked, this, [this] {
        askAndExport(this, "Esporta PNG", "Immagine PNG (*.png)", suggested("png"), "png",
                     [this](const QString& path) { return exportPng(path); });
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        askAndExport(this, "Esporta PDF", "Documento PDF (*.pdf)", suggested("pdf"), "pdf",
                     [this](const QString& path) { return exportPdf(path); });
    });
    connect(paper, &QPushButton::clicked, this, &OccupancyWindow::print);
}

QString OccupancyWindow::suggested(const char* extension) const {
    return QString::fromStdString(
        suggestedFileName(watch_.scenario().nome_stazione, "occupazione binari", extension));
}

bool OccupancyWindow::exportPng(const QString& path) {
    return writeChartPng(path, watch_.scenario(), chart_->content(),
                         chart_->mapping().pixelsPerMinute);
}

bool OccupancyWindow::exportPdf(const QString& path) {
    return writeChartPdf(path, watch_.scenario(), chart_->content(), hours_->value(),
                         paper_->currentIndex() == 1);
}

void OccupancyWindow::print() {
    QPrinter printer;
    printer.setPageLayout(chartPageLayout(paper_->currentIndex() == 1));
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    paintChartPages(printer, watch_.scenario(), chart_->content(), hours_->value());
}

} // namespace zeb
