#pragma once

#include "views/timetable_watch.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTableView;

namespace zeb {

class TrainFilterModel;
class TrainTableModel;

// "Quadro treni": every stored train in a sortable, filterable table with the checker's
// findings below it. It follows every change of the scenario at once; activating a row (or a
// finding about one train) shows that train in the editor through `showTrain`, which answers
// whether the editor could show it.
class TrainTableWindow : public QWidget {
public:
    TrainTableWindow(TimetableWatch& watch, std::function<bool(int)> showTrain,
                     QWidget* parent = nullptr);

    // Brings the window up with the first finding chosen.
    void showFindings();

private:
    QWidget* buildFindings();
    void refillFindings();
    void selectTrains(const std::vector<int>& trains);
    void updateTitle();
    void applySettings();

    TimetableWatch& watch_;
    std::function<bool(int)> showTrain_;
    TrainTableModel* model_;
    TrainFilterModel* filter_;
    QLineEdit* filterText_;
    QCheckBox* onlyProblems_;
    QTableView* table_;
    QListWidget* findings_;
    QSpinBox* separation_;
    QSpinBox* turnaround_;
    QSpinBox* preparation_;
};

} // namespace zeb
