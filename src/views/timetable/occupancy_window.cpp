#include "views/timetable/occupancy_window.h"

#include "controls/file_names.h"
#include "paper/chart_pages.h"
#include "paper/paper_files.h"
#include "views/common/dialog_prompts.h"
#include "views/common/export_prompt.h"
#include "views/common/window_geometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace zeb {

namespace {

// What the bars' colours say, and what "Mostra ritardi" adds to them.
const char* const kLegend = "Blu: in transito · Verde: arriva e termina · Arancio: parte da qui · "
                            "Viola: arriva e riparte · Rosso: in conflitto · Tratteggio: soppresso";
const char* const kDelaysLegend =
    " · Sfumato: ritardo possibile · Cornice fucsia: a rischio di conflitto con i ritardi";

QPushButton* toolButton(const char* name, const QString& text) {
    auto* button = new QPushButton(text);
    button->setObjectName(name);
    return button;
}

} // namespace

OccupancyWindow::OccupancyWindow(TimetableWatch& watch, ChartCommands commands,
                                 DialogPrompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), watch_(watch), prompts_(prompts),
      chart_(new OccupancyChartView(watch, std::move(commands))), paper_(new QComboBox),
      hours_(new QSpinBox) {
    setObjectName("occupazioneBinari");
    setWindowTitle("Occupazione binari");
    new WindowGeometry(this, "occupazioneBinari", QSize(1000, 520));
    auto* buttons = new QHBoxLayout;
    auto* zoomIn = toolButton("ingrandisci", "&Ingrandisci");
    auto* zoomOut = toolButton("riduci", "&Riduci");
    auto* wholeDay = toolButton("giornataIntera", "&Giornata intera");
    auto* png = toolButton("esportaPng", "Esporta P&NG…");
    auto* pdf = toolButton("esportaPdf", "Esporta P&DF…");
    auto* paper = toolButton("stampa", "&Stampa…");
    zoomIn->setShortcut(QKeySequence::ZoomIn);
    zoomOut->setShortcut(QKeySequence::ZoomOut);
    wholeDay->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_0));
    for (QPushButton* button : {zoomIn, zoomOut, wholeDay})
        buttons->addWidget(button);
    buttons->addStretch(1);
    // The legend on a line of its own under the buttons, wrapping only where the window is narrow.
    auto* legend = new QLabel(kLegend);
    legend->setObjectName("legendaGrafico");
    legend->setWordWrap(true);
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
    // Beside the legend, which says what it adds.
    auto* delays = new QCheckBox("Mostra &ritardi");
    delays->setObjectName("mostraRitardi");
    auto* legendRow = new QHBoxLayout;
    legendRow->addWidget(delays, 0, Qt::AlignTop);
    legendRow->addWidget(legend, 1);
    layout->addLayout(legendRow);
    auto* chart = new QGridLayout;
    chart->setSpacing(0);
    chart->addWidget(chart_, 0, 0);
    chart->addWidget(&chart_->verticalBar(), 0, 1);
    chart->addWidget(&chart_->horizontalBar(), 1, 0);
    layout->addLayout(chart, 1);

    connect(delays, &QCheckBox::toggled, this, [this, legend](bool shown) {
        chart_->showDelays(shown);
        legend->setText(shown ? QString(kLegend) + kDelaysLegend : QString(kLegend));
    });
    connect(zoomIn, &QPushButton::clicked, this, [this] { chart_->zoom(1.25); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { chart_->zoom(0.8); });
    connect(wholeDay, &QPushButton::clicked, this, [this] { chart_->showWholeDay(); });
    connect(png, &QPushButton::clicked, this, &OccupancyWindow::askPng);
    connect(pdf, &QPushButton::clicked, this, [this] {
        askAndExport(prompts_, this, {"Esporta PDF", "Documento PDF", suggested("pdf"), "pdf"},
                     [this](const std::string& path) { return exportPdf(path).error; });
    });
    connect(paper, &QPushButton::clicked, this, &OccupancyWindow::print);
}

QString OccupancyWindow::suggested(const char* extension) const {
    return QString::fromStdString(
        suggestedFileName(watch_.scenario().nome_stazione, "occupazione binari", extension));
}

// What the picture holds is asked first: the hours in sight or the whole day.
void OccupancyWindow::askPng() {
    QMessageBox question(QMessageBox::Question, "Esporta PNG",
                         "Quale parte del grafico vuoi esportare?", QMessageBox::NoButton, this);
    question.setObjectName("partePng");
    auto* inSight = question.addButton("&Ore visibili", QMessageBox::AcceptRole);
    inSight->setObjectName("oreVisibili");
    auto* whole = question.addButton("&Giornata intera", QMessageBox::AcceptRole);
    whole->setObjectName("interaGiornata");
    question.addButton("Annulla", QMessageBox::RejectRole);
    question.setDefaultButton(inSight);
    prompts_.runDialog(question);
    if (question.clickedButton() != inSight && question.clickedButton() != whole)
        return;
    const bool wholeDay = question.clickedButton() == whole;
    askAndExport(
        prompts_, this, {"Esporta PNG", "Immagine PNG", suggested("png"), "png"},
        [this, wholeDay](const std::string& path) { return exportPng(path, wholeDay).error; });
}

PaperFile OccupancyWindow::exportPng(const std::string& path, bool wholeDay) {
    const ChartContent& content = chart_->content();
    const auto [first, last] = chart_->minutesInSight();
    const ChartPage hours = wholeDay ? ChartPage{content.firstMinute, content.lastMinute}
                                     : ChartPage{static_cast<int>(std::floor(first)),
                                                 static_cast<int>(std::ceil(last))};
    return writeChartPng(path, watch_.scenario(), content, hours,
                         chart_->mapping().pixelsPerMinute);
}

PaperFile OccupancyWindow::exportPdf(const std::string& path) {
    return writeChartPdf(path, watch_.scenario(), chart_->content(), hours_->value(),
                         paper_->currentIndex() == 1);
}

void OccupancyWindow::print() {
    QPrinter printer;
    printer.setPageLayout(chartPageLayout(paper_->currentIndex() == 1));
    QPrintDialog dialog(&printer, this);
    if (prompts_.runDialog(dialog) != QDialog::Accepted)
        return;
    paintChartPages(printer, watch_.scenario(), chart_->content(), hours_->value());
}

} // namespace zeb
