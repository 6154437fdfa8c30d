// The lower half of "Importa orario GTFS": the kinds of service with their categories, and the
// preview of the trains as they will be stored, with the tracks the import would choose.

#include "views/tools/gtfs_import_dialog.h"

#include "document/assignment_setup.h"
#include "model/track_slots.h"
#include "model/train_ends.h"
#include "model/value_tables.h"
#include "views/common/window_style.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

#include <algorithm>

namespace zeb {

namespace {

QString q(const std::string& text) {
    return QString::fromStdString(text);
}

// A time the feed does not give is "--" as stored: an empty cell.
QString timeCell(const Treno& t, TrainEnd end) {
    return fieldsOf(t, end).ora == "--" ? QString() : q(storedTime(t, end));
}

} // namespace

void GtfsImportDialog::showKinds() {
    // The same kinds keep their rows and boxes, so that a box being used is not replaced.
    bool sameKinds = kinds_->rowCount() == static_cast<int>(chosen_.kinds.size());
    for (int row = 0; sameKinds && row < kinds_->rowCount(); ++row)
        sameKinds =
            kinds_->item(row, 0)->text() == q(chosen_.kinds[static_cast<std::size_t>(row)].kind);
    if (!sameKinds)
        kinds_->setRowCount(0);
    kinds_->setRowCount(static_cast<int>(chosen_.kinds.size()));
    for (int row = 0; row < kinds_->rowCount(); ++row) {
        const KindChoice& kind = chosen_.kinds[static_cast<std::size_t>(row)];
        auto* trains = new QTableWidgetItem(QString::number(kind.trains));
        trains->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        kinds_->setItem(row, 1, trains);
        if (sameKinds) {
            auto* box = static_cast<QComboBox*>(kinds_->cellWidget(row, 2));
            const QSignalBlocker block(box);
            box->setCurrentIndex(kind.category);
            continue;
        }
        kinds_->setItem(row, 0, new QTableWidgetItem(q(kind.kind)));
        auto* category = new QComboBox;
        category->setObjectName(QString("categoriaGtfs%1").arg(row));
        for (std::string_view name : kCategorie)
            category->addItem(q(std::string(name)));
        category->setCurrentIndex(kind.category);
        connect(category, &QComboBox::currentIndexChanged, this, [this, text = kind.kind](int i) {
            choice_.categories[text] = i;
            refreshChoice();
        });
        kinds_->setCellWidget(row, 2, category);
    }
    kinds_->resizeColumnToContents(2);
}

long GtfsImportDialog::fillPreview() {
    const auto& trains = chosen_.trains;
    const int rows = static_cast<int>(trains.size()); // every one, as it will be stored
    const Scenario& station = feedStation() ? feedStationData_ : scenario_;
    const std::vector<std::string> chosenTracks =
        chooseTracks() ? importedTracks(station, chosen_, presentTrains(), base_.links, base_.data)
                       : std::vector<std::string>();
    long trackless = 0;
    preview_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const Treno& t = trains[static_cast<std::size_t>(row)];
        const bool lacksTrack = lacksStationTrack(station, t);
        const QString track = lacksTrack && !chosenTracks.empty()
                                  ? q(chosenTracks[static_cast<std::size_t>(row)])
                                  : q(t.binario);
        trackless += lacksTrack && (track.isEmpty() || track == q(t.binario));
        const QStringList cells = {q(t.numero),
                                   q(t.categoria),
                                   q(t.provenienza),
                                   q(t.destinazione),
                                   timeCell(t, TrainEnd::Arrival),
                                   timeCell(t, TrainEnd::Departure),
                                   track};
        for (int column = 0; column < cells.size(); ++column)
            preview_->setItem(row, column, new QTableWidgetItem(cells[column]));
        if (lacksTrack && track != q(t.binario)) {
            // Chosen by the import, not given by the feed.
            QTableWidgetItem* cell = preview_->item(row, cells.size() - 1);
            QFont italic = cell->font();
            italic.setItalic(true);
            cell->setFont(italic);
            cell->setToolTip("Binario scelto dall'importazione secondo le regole dei binari");
        }
    }
    preview_->resizeColumnsToContents();
    return trackless;
}

void GtfsImportDialog::showPreview() {
    const long trackless = fillPreview();

    // The trains the scenario holds already are settled as the user says.
    const SettledImport settled = settleImport(scenario_, chosen_, presentTrains());
    for (QWidget* way : std::initializer_list<QWidget*>{present_, addNew_, replace_, addAll_})
        way->setVisible(settled.present > 0);
    present_->setText(countedText(settled.present,
                                  "treno è già nello scenario:", "treni sono già nello scenario:"));
    const long count = static_cast<long>(settled.added.size()) + settled.unmade;
    const auto replaced = static_cast<long>(settled.replaced.size());
    const auto refusal = settledRefusal(scenario_, settled);
    QString text;
    if (!day_)
        text = "Scegliere una stazione.";
    else if (chosen_.counted == 0)
        text = "Nessun treno ferma in questa stazione nel giorno e nella fascia oraria scelti.";
    else if (refusal)
        text = q(*refusal);
    else
        text = countedText(count, "treno da importare", "treni da importare") +
               (replaced > 0 ? ", " + countedText(replaced, "da sostituire", "da sostituire")
                             : QString()) +
               (chosen_.links.empty()
                    ? QString()
                    : ", " + countedText(static_cast<long>(chosen_.links.size()),
                                         "rotazione da collegare", "rotazioni da collegare")) +
               ".";
    if (!refusal && count > 0 && trackless > 0) // those a track of the station is missing for
        text += " " + countedText(trackless, "senza binario", "senza binario") + ".";
    for (const std::string& note : day_ ? importNotes(*day_, chosen_) : std::vector<std::string>{})
        text += " " + q(note) + ".";
    count_->setText(text);
    count_->setStyleSheet(refusal ? "color: #b00000;" : "");
    ok_->setEnabled(count + replaced > 0 && !refusal);
}

} // namespace zeb
