#include "views/timetable/risk_window.h"

#include "controls/file_names.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "views/common/dialog_prompts.h"
#include "views/common/sorted_cell.h"
#include "views/common/window_geometry.h"
#include "views/timetable/timetable_watch.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTableView>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

namespace zeb {

namespace {

constexpr int kTrainRole = Qt::UserRole + 2;

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

// A sentence whose shares do not break from their sign at the end of a line.
QString unbroken(const std::string& text) {
    return qt(text).replace(" %", QString(QChar(0x00A0)) + "%");
}

} // namespace

// What one thread works on: copies, so that the editor may go on changing the scenario.
struct RiskWindow::Job {
    Scenario s;
    TrainLinks links;
    DelayRiskSettings settings;
    DelayRisk result;
    std::atomic<bool> stop{false};
    std::atomic<int> done{0};
};

RiskWindow::RiskWindow(TimetableWatch& watch, std::function<bool(int)> showTrain,
                       DialogPrompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), watch_(watch), showTrain_(std::move(showTrain)),
      prompts_(prompts), model_(new QStandardItemModel(this)),
      sorted_(new QSortFilterProxyModel(this)), table_(new QTableView), summary_(new QLabel),
      tracks_(new QLabel), runs_(new QSpinBox), seed_(new QSpinBox), most_(new QCheckBox),
      progress_(new QProgressBar), progressTimer_(new QTimer(this)) {
    setObjectName("rischioRitardi");
    setWindowTitle("Rischio ritardi");
    new WindowGeometry(this, "rischioRitardi", QSize(820, 560));
    summary_->setObjectName("riepilogoRischio");
    summary_->setWordWrap(true);
    tracks_->setObjectName("binariRischio");
    tracks_->setWordWrap(true);
    progress_->setObjectName("avanzamentoRischio");
    progress_->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buildSettings());
    layout->addWidget(summary_);
    layout->addWidget(tracks_);
    setUpTable();
    layout->addWidget(table_, 1);
    auto* bottom = new QHBoxLayout;
    auto* csv = new QPushButton("&Esporta CSV…");
    csv->setObjectName("esportaRischio");
    bottom->addWidget(progress_, 1);
    bottom->addStretch();
    bottom->addWidget(csv);
    layout->addLayout(bottom);
    connect(csv, &QPushButton::clicked, this, &RiskWindow::exportCsv);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    connect(&watch_, &TimetableWatch::changed, this, [this] { restart(); });
    connect(&watch_, &TimetableWatch::settingsChanged, this, [this] { restart(); });
    connect(progressTimer_, &QTimer::timeout, this, [this] {
        if (job_)
            progress_->setValue(job_->done.load());
    });
}

RiskWindow::~RiskWindow() {
    // Closing moves the focus out of a box, whose edit would restart the runs on a window half
    // gone: its settings say nothing more.
    for (QWidget* box : std::initializer_list<QWidget*>{runs_, seed_, most_})
        box->disconnect(this);
    if (worker_ != nullptr) {
        job_->stop = true;
        worker_->wait();
    }
}

// The runs, the seed of the first and the day at the most delays.
QLayout* RiskWindow::buildSettings() {
    auto* row = new QHBoxLayout;
    runs_->setObjectName("simulazioniRischio");
    runs_->setRange(100, 100000);
    runs_->setSingleStep(100);
    runs_->setValue(1000);
    seed_->setObjectName("semeRischio");
    seed_->setRange(0, 1'000'000'000);
    seed_->setValue(1);
    most_->setObjectName("massimoRischio");
    most_->setText("Ogni treno al suo ritardo &massimo");
    auto* runsLabel = new QLabel("&Simulazioni:");
    runsLabel->setBuddy(runs_);
    auto* seedLabel = new QLabel("S&eme:");
    seedLabel->setBuddy(seed_);
    row->addWidget(runsLabel);
    row->addWidget(runs_);
    row->addWidget(seedLabel);
    row->addWidget(seed_);
    row->addWidget(most_);
    row->addStretch();
    for (QSpinBox* box : {runs_, seed_})
        connect(box, &QSpinBox::editingFinished, this, [this] { restart(); });
    connect(most_, &QCheckBox::toggled, this, [this](bool most) {
        runs_->setEnabled(!most);
        seed_->setEnabled(!most);
        restart();
    });
    return row;
}

void RiskWindow::setUpTable() {
    model_->setHorizontalHeaderLabels(
        {"Treno", "Ora", "Binario", "Indice ritardo", "Quota conflitti", "Con"});
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(kSortKeyRole);
    table_->setObjectName("treniARischio");
    table_->setModel(sorted_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(4, Qt::DescendingOrder); // the trains most at risk first
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& index) {
        showTrain_(sorted_->data(index.siblingAtColumn(0), kTrainRole).toInt());
    });
}

void RiskWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (stale_)
        restart();
}

void RiskWindow::restart() {
    stale_ = true;
    if (!isVisible())
        return; // again when shown
    if (worker_ != nullptr) {
        job_->stop = true; // the new run starts once this one has stopped
        return;
    }
    startJob();
}

void RiskWindow::startJob() {
    stale_ = false;
    job_ = std::make_unique<Job>();
    job_->s = watch_.scenario();
    job_->links = watch_.links();
    job_->settings = {.runs = runs_->value(),
                      .seed = static_cast<std::uint64_t>(seed_->value()),
                      .most = most_->isChecked(),
                      .check = watch_.settings()};
    progress_->setRange(0, job_->settings.most ? 1 : job_->settings.runs);
    progress_->setValue(0);
    progress_->show();
    progressTimer_->start(100);
    Job* job = job_.get();
    worker_ = QThread::create([job] {
        job->result = measureDelayRisk(job->s, job->links, job->settings, [job](int done, int) {
            job->done = done;
            return !job->stop.load();
        });
    });
    connect(worker_, &QThread::finished, this, &RiskWindow::jobFinished);
    worker_->start();
}

void RiskWindow::jobFinished() {
    worker_->deleteLater();
    worker_ = nullptr;
    progressTimer_->stop();
    progress_->hide();
    if (stale_ || job_->result.cancelled) {
        restart();
        return;
    }
    risk_ = std::move(job_->result);
    shownSettings_ = job_->settings;
    rows_ = riskRows(job_->s, risk_);
    fill();
}

void RiskWindow::fill() {
    summary_->setText(unbroken(riskSummary(risk_, shownSettings_)));
    QStringList tracks;
    for (const auto& [track, share] : risk_.tracks)
        tracks << unbroken(trackRiskLine(track, share, shownSettings_.most));
    tracks_->setText(tracks.join("; "));
    tracks_->setVisible(!tracks.isEmpty());
    model_->removeRows(0, model_->rowCount());
    for (const RiskRow& row : rows_) {
        QList<QStandardItem*> items{sortedCell(row.number, qt(row.number).rightJustified(10, ' ')),
                                    sortedCell(row.time, qt(row.time)),
                                    sortedCell(row.track, qt(row.track).rightJustified(8, ' ')),
                                    sortedCell(row.index, qt(row.index)),
                                    sortedCell(percentText(row.share), row.share),
                                    sortedCell(row.with, qt(row.with))};
        items[0]->setData(row.train, kTrainRole);
        model_->appendRow(items);
    }
}

void RiskWindow::exportCsv() {
    FileFilter filter{"File CSV (*.csv) ", "*.csv"};
    filter.suggestedName =
        suggestedFileName(watch_.scenario().nome_stazione, "rischio ritardi", "csv");
    filter.extension = "csv";
    const DialogPrompts::Over over(prompts_, this);
    const auto chosen = prompts_.askSaveFileName(filter);
    if (!chosen)
        return;
    try {
        replaceFileContents(withExtension(*chosen, filter.extension), riskCsv(rows_));
    } catch (const ScenarioFileError& error) {
        prompts_.showMessage(error.message(), "Esporta CSV", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    }
}

} // namespace zeb
