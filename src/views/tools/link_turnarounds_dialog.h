#pragma once

#include "model/scenario.h"
#include "model/train_links.h"
#include "timetable/occupancy.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;

namespace zeb {

// "Collega rotazioni": the links the rule of turnarounds proposes among the trains not yet
// linked, within the longest wait chosen here, with a preview of the pairs and of the trains
// left single; OK gives the new links.
class LinkTurnaroundsDialog : public QDialog {
public:
    LinkTurnaroundsDialog(const Scenario& scenario, const CheckSettings& settings,
                          const TrainLinks& existing, QWidget* parent = nullptr);

    const TrainLinks& added() const { return added_; }

private:
    void refresh();
    QString changes(const TrainLinks& links) const;

    const Scenario& scenario_;
    CheckSettings settings_;
    TrainLinks existing_;
    TrainLinks added_;
    QSpinBox* longestWait_;
    QPlainTextEdit* preview_;
    QLabel* summary_;
    QPushButton* ok_ = nullptr;
};

} // namespace zeb
