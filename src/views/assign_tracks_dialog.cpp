#include "views/assign_tracks_dialog.h"

#include "model/track_slots.h"
#include "views/preview_foot.h"
#include "views/window_geometry.h"
#include "views/window_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zeb {

AssignTracksDialog::AssignTracksDialog(const Scenario& scenario, const CheckSettings& settings,
                                       const TrainLinks& links, std::vector<int> selected,
                                       QWidget* parent)
    : QDialog(parent), scenario_(scenario), which_(new QComboBox),
      keepAssigned_(new QCheckBox("&Gli altri treni tengono il loro binario")),
      sameLine_(new QCheckBox("Treni della stessa &linea sullo stesso binario")),
      stubsForEnds_(new QCheckBox("Binari &tronchi solo per i treni che iniziano o terminano qui")),
      preview_(new QPlainTextEdit), summary_(new QLabel) {
    setObjectName("assegnaBinari");
    setWindowTitle("Assegna binari");
    options_.settings = settings;
    options_.links = links;
    options_.selected = std::move(selected);

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
    for (QCheckBox* box : {keepAssigned_, sameLine_, stubsForEnds_})
        connect(box, &QCheckBox::toggled, this, &AssignTracksDialog::refresh);
    new WindowGeometry(this, "assegnaBinari", QSize(640, 560));
    refresh();
}

void AssignTracksDialog::setUpWhich() {
    which_->setObjectName("qualiTreni");
    which_->addItem("Treni senza un binario della stazione",
                    static_cast<int>(TrainsToAssign::WithoutTrack));
    which_->addItem("Treni in conflitto", static_cast<int>(TrainsToAssign::InConflict));
    if (!options_.selected.empty())
        which_->addItem(QString("Treni selezionati (%1)").arg(options_.selected.size()),
                        static_cast<int>(TrainsToAssign::Selected));
    which_->addItem("Tutti i treni", static_cast<int>(TrainsToAssign::All));
    if (!options_.selected.empty())
        which_->setCurrentIndex(2);
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
    ok_ = addPreviewFoot(*this, *layout, preview_, summary_, "&Assegna", "assegna");
}

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
    assignment_ = assignTracks(scenario_, options_);

    // Problems first, where a long list of changes cannot hide them: the trains no track takes,
    // the conflicts left and the bound; then the changes.
    QStringList lines;
    if (const std::string unplaced = unplacedText(scenario_, assignment_); !unplaced.empty())
        lines << QString::fromStdString(unplaced);
    if (!lines.isEmpty() || assignment_.conflictsAfter > 0)
        lines << QString::fromStdString(assignmentSummary(assignment_)) << "";
    for (const TrackChange& change : assignment_.changes)
        lines << QString::fromStdString(changeText(scenario_, change));
    if (assignment_.changes.empty())
        lines << "Nessun treno cambia binario.";
    preview_->setPlainText(lines.join("\n"));
    summary_->setText(countedText(static_cast<int>(assignment_.changes.size()),
                                  "treno cambia binario", "treni cambiano binario") +
                      "; " + QString::fromStdString(assignmentSummary(assignment_)) + ".");
    ok_->setEnabled(!assignment_.changes.empty());
}

} // namespace zeb
