#pragma once

#include "model/scenario.h"
#include "timetable/occupancy.h"

#include <QDialog>

class QLabel;
class QSpinBox;

namespace zeb {

// "Ripeti treno": every how many minutes, how many times, and by how much the number grows; it
// says how many trains the table still has room for and offers no more, and how many of the
// copies would be in conflict, with which trains, before OK.
class RepeatDialog : public QDialog {
public:
    RepeatDialog(const Scenario& scenario, const CheckSettings& settings, int train,
                 QWidget* parent = nullptr);

    int everyMinutes() const;
    int times() const;
    int numberStep() const;

private:
    QSpinBox* every_;
    QSpinBox* times_;
    QSpinBox* step_;
    QLabel* clashes_;
};

} // namespace zeb
