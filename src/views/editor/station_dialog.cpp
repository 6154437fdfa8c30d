#include "views/editor/station_dialog.h"

#include "model/track_slots.h"
#include "views/common/control_binder.h"
#include "views/common/window_style.h"
#include "views/editor/artwork.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace zeb {

namespace {

// The top-left corner, in twips, of the track box of `slot`: four columns of up to eight rows.
QPoint trackBoxCorner(int slot) {
    if (slot < 8)
        return {2160, 1200 + 240 * slot};
    if (slot < 16)
        return {2760, 1200 + 240 * (slot - 8)};
    if (slot < 23)
        return {3360, 1200 + 240 * (slot - 16)};
    return {3960, 1200 + 240 * (slot - 23)};
}

} // namespace

StationDialog::StationDialog(Scenario& scenario, ListBox& editorTrackList, MessageUi& ui,
                             QWidget* parent)
    : QDialog(parent), logic_(scenario, editorTrackList, ui), binder_(new ControlBinder(this)),
      timer2_(new QTimer(this)) {
    setObjectName("Form2");
    setWindowTitle("Dati Stazione");
    setWindowIcon(windowIcon());
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFont(defaultControlFont());
    setFixedSize(fromTwips(0, 0, 5370, 4470).size());
    buildControls();

    logic_.Form_Load();
    binder_->refresh();
    timer2_->setObjectName("Timer2");
    timer2_->setInterval(50);
    connect(timer2_, &QTimer::timeout, this, [this] {
        logic_.Timer2_Timer();
        binder_->refresh();
    });
    timer2_->start();
}

void StationDialog::buildControls() {
    const auto right = Qt::AlignRight | Qt::AlignTop;
    addLabel(this, "Label11", "Stazione di:", fromTwips(360, 240, 1695, 255), right);
    auto* textstazione =
        addWidget<QLineEdit>(this, "textstazione", fromTwips(2160, 240, 1815, 285));
    addLabel(this, "Label8", "Ora Inizio Simulazione", fromTwips(-720, 720, 2775, 255), right);
    auto* orap = addWidget<QLineEdit>(this, "orap", fromTwips(2160, 720, 375, 285));
    addLabel(this, "Label7", ":", fromTwips(2550, 720, 135, 255), Qt::AlignLeft | Qt::AlignTop);
    auto* minp = addWidget<QLineEdit>(this, "minp", fromTwips(2640, 720, 375, 285));
    addLabel(this, "Label12", "Numero Binari:", fromTwips(360, 1200, 1695, 255), right);
    addLabel(this, "Label1", "Totale binari:", fromTwips(0, 3240, 2055, 255), right);
    auto* nbinari = addWidget<QLineEdit>(this, "nbinari", fromTwips(2160, 3240, 375, 285));
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    ok->setGeometry(fromTwips(2160, 3840, 975, 495));
    ok->setDefault(true); // Enter confirms, as in any dialog

    binder_->bind(textstazione, logic_.textstazione);
    binder_->bind(orap, logic_.orap);
    binder_->bind(minp, logic_.minp);
    binder_->bind(nbinari, logic_.nbinari);

    QList<QWidget*> focusOrder = {textstazione, orap, minp};
    for (int slot = 0; slot < kTrackSlots; ++slot) {
        auto* box = new QCheckBox(QString::fromStdString(trackCaption(slot)), this);
        box->setObjectName(QString("binario_%1").arg(slot));
        const QPoint corner = trackBoxCorner(slot);
        box->setGeometry(fromTwips(corner.x(), corner.y(), slot < 23 ? 495 : 1095, 255));
        binder_->bind(box, logic_.binario[slot], [this, slot] {
            logic_.binario_Click(slot);
            binder_->refresh();
        });
        focusOrder.append(box);
    }
    focusOrder.append({nbinari, ok});
    for (int i = 1; i < focusOrder.size(); ++i)
        setTabOrder(focusOrder[i - 1], focusOrder[i]);

    connect(ok, &QPushButton::clicked, this, [this] {
        if (logic_.ok_Click())
            accept();
        binder_->refresh();
    });
}

void StationDialog::done(int result) {
    if (!unloaded_) {
        unloaded_ = true;
        timer2_->stop();
        logic_.Form_Unload();
    }
    QDialog::done(result);
}

} // namespace zeb
