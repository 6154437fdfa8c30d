#include "views/occupancy_window.h"

#include "timetable/train_times.h"
#include "views/export_prompt.h"
#include "views/occupancy_chart_painter.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QToolTip>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

namespace zeb {

namespace {

constexpr double kMinZoom = 0.5;
constexpr double kMaxZoom = 12.0;

QPushButton* toolButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

// The chart scaled to fit `page` (in the device's pixels), kept in proportion.
void paintFitted(QPainter& painter, const QRectF& page, const Scenario& s,
                 const ChartContent& content, const ChartMapping& mapping) {
    const QSizeF size(mapping.width(), mapping.height(static_cast<int>(content.rows.size())));
    const double scale = std::min(page.width() / size.width(), page.height() / size.height());
    painter.translate(page.topLeft());
    painter.scale(scale, scale);
    paintOccupancyChart(painter, s, content, mapping);
}

} // namespace

OccupancyChartView::OccupancyChartView(TimetableWatch& watch, std::function<bool(int)> showTrain,
                                       QWidget* parent)
    : QWidget(parent), watch_(watch), showTrain_(std::move(showTrain)) {
    setObjectName("graficoOccupazione");
    setMouseTracking(true);
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
    if (event->button() != Qt::LeftButton)
        return;
    if (const auto bar = barAt(content_, mapping_, event->position().x(), event->position().y()))
        showTrain_(content_.bars[static_cast<std::size_t>(*bar)].occupancy.train);
}

void OccupancyChartView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        event->ignore(); // the scroll area scrolls
        return;
    }
    zoom(event->angleDelta().y() > 0 ? 1.25 : 0.8);
    event->accept();
}

OccupancyWindow::OccupancyWindow(TimetableWatch& watch, std::function<bool(int)> showTrain,
                                 QWidget* parent)
    : QWidget(parent, Qt::Window), watch_(watch),
      chart_(new OccupancyChartView(watch, std::move(showTrain))), scroll_(new QScrollArea) {
    setObjectName("occupazioneBinari");
    setWindowTitle("Occupazione binari");
    resize(1000, 520);
    scroll_->setWidget(chart_);
    scroll_->setBackgroundRole(QPalette::Base);

    auto* buttons = new QHBoxLayout;
    auto* zoomIn = toolButton("ingrandisci", "Ingrandisci");
    auto* zoomOut = toolButton("riduci", "Riduci");
    auto* png = toolButton("esportaPng", "Esporta PNG…");
    auto* pdf = toolButton("esportaPdf", "Esporta PDF…");
    auto* paper = toolButton("stampa", "Stampa…");
    for (QPushButton* button : {zoomIn, zoomOut})
        buttons->addWidget(button);
    buttons->addStretch(1);
    auto* legend = new QLabel("Blu: in transito · Verde: arriva e termina · Arancio: parte da "
                              "qui · Rosso: in conflitto");
    buttons->addWidget(legend);
    buttons->addStretch(1);
    for (QPushButton* button : {png, pdf, paper})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(scroll_, 1);

    connect(zoomIn, &QPushButton::clicked, this, [this] { chart_->zoom(1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { chart_->zoom(0.8); });
    connect(png, &QPushButton::clicked, this, [this] {
        askAndExport(this, "Esporta PNG", "Immagine PNG (*.png)",
                     [this](const QString& path) { return exportPng(path); });
    });
    connect(pdf, &QPushButton::clicked, this, [this] {
        askAndExport(this, "Esporta PDF", "Documento PDF (*.pdf)",
                     [this](const QString& path) { return exportPdf(path); });
    });
    connect(paper, &QPushButton::clicked, this, &OccupancyWindow::print);
}

bool OccupancyWindow::exportPng(const QString& path) {
    QImage image(chart_->size(), QImage::Format_RGB32);
    QPainter painter(&image);
    paintOccupancyChart(painter, watch_.scenario(), chart_->content(), chart_->mapping());
    painter.end();
    return image.save(path, "PNG");
}

bool OccupancyWindow::exportPdf(const QString& path) {
    QPdfWriter writer(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setTitle("Occupazione binari");
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    paintFitted(painter, QRectF(0, 0, writer.width(), writer.height()), watch_.scenario(),
                chart_->content(), chart_->mapping());
    return painter.end();
}

void OccupancyWindow::print() {
    QPrinter printer;
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    QPainter painter(&printer);
    paintFitted(painter, printer.pageLayout().paintRectPixels(printer.resolution()).toRectF(),
                watch_.scenario(), chart_->content(), chart_->mapping());
}

} // namespace zeb
