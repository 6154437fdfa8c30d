#include "views/timetable/train_table_window.h"

#include "bulk_edit/bulk_edit.h"
#include "model/counted.h"
#include "views/common/dialog_prompts.h"
#include "views/common/window_geometry.h"
#include "views/common/window_style.h"
#include "views/timetable/train_filter_model.h"
#include "views/timetable/train_table_model.h"
#include "views/tools/repeat_dialog.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

namespace zeb {

TrainTableWindow::TrainTableWindow(TimetableWatch& watch, TimetableCommands commands,
                                   DialogPrompts& prompts, QWidget* parent)
    : QWidget(parent, Qt::Window), watch_(watch), commands_(std::move(commands)), prompts_(prompts),
      model_(new TrainTableModel(watch, this)), filter_(new TrainFilterModel(this)),
      filterText_(new QLineEdit), onlyProblems_(new QCheckBox("Solo treni con &problemi")),
      onlyOutsideRules_(new QCheckBox("Solo fuori re&gola")), table_(new QTableView),
      findings_(new QListWidget) {
    setObjectName("quadroTreni");
    new WindowGeometry(this, "quadroTreni", QSize(1100, 640));
    filter_->setSourceModel(model_);
    model_->editLink = [this](int train, LinkSide side, const std::string& number) {
        if (commands_.available())
            commands_.link(train, side, number);
    };

    QLayout* filterRow = buildFilter();
    setUpTable();
    auto* splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(table_);
    splitter->addWidget(buildFindings());
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addLayout(buildCommands());
    layout->addWidget(splitter, 1);

    connect(filterText_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_->setFilterText(text);
        updateTitle();
    });
    connect(onlyProblems_, &QCheckBox::toggled, this, [this](bool only) {
        filter_->setOnlyProblems(only);
        updateTitle();
    });
    connect(onlyOutsideRules_, &QCheckBox::toggled, this, [this](bool only) {
        filter_->setOnlyOutsideRules(only);
        updateTitle();
    });
    // The filter drops a removed row before the table has; the title follows both.
    for (QAbstractItemModel* model :
         {static_cast<QAbstractItemModel*>(filter_), static_cast<QAbstractItemModel*>(model_)}) {
        for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(model, signal, this, &TrainTableWindow::updateTitle);
        connect(model, &QAbstractItemModel::modelReset, this, &TrainTableWindow::updateTitle);
    }
    connect(table_, &QTableView::activated, this, [this](const QModelIndex& index) {
        commands_.showTrain(filter_->mapToSource(index).row());
    });
    connect(&watch_, &TimetableWatch::findingsChanged, this, &TrainTableWindow::refillFindings);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TrainTableWindow::updateCommands);
    connect(&watch_, &TimetableWatch::changed, this, &TrainTableWindow::updateCommands);
    refillFindings();
    table_->resizeColumnsToContents();
    // Room for four digits beside the mark, whatever rows are in sight.
    const int position = fontMetrics().horizontalAdvance("2001") +
                         style()->pixelMetric(QStyle::PM_SmallIconSize) + 24;
    table_->setColumnWidth(TrainTableModel::Pos,
                           std::max(table_->columnWidth(TrainTableModel::Pos), position));
    updateTitle();
    updateCommands();
}

// The filter's row: its box, Ctrl+F to reach it from anywhere in the window, "Solo treni con
// problemi", "Solo fuori regola".
QLayout* TrainTableWindow::buildFilter() {
    filterText_->setObjectName("filtroTreni");
    filterText_->setPlaceholderText("Cerca per numero, provenienza, destinazione, fermate o note");
    filterText_->setClearButtonEnabled(true);
    onlyProblems_->setObjectName("soloProblemi");
    onlyOutsideRules_->setObjectName("soloFuoriRegola");
    onlyOutsideRules_->setToolTip("I treni su un binario che la loro regola non ammette");
    auto* row = new QHBoxLayout;
    auto* filterLabel = new QLabel("&Filtro:");
    filterLabel->setBuddy(filterText_);
    row->addWidget(filterLabel);
    // Ctrl+F reaches the filter from anywhere in the window.
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        filterText_->setFocus(Qt::ShortcutFocusReason);
        filterText_->selectAll();
    });
    row->addWidget(filterText_, 1);
    row->addWidget(onlyProblems_);
    row->addWidget(onlyOutsideRules_);

    return row;
}

