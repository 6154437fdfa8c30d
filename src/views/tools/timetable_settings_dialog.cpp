#include "views/tools/timetable_settings_dialog.h"

#include "views/common/window_style.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace zeb {

TimetableSettingsDialog::TimetableSettingsDialog(const CheckSettings& settings, QWidget* parent)
    : QDialog(parent), separation_(minutesBox("impostaSeparazione", settings.separation)),
      turnaround_(minutesBox("impostaSosta", settings.turnaround)),
      preparation_(minutesBox("impostaPreparazione", settings.preparation)),
      leastTurnaround_(minutesBox("impostaInversione", settings.leastTurnaround)),
      riskThreshold_(new QSpinBox) {
    riskThreshold_->setObjectName("impostaSogliaRischio");
    riskThreshold_->setRange(1, 100);
    riskThreshold_->setSuffix(" %");
    riskThreshold_->setValue(settings.riskThreshold);
    setObjectName("impostazioniOrario");
    setWindowTitle("Impostazioni orario");
    auto* form = new QFormLayout(this);
    auto row = [&](const char* caption, QSpinBox* box) {
        auto* label = new QLabel(caption);
        label->setBuddy(box);
        form->addRow(label, box);
    };
    row("&Distanza minima tra due treni:", separation_);
    row("Binario occupato dopo l'&arrivo:", turnaround_);
    row("Binario occupato prima della &partenza:", preparation_);
    row("&Inversione minima di un treno collegato:", leastTurnaround_);
    row("Conflitti con i &ritardi segnalati oltre il:", riskThreshold_);
    form->addRow(new QLabel("Si salvano con lo scenario, nel file dei dati dell'editor."));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("confermaImpostazioni");
    buttons->button(QDialogButtonBox::Cancel)->setText("A&nnulla");
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

CheckSettings TimetableSettingsDialog::settings() const {
    return {.separation = separation_->value(),
            .turnaround = turnaround_->value(),
            .preparation = preparation_->value(),
            .leastTurnaround = leastTurnaround_->value(),
            .riskThreshold = riskThreshold_->value()};
}

} // namespace zeb
