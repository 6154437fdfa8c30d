#include "views/tools/assign_tracks_dialog.h"

#include "delay_risk/risk_texts.h"
#include "model/track_slots.h"
#include "views/common/background_reading.h"
#include "views/common/preview_foot.h"
#include "views/common/window_geometry.h"
#include "views/common/window_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <new>

namespace zeb {

AssignTracksDialog::AssignTracksDialog(const Scenario& scenario, AssignmentOptions base,
                                       QWidget* parent)
    : QDialog(parent), scenario_(scenario), options_(std::move(base)), rules_(options_.rules),
      which_(new QComboBox),
      keepAssigned_(new QCheckBox("&Gli altri treni tengono il loro binario")),
      sameLine_(new QCheckBox("Treni della stessa &linea sullo stesso binario")),
      stubsForEnds_(new QCheckBox("Binari &tronchi solo per i treni che iniziano o terminano qui")),
      followRules_(new QCheckBox),
      reduceRisk_(new QCheckBox("Riduci i conflitti attesi con i ritar&di previsti")),
      buffer_(minutesBox("margine", options_.buffer)), timeLimit_(new QSpinBox),
      improve_(new QPushButton("&Migliora")), preview_(new QPlainTextEdit), summary_(new QLabel) {
    setObjectName("assegnaBinari");
    setWindowTitle("Assegna binari");
    followRules_->setObjectName("seguiRegole");
    followRules_->setText(
        rules_.empty()
            ? QString("Segui le &regole dei binari (nessuna regola)")
            : "Segui le &regole dei binari (" +
                  countedText(static_cast<long>(rules_.size()), "regola", "regole") + ")");
    followRules_->setChecked(!rules_.empty());
    followRules_->setEnabled(!rules_.empty());
    // Where no train may run late there is nothing to weigh: off, and said so.
    const bool late = mayRunLate(scenario);
    reduceRisk_->setObjectName("riduciRischio");
    reduceRisk_->setChecked(late);
    reduceRisk_->setEnabled(late);
    reduceRisk_->setToolTip(late ? QString("Dopo le regole, i binari dove i ritardi estratti "
                                           "dall'indice di ciascun treno causano meno conflitti")
                                 : QString("Nessun treno ha un indice di ritardo sopra \"0\""));
    buffer_->setMaximum(120);
    buffer_->setToolTip("Due treni di un binario più vicini di così, oltre la separazione, "
                        "sono evitati dove si può");
    timeLimit_->setObjectName("tempoMassimo");
    timeLimit_->setRange(1, 600);
    timeLimit_->setSuffix(" s");
    timeLimit_->setValue(std::max(1, static_cast<int>(options_.timeLimit)));
    improve_->setObjectName("miglioraAssegnazione");
    improve_->setAutoDefault(false);
    improve_->setToolTip("Cerca binari migliori per il tempo dato; Annulla tiene i migliori "
                         "trovati fin lì");

    setUpWhich();
    QGroupBox* allowed = buildAllowedTracks(scenario);
    const bool numbered = hasNumberedTrack(scenario);
    keepAssigned_->setObjectName("mantieniAssegnati");
    keepAssigned_->setChecked(true);
    sameLine_->setObjectName("stessaLinea");
    sameLine_->setChecked(true);
    stubsForEnds_->setObjectName("tronchiSoloCapolinea");
    stubsForEnds_->setChecked(numbered);
    preview_->setObjectName("anteprimaAssegnazione");
    preview_->setReadOnly(true);
    summary_->setObjectName("riepilogoAssegnazione");
    summary_->setWordWrap(true);

    layOut(allowed);
    connect(which_, &QComboBox::currentIndexChanged, this, &AssignTracksDialog::refresh);
    for (QCheckBox* box : {keepAssigned_, sameLine_, stubsForEnds_, followRules_, reduceRisk_})
        connect(box, &QCheckBox::toggled, this, &AssignTracksDialog::refresh);
    connect(buffer_, &QSpinBox::valueChanged, this, &AssignTracksDialog::refresh);
    connect(improve_, &QPushButton::clicked, this, &AssignTracksDialog::improve);
    new WindowGeometry(this, "assegnaBinari", QSize(640, 560));
    refresh();
}

void AssignTracksDialog::setUpWhich() {
    which_->setObjectName("qualiTreni");
    which_->addItem("Treni senza un binario della stazione",
                    static_cast<int>(TrainsToAssign::WithoutTrack));
    which_->addItem("Treni in conflitto", static_cast<int>(TrainsToAssign::InConflict));
    which_->addItem("Treni fuori regola", static_cast<int>(TrainsToAssign::OutsideRules));
    if (!options_.selected.empty())
        which_->addItem(QString("Treni selezionati (%1)").arg(options_.selected.size()),
                        static_cast<int>(TrainsToAssign::Selected));
    which_->addItem("Tutti i treni", static_cast<int>(TrainsToAssign::All));
    if (!options_.selected.empty())
        which_->setCurrentIndex(which_->findData(static_cast<int>(TrainsToAssign::Selected)));
}

// A box a track, each ticked, eight to a row.
QGroupBox* AssignTracksDialog::buildAllowedTracks(const Scenario& scenario) {
    auto* allowed = new QGroupBox("&Binari ammessi");
    allowed->setObjectName("binariAmmessi");
    auto* grid = new QGridLayout(allowed);
    const std::vector<std::string> names = stationTrackNames(scenario);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const int slot = slotOfTrackName(names[i]).value_or(0);
        auto* box = new QCheckBox(QString::fromStdString(trackCaption(slot)));
        box->setObjectName(QString("binarioAmmesso_%1").arg(QString::fromStdString(names[i])));
        box->setChecked(true);
        grid->addWidget(box, static_cast<int>(i) / 8, static_cast<int>(i) % 8);
        tracks_.push_back(box);
        connect(box, &QCheckBox::toggled, this, &AssignTracksDialog::refresh);
    }
    return allowed;
}