void TrainTableWindow::setUpTable() {
    table_->setObjectName("tabellaTreni");
    table_->setModel(filter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(TrainTableModel::Pos, Qt::AscendingOrder);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Only the links' cells are editable: typed into, F2 or a double click; elsewhere a double
    // click or Enter shows the train in the editor.
    table_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::DoubleClicked);
    table_->installEventFilter(this);
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setWordWrap(false);
    // Compact rows, so that twenty and more show; Tab moves on to the next control.
    table_->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    table_->setTabKeyNavigation(false);
}

QLayout* TrainTableWindow::buildCommands() {
    repeat_ = new QPushButton("&Ripeti treno…");
    repeat_->setObjectName("ripetiTreno");
    shift_ = new QPushButton("Sposta &orari…");
    shift_->setObjectName("spostaOrari");
    remove_ = new QPushButton("&Elimina treni selezionati");
    remove_->setObjectName("eliminaSelezionati");
    assign_ = new QPushButton("Assegna &binari…");
    assign_->setObjectName("assegnaBinariSelezionati");
    perturb_ = new QPushButton("&Perturba…");
    perturb_->setObjectName("perturbaSelezionati");
    auto* row = new QHBoxLayout;
    for (QPushButton* button : {repeat_, shift_, remove_, assign_, perturb_}) {
        row->addWidget(button);
        table_->addAction(new QAction(button->text(), table_));
        connect(table_->actions().back(), &QAction::triggered, button, &QPushButton::click);
    }
    row->addStretch(1);
    table_->setContextMenuPolicy(Qt::ActionsContextMenu);
    QAction* removeAction = table_->actions()[2];
    removeAction->setShortcut(QKeySequence::Delete);
    removeAction->setShortcutContext(Qt::WidgetShortcut);
    connect(repeat_, &QPushButton::clicked, this, &TrainTableWindow::askRepeat);
    connect(shift_, &QPushButton::clicked, this, &TrainTableWindow::askShift);
    connect(remove_, &QPushButton::clicked, this, [this] { commands_.remove(selectedTrains()); });
    connect(assign_, &QPushButton::clicked, this,
            [this] { commands_.assignTracks(selectedTrains()); });
    connect(perturb_, &QPushButton::clicked, this, [this] { commands_.perturb(selectedTrains()); });
    return row;
}

