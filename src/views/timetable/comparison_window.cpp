#include "views/timetable/comparison_window.h"

#include "controls/file_names.h"
#include "model/counted.h"
#include "paper/paper_files.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "timetable/train_times.h"
#include "variants/day_names.h"
#include "views/common/date_field.h"
#include "views/common/dialog_prompts.h"
#include "views/common/sorted_cell.h"
#include "views/common/window_geometry.h"
#include "views/timetable/timetable_watch.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <climits>

namespace zeb {

namespace {
const char* const kLastNoticeDay = "avviso/giorno";
}

namespace {

constexpr int kKindRole = Qt::UserRole + 1; // "tolto", "aggiunto", "cambiato"
constexpr int kRowRole = Qt::UserRole + 2;  // the row's place in the window's rows

// The kinds the filter offers, with the key the rows carry; the first takes every row.
struct KindChoice {
    const char* text;
    const char* key;
};
constexpr KindChoice kKinds[] = {{"Tutte le differenze", ""},
                                 {"Treni cambiati", "cambiato"},
                                 {"Treni tolti", "tolto"},
                                 {"Treni aggiunti", "aggiunto"}};

const char* kindKey(TrainDifference::Kind kind) {
    switch (kind) {
    case TrainDifference::Kind::Removed:
        return "tolto";
    case TrainDifference::Kind::Added:
        return "aggiunto";
    default:
        return "cambiato";
    }
}

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

ComparisonWindow::ComparisonWindow(TimetableWatch& watch, std::function<bool(int)> showTrain,
                                   DialogPrompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), watch_(watch), showTrain_(std::move(showTrain)),
      prompts_(prompts), model_(new QStandardItemModel(this)),
      byKind_(new QSortFilterProxyModel(this)), byText_(new QSortFilterProxyModel(this)),
      baseName_(new QLabel), summary_(new QLabel), filterText_(new QLineEdit), kind_(new QComboBox),
      table_(new QTableView), day_(new QDateEdit) {
    setObjectName("confrontaScenari");
    new WindowGeometry(this, "confrontaScenari", QSize(900, 600));
    model_->setHorizontalHeaderLabels({"Numero", "Orario", "Cambiamento", "Prima", "Dopo"});
    byKind_->setSourceModel(model_);
    byKind_->setFilterRole(kKindRole);
    byText_->setSourceModel(byKind_);
    byText_->setFilterKeyColumn(-1);
    byText_->setFilterCaseSensitivity(Qt::CaseInsensitive);
    byText_->setSortRole(kSortKeyRole);

    baseName_->setObjectName("giornoBase");
    baseName_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    summary_->setObjectName("riepilogoConfronto");
    summary_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(baseName_);
    layout->addLayout(buildFilter());
    setUpTable();
    layout->addWidget(table_, 1);
    layout->addWidget(summary_);
    layout->addLayout(buildCommands());

    // Another scenario (or none) in the editor ends the comparison: its base was the old one's.
    connect(&watch_, &TimetableWatch::changed, this, [this](const ScenarioChange& change) {
        if (change.replaced) {
            basePath_.clear();
            base_ = Scenario{};
            model_->removeRows(0, model_->rowCount());
            hide();
        } else if (!basePath_.empty()) {
            refill();
        }
    });
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(byText_, signal, this, &ComparisonWindow::updateTitle);
    connect(byText_, &QAbstractItemModel::modelReset, this, &ComparisonWindow::updateTitle);
    updateTitle();
}

// The filter's row: its text (Ctrl+F reaches it) and the kind of difference.
QLayout* ComparisonWindow::buildFilter() {
    filterText_->setObjectName("filtroConfronto");
    filterText_->setPlaceholderText("Cerca per numero, orario, campo o valore");
    filterText_->setClearButtonEnabled(true);
    kind_->setObjectName("tipoDifferenza");
    for (const KindChoice& choice : kKinds)
        kind_->addItem(choice.text);
    auto* row = new QHBoxLayout;
    auto* label = new QLabel("&Filtro:");
    label->setBuddy(filterText_);
    row->addWidget(label);
    row->addWidget(filterText_, 1);
    row->addWidget(kind_);
    for (const QKeySequence& keys :
         {QKeySequence(Qt::CTRL | Qt::Key_W), QKeySequence(Qt::Key_Escape)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        filterText_->setFocus(Qt::ShortcutFocusReason);
        filterText_->selectAll();
    });
    connect(filterText_, &QLineEdit::textChanged, byText_,
            [this](const QString& text) { byText_->setFilterFixedString(text.trimmed()); });
    connect(kind_, &QComboBox::currentIndexChanged, this, [this](int index) {
        const QString key = kKinds[std::max(0, index)].key;
        byKind_->setFilterRegularExpression(
            key.isEmpty() ? QString() : "^" + QRegularExpression::escape(key) + "$");
    });
    return row;
}

void ComparisonWindow::setUpTable() {
    table_->setObjectName("differenze");
    table_->setModel(byText_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(1, Qt::AscendingOrder); // by time, as the differences come
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    connect(table_, &QTableView::activated, this, &ComparisonWindow::showRow);
}

// "Altro giorno…", "Esporta CSV…", the day of the notice and "Stampa avviso…".
QLayout* ComparisonWindow::buildCommands() {
    auto* row = new QHBoxLayout;
    auto* other = new QPushButton("&Altro giorno…");
    other->setObjectName("altroGiorno");
    auto* csv = new QPushButton("&Esporta CSV…");
    csv->setObjectName("esportaConfronto");
    day_->setObjectName("giornoAvviso");
    day_->setDisplayFormat("dd/MM/yyyy");
    day_->setCalendarPopup(true);
    auto* weekday = new QLabel;
    makeDateField(day_, weekday);
    auto* dayLabel = new QLabel("&Giorno dell'avviso:");
    dayLabel->setBuddy(day_);
    auto* notice = new QPushButton("&Stampa avviso…");
    notice->setObjectName("stampaAvviso");
    row->addWidget(other);
    row->addWidget(csv);
    row->addStretch(1);
    row->addWidget(dayLabel);
    row->addWidget(day_);
    row->addWidget(weekday);
    row->addWidget(notice);
    connect(other, &QPushButton::clicked, this, &ComparisonWindow::chooseBase);
    connect(csv, &QPushButton::clicked, this, &ComparisonWindow::exportCsv);
    connect(notice, &QPushButton::clicked, this, &ComparisonWindow::printNotice);
    return row;
}

bool ComparisonWindow::compareWith(const std::string& path) {
    Scenario read;
    read.nome_file_carica = path;
    try {
        Funzione_Carica(read);
    } catch (const ScenarioFileError& error) {
        prompts_.showMessage(error.message(), "Confronta con", MessageIcon::Exclamation,
                             MessageButtons::Ok);
        return false;
    }
    base_ = std::move(read);
    basePath_ = path;
    baseName_->setText("Differenze dello scenario aperto dal giorno " +
                       QFileInfo(qt(path)).fileName());
    baseName_->setToolTip(qt(path));
    refill();
    return true;
}

void ComparisonWindow::chooseBase() {
    const DialogPrompts::Over over(prompts_, this);
    if (const auto path =
            prompts_.askOpenFileName({"File Zebrano (*.zeb) ", "*.zeb", {}, {}, "Confronta con"}))
        compareWith(*path);
}

void ComparisonWindow::refill() {
    const Scenario& variant = watch_.scenario();
    differences_ = compareDays(base_, variant);
    rows_ = differenceRows(base_, variant, differences_);
    model_->removeRows(0, model_->rowCount());
    for (std::size_t k = 0; k < rows_.size(); ++k) {
        const DifferenceRow& row = rows_[k];
        bool isNumber = false;
        const qlonglong number = qt(row.number).toLongLong(&isNumber);
        QList<QStandardItem*> cells{
            sortedCell(row.number, isNumber ? QVariant(number) : QVariant(LLONG_MAX)),
            sortedCell(row.time, clockMinute(row.time).value_or(INT_MAX)),
            sortedCell(row.change, qt(row.change)), sortedCell(row.before, qt(row.before)),
            sortedCell(row.after, qt(row.after))};
        cells[0]->setData(kindKey(differences_[row.difference].kind), kKindRole);
        cells[0]->setData(static_cast<qlonglong>(k), kRowRole);
        model_->appendRow(cells);
    }
    table_->resizeColumnsToContents();
    summary_->setText(qt(differenceSummary(differences_)));
}

void ComparisonWindow::updateTitle() {
    setWindowTitle(
        QString("Confronto - %1 di %2 righe").arg(byText_->rowCount()).arg(model_->rowCount()));
}

// The train of a row, in the editor; a train the day no longer has is said below the table.
void ComparisonWindow::showRow(const QModelIndex& index) {
    const QModelIndex first = index.siblingAtColumn(0);
    const auto k = static_cast<std::size_t>(first.data(kRowRole).toLongLong());
    if (k >= rows_.size())
        return;
    const DifferenceRow& row = rows_[k];
    const int train = differences_[row.difference].variant;
    if (train < 0)
        summary_->setText(qt("Il treno " + row.number + " delle " + row.time +
                             " è stato tolto: nello scenario non c'è più."));
    else if (!showTrain_(train))
        summary_->setText("L'editor non può mostrare il treno ora: finire prima il treno nuovo.");
}

void ComparisonWindow::exportCsv() {
    const FileFilter filter{"File CSV (*.csv) ", "*.csv",
                            suggestedFileName(watch_.scenario().nome_stazione, "variazioni", "csv"),
                            "csv"};
    const DialogPrompts::Over over(prompts_, this);
    const auto chosen = prompts_.askSaveFileName(filter);
    if (!chosen)
        return;
    try {
        replaceFileContents(withExtension(*chosen, "csv"),
                            differencesCsv(base_, watch_.scenario(), differences_));
    } catch (const ScenarioFileError& error) {
        prompts_.showMessage(error.message(), "Esporta CSV", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    }
}

// The notice of the day chosen beside the button, as a PDF file.
void ComparisonWindow::startNoticeDay(const std::string& serviceDay) {
    QDate day = QDate::fromString(QString::fromStdString(serviceDay), Qt::ISODate);
    if (!day.isValid())
        day = QSettings().value(kLastNoticeDay).toDate();
    day_->setDate(day.isValid() ? day : QDate::currentDate());
}

void ComparisonWindow::printNotice() {
    const Scenario& variant = watch_.scenario();
    const FileFilter filter{"Documento PDF (*.pdf) ", "*.pdf",
                            suggestedFileName(variant.nome_stazione, "avviso", "pdf"), "pdf"};
    const DialogPrompts::Over over(prompts_, this);
    const auto chosen = prompts_.askSaveFileName(filter);
    if (!chosen)
        return;
    const QDate day = day_->date();
    QSettings().setValue(kLastNoticeDay, day);
    const date::sys_days when{date::year{day.year()} / static_cast<unsigned>(day.month()) /
                              static_cast<unsigned>(day.day())};
    const PaperFile file =
        writeNoticePdf(withExtension(*chosen, "pdf"), variant.nome_stazione, noticeDayLine(when),
                       noticeSections(base_, variant, differences_));
    if (file.written())
        summary_->setText(qt("Avviso scritto: " + counted(file.pages, "pagina", "pagine") + "."));
    else
        prompts_.showMessage("L'avviso non si può scrivere (" + file.error + ").", "Stampa avviso",
                             MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace zeb
