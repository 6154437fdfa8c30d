#pragma once

#include "model/train_links.h"

#include "variants/perturbation.h"

#include <QDialog>

#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpinBox;
class QTimeEdit;

namespace zeb {

// "Perturbazioni": which trains (those selected in the table, or a window, categories, a place
// and a share chosen by a seed) and what happens to them, with a preview of each change and of
// the conflicts it leaves; OK gives the trains and the perturbation.
class PerturbationDialog : public QDialog {
public:
    PerturbationDialog(const Scenario& scenario, const CheckSettings& settings,
                       const TrainLinks& links, const TrackRules& rules, std::vector<int> selected,
                       QWidget* parent = nullptr);

    const std::vector<int>& trains() const { return trains_; }
    const Perturbation& perturbation() const { return perturbation_; }

protected:
    // Closed either way: its choices are kept for its next opening.
    void done(int result) override;

private:
    void buildWidgets();
    void restoreChoices();
    void layOut();
    void refresh();
    QString ruleBreaches(const Scenario& after) const;
    TrainFilter filter() const;

    const Scenario& scenario_;
    CheckSettings settings_;
    TrainLinks links_;
    TrackRules rules_;
    std::vector<int> selected_;
    std::vector<int> trains_;
    Perturbation perturbation_;
    QComboBox* which_;
    QTimeEdit* from_;
    QTimeEdit* to_;
    QListWidget* categories_;
    QLineEdit* place_;
    QSpinBox* share_;
    QSpinBox* seed_;
    QComboBox* action_;
    QComboBox* track_;
    QLineEdit* delays_;
    QPlainTextEdit* preview_;
    QLabel* summary_;
    QPushButton* ok_;
};

} // namespace zeb
