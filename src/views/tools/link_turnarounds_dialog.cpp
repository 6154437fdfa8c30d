#include "views/tools/link_turnarounds_dialog.h"

#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "views/common/preview_foot.h"
#include "views/common/window_geometry.h"
#include "views/common/window_style.h"

#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace zeb {

LinkTurnaroundsDialog::LinkTurnaroundsDialog(const Scenario& scenario,
                                             const CheckSettings& settings,
                                             const TrainLinks& existing, QWidget* parent)
    : QDialog(parent), scenario_(scenario), settings_(settings), existing_(existing),
      longestWait_(minutesBox("attesaMassima", kDefaultLongestWait)), preview_(new QPlainTextEdit),
      summary_(new QLabel) {
    setObjectName("collegaRotazioni");
    setWindowTitle("Collega rotazioni");
    auto* form = new QFormLayout;
    auto* waitLabel = new QLabel("&Attesa massima tra arrivo e ripartenza:");
    waitLabel->setBuddy(longestWait_);
    form->addRow(waitLabel, longestWait_);
    auto* rule = new QLabel("Ogni treno che termina qui prosegue come un treno che parte dallo "
                            "stesso binario, nell'ordine di arrivo: prima della stessa categoria, "
                            "poi uno che torna da dove è venuto, poi il primo che parte.");
    rule->setWordWrap(true);
    preview_->setObjectName("anteprimaCollegamenti");
    preview_->setReadOnly(true);
    summary_->setObjectName("riepilogoCollegamenti");
    summary_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rule);
    layout->addLayout(form);
    ok_ = addPreviewFoot(*this, *layout, preview_, summary_, "&Collega", "applicaCollegamenti");
    connect(longestWait_, &QSpinBox::valueChanged, this, &LinkTurnaroundsDialog::refresh);
    new WindowGeometry(this, "collegaRotazioni", QSize(560, 520));
    refresh();
}

// " Di questi, 2 cambiano categoria.": what of the new links to look at twice.
QString LinkTurnaroundsDialog::changes(const TrainLinks& links) const {
    const std::string text = pairChangesText(scenario_, links);
    return text.empty() ? QString() : QString::fromStdString(" Di questi, " + text + ".");
}

void LinkTurnaroundsDialog::refresh() {
    const TurnaroundPairs pairs =
        pairTurnarounds(scenario_, settings_, longestWait_->value(), existing_);
    added_ = pairs.links;
    QStringList lines;
    for (const TrainLink& link : pairs.links)
        lines << QString::fromStdString(linkLine(scenario_, link));
    auto singles = [&](const char* title, const std::vector<int>& trains) {
        if (trains.empty())
            return;
        lines << "" << title;
        for (int train : trains)
            lines << "  " + QString::fromStdString(
                                numberAndTime(scenario_.treni[train]) + " " +
                                (scenario_.treni[train].binario.empty()
                                     ? std::string("senza binario")
                                     : "binario " + scenario_.treni[train].binario));
    };
    singles("Terminano qui e restano soli:", pairs.singleEnding);
    singles("Partono da qui e restano soli:", pairs.singleStarting);
    if (lines.isEmpty())
        lines << "Nessun treno termina o parte qui senza un collegamento.";
    preview_->setPlainText(lines.join("\n"));
    summary_->setText((pairs.links.empty()
                           ? QString("Nessun collegamento nuovo")
                           : countedText(static_cast<long>(pairs.links.size()),
                                         "collegamento nuovo", "collegamenti nuovi")) +
                      QString("; %1 già presenti.").arg(existing_.size()) + changes(pairs.links));
    ok_->setEnabled(!pairs.links.empty());
}

} // namespace zeb