bool TrainTableWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::ShortcutOverride &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_F2 &&
        static_cast<QKeyEvent*>(event)->modifiers() == Qt::NoModifier &&
        (table_->currentIndex().flags() & Qt::ItemIsEditable)) {
        event->accept();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

std::vector<int> TrainTableWindow::selectedTrains() const {
    std::vector<int> trains;
    for (const QModelIndex& row : table_->selectionModel()->selectedRows())
        trains.push_back(filter_->mapToSource(row).row());
    std::sort(trains.begin(), trains.end());
    return trains;
}

// Repeating takes one train, the others one or more, and none while the editor is busy.
void TrainTableWindow::updateCommands() {
    const std::size_t selected = selectedTrains().size();
    const bool available = commands_.available();
    repeat_->setEnabled(available && selected == 1);
    shift_->setEnabled(available && selected > 0);
    remove_->setEnabled(available && selected > 0);
    assign_->setEnabled(available && selected > 0);
    perturb_->setEnabled(available && selected > 0);
    const auto actions = table_->actions();
    for (int k = 0; k < actions.size(); ++k)
        actions[k]->setEnabled(
            std::array{repeat_, shift_, remove_, assign_, perturb_}[static_cast<std::size_t>(k)]
                ->isEnabled());
}

void TrainTableWindow::askRepeat() {
    const auto trains = selectedTrains();
    if (trains.size() != 1)
        return;
    RepeatDialog dialog(watch_.scenario(), watch_.settings(), trains.front(), this);
    if (prompts_.runDialog(dialog) == QDialog::Accepted)
        commands_.repeat(trains.front(), dialog.everyMinutes(), dialog.times(),
                         dialog.numberStep());
}

void TrainTableWindow::askShift() {
    const auto trains = selectedTrains();
    // The question says, before OK, how many of the trains would be in conflict, with which.
    QInputDialog dialog(this);
    dialog.setObjectName("spostaOrariDialogo");
    dialog.setWindowTitle("Sposta orari");
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(-1439, 1439);
    dialog.setIntValue(0);
    const QString question =
        QString("Di quanti minuti spostare gli orari di %1? (negativo: prima)")
            .arg(QString::fromStdString(countedTrains(static_cast<long>(trains.size()))));
    auto showClashes = [&](int minutes) {
        const ClashPreview preview =
            clashesOfShift(watch_.scenario(), watch_.settings(), trains, minutes);
        dialog.setLabelText(
            question + "\n" +
            QString::fromStdString(clashText(preview, static_cast<int>(trains.size()))));
    };
    connect(&dialog, &QInputDialog::intValueChanged, this, showClashes);
    showClashes(0);
    if (prompts_.runDialog(dialog) == QDialog::Accepted && dialog.intValue() != 0)
        commands_.shift(trains, dialog.intValue());
}

QWidget* TrainTableWindow::buildFindings() {
    findings_->setObjectName("elencoVerifica");
    separation_ = minutesBox("separazioneMinima", watch_.settings().separation);
    turnaround_ = minutesBox("sostaDopoArrivo", watch_.settings().turnaround);
    preparation_ = minutesBox("preparazionePartenza", watch_.settings().preparation);
    auto* settings = new QFormLayout;
    settings->addRow("Distanza minima tra due treni:", separation_);
    settings->addRow("Binario occupato dopo l'arrivo:", turnaround_);
    settings->addRow("Binario occupato prima della partenza:", preparation_);
    for (QSpinBox* box : {separation_, turnaround_, preparation_})
        connect(box, &QSpinBox::valueChanged, this, &TrainTableWindow::applySettings);
    // Those of a scenario opened with its own.
    connect(&watch_, &TimetableWatch::settingsChanged, this, [this] {
        const CheckSettings& now = watch_.settings();
        for (auto [box, minutes] :
             {std::pair{separation_, now.separation}, std::pair{turnaround_, now.turnaround},
              std::pair{preparation_, now.preparation}}) {
            const QSignalBlocker block(box);
            box->setValue(minutes);
        }
    });

    connect(findings_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row < static_cast<int>(watch_.findings().size()))
            selectTrains(watch_.findings()[static_cast<std::size_t>(row)].trains);
    });
    connect(findings_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = findings_->row(item);
        if (row < 0 || row >= static_cast<int>(watch_.findings().size()))
            return; // the line that says there is nothing
        const auto& trains = watch_.findings()[static_cast<std::size_t>(row)].trains;
        if (trains.size() == 1)
            commands_.showTrain(trains.front());
    });

    auto* box = new QWidget;
    auto* layout = new QHBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(findings_, 1);
    layout->addLayout(settings);
    return box;
}

void TrainTableWindow::showFindings() {
    show();
    raise();
    activateWindow();
    findings_->setFocus();
    if (findings_->count() > 0)
        findings_->setCurrentRow(0);
}

void TrainTableWindow::refillFindings() {
    const int current = findings_->currentRow();
    findings_->clear();
    const QIcon error = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    const QIcon warning = style()->standardIcon(QStyle::SP_MessageBoxWarning);
    for (const Finding& finding : watch_.findings())
        new QListWidgetItem(finding.severity == Severity::Error ? error : warning,
                            QString::fromStdString(finding.message), findings_);
    if (findings_->count() == 0)
        new QListWidgetItem("Nessun problema trovato.", findings_);
    else if (current >= 0 && current < findings_->count())
        findings_->setCurrentRow(current, QItemSelectionModel::NoUpdate);
}

void TrainTableWindow::selectTrains(const std::vector<int>& trains) {
    QItemSelection selection;
    for (int train : trains) {
        const QModelIndex row = filter_->mapFromSource(model_->index(train, 0));
        if (row.isValid())
            selection.select(row, row.siblingAtColumn(TrainTableModel::ColumnCount - 1));
    }
    table_->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!selection.isEmpty())
        table_->scrollTo(selection.indexes().front());
}

void TrainTableWindow::updateTitle() {
    setWindowTitle(QString("Quadro treni - %1 di %2")
                       .arg(filter_->rowCount())
                       .arg(QString::fromStdString(countedTrains(model_->rowCount()))));
}

void TrainTableWindow::applySettings() {
    CheckSettings settings = watch_.settings(); // the minutes the table has no box for stay
    settings.separation = separation_->value();
    settings.turnaround = turnaround_->value();
    settings.preparation = preparation_->value();
    watch_.editSettings(settings);
}

} // namespace zeb
