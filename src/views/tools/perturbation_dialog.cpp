#include "views/tools/perturbation_dialog.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "text/numbers.h"
#include "track_assignment/track_assignment.h"
#include "views/common/preview_foot.h"
#include "views/common/window_geometry.h"
#include "views/common/window_style.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <numeric>

namespace zeb {

PerturbationDialog::PerturbationDialog(const Scenario& scenario, const CheckSettings& settings,
                                       const TrainLinks& links, const TrackRules& rules,
                                       std::vector<int> selected, QWidget* parent)
    : QDialog(parent), scenario_(scenario), settings_(settings), links_(links), rules_(rules),
      selected_(std::move(selected)), which_(new QComboBox), from_(new QTimeEdit),
      to_(new QTimeEdit), categories_(new QListWidget), place_(new QLineEdit), share_(new QSpinBox),
      seed_(new QSpinBox), action_(new QComboBox), track_(new QComboBox), delays_(new QLineEdit),
      preview_(new QPlainTextEdit), summary_(new QLabel) {
    setObjectName("perturbazioni");
    setWindowTitle("Perturbazioni");
    buildWidgets();
    layOut();
    restoreChoices();
    new WindowGeometry(this, "perturbazioni", QSize(640, 640));
    refresh();
}

namespace {

// The choices the dialog was last closed with, while the program runs: the next opening starts
// from them.
struct Choices {
    bool kept = false;
    QTime from, to;
    QStringList categories;
    QString place;
    int share = 100;
    int seed = 1;
    int action = 0;
    QString track;
    QString delays;
};

Choices& lastChoices() {
    static Choices choices;
    return choices;
}

} // namespace

void PerturbationDialog::restoreChoices() {
    const Choices& last = lastChoices();
    if (!last.kept)
        return;
    from_->setTime(last.from);
    to_->setTime(last.to);
    for (int k = 0; k < categories_->count(); ++k)
        categories_->item(k)->setCheckState(
            last.categories.contains(categories_->item(k)->text()) ? Qt::Checked : Qt::Unchecked);
    place_->setText(last.place);
    share_->setValue(last.share);
    seed_->setValue(last.seed);
    action_->setCurrentIndex(last.action);
    track_->setCurrentIndex(std::max(0, track_->findData(last.track)));
    delays_->setText(last.delays);
}

void PerturbationDialog::done(int result) {
    Choices& last = lastChoices();
    last = {true,
            from_->time(),
            to_->time(),
            {},
            place_->text(),
            share_->value(),
            seed_->value(),
            action_->currentIndex(),
            track_->currentData().toString(),
            delays_->text()};
    for (int k = 0; k < categories_->count(); ++k) {
        if (categories_->item(k)->checkState() == Qt::Checked)
            last.categories << categories_->item(k)->text();
    }
    QDialog::done(result);
}

void PerturbationDialog::buildWidgets() {
    which_->setObjectName("trenPerturbati");
    which_->addItem("Treni scelti qui sotto");
    if (!selected_.empty()) {
        which_->addItem(QString("Treni selezionati nel quadro (%1)").arg(selected_.size()));
        which_->setCurrentIndex(1);
    }
    from_->setObjectName("perturbaDalle");
    to_->setObjectName("perturbaAlle");
    to_->setTime(QTime(23, 59));
    categories_->setObjectName("perturbaCategorie");
    for (std::string_view name : kCategorie) {
        auto* item = new QListWidgetItem(QString::fromStdString(std::string(name)), categories_);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    categories_->setMaximumHeight(fontMetrics().height() * 6);
    place_->setObjectName("perturbaLuogo");
    place_->setPlaceholderText("Provenienza o destinazione, anche in parte");
    share_->setObjectName("perturbaQuota");
    share_->setRange(0, 100);
    share_->setValue(100);
    share_->setSuffix(" %");
    seed_->setObjectName("perturbaSeme");
    seed_->setRange(0, 999999);
    seed_->setValue(1);
    action_->setObjectName("azionePerturbazione");
    for (const char* action :
         {"Sopprimi", "Limita qui", "Origine qui", "Cambia binario", "Ritardo"})
        action_->addItem(action);
    track_->setObjectName("perturbaBinario");
    track_->addItem("il primo binario libero", QString());
    for (const std::string& name : stationTrackNames(scenario_))
        track_->addItem(QString::fromStdString(name), QString::fromStdString(name));
    delays_->setObjectName("perturbaRitardi");
    delays_->setText("60,30,10");
    delays_->setToolTip("Le percentuali degli indici di ritardo 0, 1, 2, … in ordine");
    preview_->setObjectName("anteprimaPerturbazione");
    preview_->setReadOnly(true);
    summary_->setObjectName("riepilogoPerturbazione");
    summary_->setWordWrap(true);
    connect(which_, &QComboBox::currentIndexChanged, this, &PerturbationDialog::refresh);
    connect(from_, &QTimeEdit::timeChanged, this, &PerturbationDialog::refresh);
    connect(to_, &QTimeEdit::timeChanged, this, &PerturbationDialog::refresh);
    connect(categories_, &QListWidget::itemChanged, this, &PerturbationDialog::refresh);
    connect(place_, &QLineEdit::textChanged, this, &PerturbationDialog::refresh);
    connect(share_, &QSpinBox::valueChanged, this, &PerturbationDialog::refresh);
    connect(seed_, &QSpinBox::valueChanged, this, &PerturbationDialog::refresh);
    connect(action_, &QComboBox::currentIndexChanged, this, &PerturbationDialog::refresh);
    connect(track_, &QComboBox::currentIndexChanged, this, &PerturbationDialog::refresh);
    connect(delays_, &QLineEdit::textChanged, this, &PerturbationDialog::refresh);
}

void PerturbationDialog::layOut() {
    auto* form = new QFormLayout;
    auto row = [&](const char* caption, QWidget* widget) {
        auto* label = new QLabel(caption);
        label->setBuddy(widget);
        form->addRow(label, widget);
    };
    row("&Quali treni:", which_);
    addTimeWindowRow(*form, from_, to_);
    row("Ca&tegorie (nessuna: tutte):", categories_);
    row("&Luogo:", place_);
    row("Q&uota:", share_);
    row("S&eme:", seed_);
    row("&Che cosa:", action_);
    row("&Binario:", track_);
    row("&Ritardi:", delays_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    ok_ = addPreviewFoot(*this, *layout, preview_, summary_, "&Applica", "applicaPerturbazione");
}

TrainFilter PerturbationDialog::filter() const {
    TrainFilter f;
    f.from = from_->time().hour() * 60 + from_->time().minute();
    f.to = to_->time().hour() * 60 + to_->time().minute();
    for (int k = 0; k < categories_->count(); ++k) {
        if (categories_->item(k)->checkState() == Qt::Checked)
            f.categories.push_back(categories_->item(k)->text().toStdString());
    }
    f.place = place_->text().trimmed().toStdString();
    f.sharePercent = share_->value();
    f.seed = static_cast<std::uint64_t>(seed_->value());
    return f;
}

// "; fuori regola: prima 0, dopo 2", with the station's rules only.
QString PerturbationDialog::ruleBreaches(const Scenario& after) const {
    if (rules_.empty())
        return {};
    return QString("; fuori regola: prima %1, dopo %2")
        .arg(trackQuality(scenario_, settings_, links_, rules_, 0).outsideRules)
        .arg(trackQuality(after, settings_, links_, rules_, 0).outsideRules);
}

void PerturbationDialog::refresh() {
    const bool bySelection = which_->currentIndex() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{from_, to_, categories_, place_, share_})
        w->setEnabled(!bySelection);
    const auto action = static_cast<Perturbation::Action>(action_->currentIndex());
    track_->setEnabled(action == Perturbation::Action::ChangeTrack);
    delays_->setEnabled(action == Perturbation::Action::Delay);
    perturbation_ = {.action = action,
                     .track = track_->currentData().toString().toStdString(),
                     .delayShares = {},
                     .seed = static_cast<std::uint64_t>(seed_->value())};
    bool sharesRead = true;
    for (const QString& part : delays_->text().split(',')) {
        const auto share = wholeNumber(part.trimmed().toStdString());
        sharesRead = sharesRead && share && *share >= 0 && *share <= 100;
        perturbation_.delayShares.push_back(share.value_or(0));
    }
    sharesRead = sharesRead && perturbation_.delayShares.size() <= 5 &&
                 std::accumulate(perturbation_.delayShares.begin(), perturbation_.delayShares.end(),
                                 0) == 100;
    trains_ = bySelection ? selected_ : filteredTrains(scenario_, filter());
    // The changes on a copy: the preview is what OK will do.
    Scenario after = scenario_;
    const std::vector<PerturbationChange> changes =
        perturb(after, trains_, perturbation_, settings_, links_, rules_);
    QStringList lines;
    for (const PerturbationChange& change : changes)
        lines << QString::fromStdString(change.text);
    if (changes.empty())
        lines << "Nessun treno cambia.";
    preview_->setPlainText(lines.join("\n"));
    const bool delaysWrong = action == Perturbation::Action::Delay && !sharesRead;
    summary_->setText(
        delaysWrong
            ? QString("I ritardi vogliono fino a cinque percentuali che facciano 100, come "
                      "«60,30,10».")
            : countedText(static_cast<long>(changes.size()), "treno cambia", "treni cambiano") +
                  QString("; conflitti: prima %1, dopo %2")
                      .arg(stationConflicts(scenario_, settings_, links_))
                      .arg(stationConflicts(after, settings_, links_)) +
                  ruleBreaches(after) + ".");
    ok_->setEnabled(!changes.empty() && !delaysWrong);
}

} // namespace zeb