// Stub tracks are kept for trains that start or end here by default only where there are other
// tracks.
bool AssignTracksDialog::hasNumberedTrack(const Scenario& scenario) {
    for (const std::string& name : stationTrackNames(scenario)) {
        if (slotOfTrackName(name).value_or(0) < kMaxChosenTracks)
            return true;
    }
    return false;
}

void AssignTracksDialog::layOut(QGroupBox* allowed) {
    auto* form = new QFormLayout;
    auto* whichLabel = new QLabel("&Quali treni:");
    whichLabel->setBuddy(which_);
    form->addRow(whichLabel, which_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(allowed);
    layout->addWidget(keepAssigned_);
    layout->addWidget(sameLine_);
    layout->addWidget(stubsForEnds_);
    layout->addWidget(followRules_);
    layout->addWidget(reduceRisk_);
    auto* limits = new QHBoxLayout;
    auto* bufferLabel = new QLabel("Margine &oltre la separazione:");
    bufferLabel->setBuddy(buffer_);
    auto* timeLabel = new QLabel("Tempo per &cercare di meglio:");
    timeLabel->setBuddy(timeLimit_);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{bufferLabel, buffer_, timeLabel, timeLimit_, improve_})
        limits->addWidget(widget);
    limits->addStretch(1);
    layout->addLayout(limits);
    ok_ = addPreviewFoot(*this, *layout, preview_, summary_, "&Assegna", "assegna");
}

int AssignTracksDialog::buffer() const {
    return buffer_->value();
}

int AssignTracksDialog::timeLimit() const {
    return timeLimit_->value();
}

// The first pass for the options as they stand: quick enough to follow every change.
void AssignTracksDialog::refresh() {
    options_.which = static_cast<TrainsToAssign>(which_->currentData().toInt());
    options_.allowedTracks.clear();
    const std::vector<std::string> names = stationTrackNames(scenario_);
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
        if (tracks_[i]->isChecked())
            options_.allowedTracks.push_back(names[i]);
    }
    if (options_.allowedTracks.empty())
        options_.allowedTracks.push_back(std::string()); // none allowed: no track is ""
    options_.keepAssigned = keepAssigned_->isChecked();
    options_.sameLine = sameLine_->isChecked();
    options_.stubsForEnds = stubsForEnds_->isChecked();
    options_.rules = followRules_->isChecked() ? rules_ : TrackRules{};
    options_.riduciRischio = reduceRisk_->isChecked();
    options_.buffer = buffer_->value();
    options_.timeLimit = 0;
    assignment_ = assignTracks(scenario_, options_);
    showPreview();
}

// The search off the window's thread, its best answer kept also when the user stops it.
void AssignTracksDialog::improve() {
    AssignmentOptions options = options_;
    options.timeLimit = timeLimit_->value();
    std::optional<Assignment> found;
    bool outOfMemory = false;
    readInBackground(this, "Ricerca di binari migliori…", [&](const ScanProgress& progress) {
        options.progress = [&](double share) {
            return progress(static_cast<std::uint64_t>(share * 1000), 1000);
        };
        try {
            found = assignTracks(scenario_, options);
        } catch (const std::bad_alloc&) {
            outOfMemory = true;
        }
    });
    if (outOfMemory)
        summary_->setText("La memoria non basta per cercare di meglio: resta la prima scelta.");
    if (!found)
        return;
    assignment_ = std::move(*found);
    showPreview();
}

void AssignTracksDialog::showPreview() {
    // Problems first, where a long list of changes cannot hide them: the trains no track takes,
    // what each rule lacks, the conflicts left and the bound; then how the tracks keep the rules
    // and the buffer; then the changes.
    QStringList lines;
    if (const std::string unplaced = unplacedText(scenario_, assignment_); !unplaced.empty())
        lines << QString::fromStdString(unplaced);
    for (const std::string& line : shortfallTexts(assignment_))
        lines << QString::fromStdString(line);
    for (const std::string& line : splitUnitTexts(scenario_, assignment_))
        lines << QString::fromStdString(line);
    if (!lines.isEmpty() || assignment_.conflictsAfter > 0)
        lines << QString::fromStdString(assignmentSummary(assignment_, options_)) << "";
    for (const std::string& line : qualityLines(assignment_, options_))
        lines << QString::fromStdString(line);
    if (const std::string risk = riskText(assignment_, options_); !risk.empty())
        lines << QString::fromStdString(risk);
    const std::string search = searchText(assignment_);
    if (!search.empty())
        lines << QString::fromStdString(search);
    if (!options_.rules.empty() || options_.buffer > 0 || !search.empty())
        lines << "";
    for (const TrackChange& change : assignment_.changes)
        lines << QString::fromStdString(changeText(scenario_, change));
    if (assignment_.changes.empty())
        lines << "Nessun treno cambia binario.";
    preview_->setPlainText(lines.join("\n"));
    summary_->setText(countedText(static_cast<int>(assignment_.changes.size()),
                                  "treno cambia binario", "treni cambiano binario") +
                      "; " + QString::fromStdString(assignmentSummary(assignment_, options_)) +
                      ".");
    ok_->setEnabled(!assignment_.changes.empty());
}

} // namespace zeb
