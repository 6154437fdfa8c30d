#pragma once

#include "station/station_logic.h"

#include <QDialog>

class QTimer;

namespace zeb {

class ControlBinder;

// "Dati Stazione": the Qt view of StationLogic. Every closing, through OK or the window's
// close command, rebuilds the track table and the editor's track list.
class StationDialog : public QDialog {
public:
    StationDialog(Scenario& scenario, ListBox& editorTrackList, MessageUi& ui,
                  QWidget* parent = nullptr);

    StationLogic& logic() { return logic_; }

    void done(int result) override;

private:
    void buildControls();

    StationLogic logic_;
    ControlBinder* binder_;
    QTimer* timer2_;
    bool unloaded_ = false;
};

} // namespace zeb
