#include "views/tools/repeat_dialog.h"

#include "bulk_edit/bulk_edit.h"
#include "timetable/train_times.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace zeb {

RepeatDialog::RepeatDialog(const Scenario& scenario, const CheckSettings& settings, int train,
                           QWidget* parent)
    : QDialog(parent), every_(new QSpinBox), times_(new QSpinBox), step_(new QSpinBox),
      clashes_(new QLabel) {
    setObjectName("ripetiTrenoDialogo");
    setWindowTitle("Ripeti treno");
    const int room = roomLeft(scenario);
    every_->setObjectName("ogniMinuti");
    every_->setRange(1, 1440);
    every_->setValue(60);
    every_->setSuffix(" min");
    times_->setObjectName("quanteVolte");
    times_->setRange(std::min(1, room), room);
    times_->setValue(std::min(10, room));
    step_->setObjectName("passoNumero");
    step_->setRange(-9999, 9999);
    step_->setValue(2);

    auto* form = new QFormLayout(this);
    form->addRow(new QLabel(QString::fromStdString(trainLabel(train, scenario.treni[train]))));
    form->addRow("Ogni:", every_);
    form->addRow("Quante volte:", times_);
    form->addRow("Il numero cresce di:", step_);
    form->addRow(new QLabel(room == 0
                                ? QString("La tabella è piena: non c'è posto per altri treni.")
                            : room == 1 ? QString("C'è posto per un altro treno.")
                                        : QString("C'è posto per altri %1 treni.").arg(room)));
    clashes_->setObjectName("conflittiRipetizione");
    clashes_->setWordWrap(true);
    form->addRow(clashes_);
    auto showClashes = [this, &scenario, settings, train] {
        const ClashPreview preview = clashesOfRepeat(scenario, settings, train, every_->value(),
                                                     times_->value(), step_->value());
        clashes_->setText(QString::fromStdString(clashText(preview, times_->value())));
    };
    for (QSpinBox* box : {every_, times_, step_})
        connect(box, &QSpinBox::valueChanged, this, showClashes);
    showClashes();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setEnabled(room > 0);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

int RepeatDialog::everyMinutes() const {
    return every_->value();
}

int RepeatDialog::times() const {
    return times_->value();
}

int RepeatDialog::numberStep() const {
    return step_->value();
}

} // namespace zeb
