#include "views/tools/track_rules_dialog.h"

#include "controls/file_names.h"
#include "model/track_slots.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "track_rules/rule_matching.h"
#include "track_rules/rules_csv.h"
#include "views/common/dialog_prompts.h"
#include "views/common/window_geometry.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <QVBoxLayout>

namespace zeb {

namespace {

constexpr const char* kHeads[kRuleColumnCount] = {
    "Categoria", "Provenienza", "Destinazione", "Tipo", "Dalle", "Alle", "Preferiti", "Ammessi"};
constexpr const char* kTips[kRuleColumnCount] = {
    "Una delle 16 categorie; vuota per tutte",
    "Il nome della provenienza; * per qualunque testo, maiuscole e accenti non contano",
    "Il nome della destinazione; * per qualunque testo, maiuscole e accenti non contano",
    "passa, termina o parte; vuoto per tutti",
    "Dall'ora (7:40) del primo orario del treno; vuota per tutto il giorno",
    "All'ora (8:10), anche oltre la mezzanotte; vuota per tutto il giorno",
    "I binari preferiti, in ordine, separati da spazi (4 5)",
    "Gli altri binari ammessi quando i preferiti sono occupati; gli altri sono vietati"};

const FileFilter kRulesFilter{"File CSV (*.csv) ", "*.csv"};

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

TrackRulesDialog::TrackRulesDialog(const Scenario& scenario, TrackRules rules,
                                   DialogPrompts& prompts, QWidget* parent)
    : QDialog(parent), scenario_(scenario), rules_(std::move(rules)), prompts_(prompts),
      tracks_(stationTrackNames(scenario)), table_(new QTableWidget(0, kRuleColumnCount)),
      counts_(new QLabel), error_(new QLabel) {
    setObjectName("regoleBinari");
    setWindowTitle("Regole binari");
    auto* intro = new QLabel("Per ogni treno decide la prima regola che gli si applica: i suoi "
                             "binari preferiti, in ordine, poi gli ammessi quando i preferiti "
                             "sono occupati; gli altri binari gli sono vietati. Un treno che "
                             "nessuna regola prende usa qualunque binario.");
    intro->setWordWrap(true);
    table_->setObjectName("tabellaRegole");
    for (int k = 0; k < kRuleColumnCount; ++k) {
        auto* head = new QTableWidgetItem(kHeads[k]);
        head->setToolTip(kTips[k]);
        table_->setHorizontalHeaderItem(k, head);
    }
    // Every part in sight at once: the columns share the width.
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    const int column = table_->horizontalHeader()->fontMetrics().horizontalAdvance("Destinazione");
    table_->horizontalHeader()->setMinimumSectionSize(column + 18);
    table_->setMinimumWidth(kRuleColumnCount * (column + 18) + 48);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    counts_->setObjectName("conteggioRegole");
    counts_->setWordWrap(true);
    error_->setObjectName("erroreRegole");
    error_->setWordWrap(true);
    error_->setStyleSheet("color: #b00000");
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("applicaRegole");
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("annullaRegole");
    buttons->button(QDialogButtonBox::Cancel)->setText("Annulla");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(buildButtons());
    layout->addWidget(table_, 1);
    layout->addWidget(counts_);
    layout->addWidget(error_);
    layout->addWidget(buttons);
    connect(table_, &QTableWidget::itemChanged, this, &TrackRulesDialog::cellEdited);
    new WindowGeometry(this, "regoleBinari", QSize(900, 460));
    fillTable();
}

QLayout* TrackRulesDialog::buildButtons() {
    auto* row = new QHBoxLayout;
    auto button = [&](const char* text, const char* name, auto handler) {
        auto* b = new QPushButton(text);
        b->setObjectName(name);
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        row->addWidget(b);
    };
    button("&Aggiungi", "aggiungiRegola", [this] { addRule(); });
    button("&Rimuovi", "rimuoviRegola", [this] { removeRule(); });
    button("&Su", "suRegola", [this] { moveRule(-1); });
    button("&Giù", "giuRegola", [this] { moveRule(1); });
    row->addStretch(1);
    button("&Importa regole…", "importaRegole", [this] { importRules(); });
    button("&Esporta regole…", "esportaRegole", [this] { exportRules(); });
    return row;
}

void TrackRulesDialog::fillTable() {
    const QSignalBlocker quiet(table_);
    table_->setRowCount(static_cast<int>(rules_.size()));
    for (int r = 0; r < table_->rowCount(); ++r) {
        for (int k = 0; k < kRuleColumnCount; ++k)
            table_->setItem(r, k,
                            new QTableWidgetItem(qt(ruleCell(rules_[static_cast<std::size_t>(r)],
                                                             static_cast<RuleColumn>(k)))));
    }
    refreshCounts();
}

void TrackRulesDialog::cellEdited(QTableWidgetItem* item) {
    const auto r = static_cast<std::size_t>(item->row());
    const auto column = static_cast<RuleColumn>(item->column());
    TrackRule changed = rules_[r];
    const auto refused = setRuleCell(changed, column, item->text().toStdString(), tracks_);
    if (!refused)
        rules_[r] = changed;
    const QSignalBlocker quiet(table_);
    item->setText(qt(ruleCell(rules_[r], column))); // as the rule holds it, or as it was
    refreshCounts();
    if (refused)
        error_->setText(QString("Regola %1, %2: %3")
                            .arg(r + 1)
                            .arg(kRuleColumns[item->column()])
                            .arg(qt(*refused)));
}

void TrackRulesDialog::addRule() {
    const int row =
        table_->currentRow() < 0 ? static_cast<int>(rules_.size()) : table_->currentRow() + 1;
    rules_.insert(rules_.begin() + row, TrackRule{});
    fillTable();
    table_->setCurrentCell(row, static_cast<int>(RuleColumn::Preferiti));
    table_->editItem(table_->currentItem());
}

void TrackRulesDialog::removeRule() {
    const int row = table_->currentRow();
    if (row < 0 || row >= static_cast<int>(rules_.size()))
        return;
    rules_.erase(rules_.begin() + row);
    fillTable();
    table_->setCurrentCell(std::min(row, table_->rowCount() - 1), 0);
}

void TrackRulesDialog::moveRule(int step) {
    const int row = table_->currentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= static_cast<int>(rules_.size()))
        return;
    std::swap(rules_[static_cast<std::size_t>(row)], rules_[static_cast<std::size_t>(to)]);
    const int column = table_->currentColumn();
    fillTable();
    table_->setCurrentCell(to, std::max(column, 0));
}

void TrackRulesDialog::importRules() {
    const DialogPrompts::Over over(prompts_, this);
    const auto path = prompts_.askOpenFileName(kRulesFilter);
    if (!path)
        return;
    RulesImport read;
    try {
        read = importRulesCsv(readScenarioFile(*path), tracks_);
    } catch (const ScenarioFileError& error) {
        read.errors = {error.message()};
    }
    if (!read.errors.empty()) {
        std::string text = "Nessuna regola è stata importata:";
        for (const std::string& line : read.errors)
            text += "\r\n" + line;
        prompts_.showMessage(text, "Importa regole", MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    rules_ = std::move(read.rules);
    fillTable();
}

void TrackRulesDialog::exportRules() {
    const DialogPrompts::Over over(prompts_, this);
    FileFilter filter = kRulesFilter;
    filter.suggestedName = suggestedFileName(scenario_.nome_stazione, "regole binari", "csv");
    filter.extension = "csv";
    const auto chosen = prompts_.askSaveFileName(filter);
    if (!chosen)
        return;
    try {
        replaceFileContents(withExtension(*chosen, filter.extension), rulesCsv(rules_));
    } catch (const ScenarioFileError& error) {
        prompts_.showMessage(error.message(), "Esporta regole", MessageIcon::Exclamation,
                             MessageButtons::Ok);
    }
}

void TrackRulesDialog::refreshCounts() {
    counts_->setText(qt(trainsPerRuleText(scenario_, rules_)));
    showFirstFault();
}

// The first rule that cannot stand, said under the table; -1 when every rule can.
int TrackRulesDialog::showFirstFault() {
    error_->clear();
    for (std::size_t r = 0; r < rules_.size(); ++r) {
        if (const auto fault = ruleFault(rules_[r])) {
            error_->setText(QString("Regola %1: %2").arg(r + 1).arg(qt(*fault)));
            return static_cast<int>(r);
        }
    }
    return -1;
}

void TrackRulesDialog::accept() {
    if (const int faulty = showFirstFault(); faulty >= 0) {
        table_->setCurrentCell(faulty, 0);
        return;
    }
    QDialog::accept();
}

} // namespace zeb
