#pragma once

#include "timetable/occupancy.h"

#include <QDialog>

class QSpinBox;

namespace zeb {

// "Impostazioni orario": the occupancy minutes of the scenario, kept in the editor's data beside
// it, that the checker, the chart, the assignment and the tool go by.
class TimetableSettingsDialog : public QDialog {
public:
    TimetableSettingsDialog(const CheckSettings& settings, QWidget* parent = nullptr);

    CheckSettings settings() const;

private:
    QSpinBox* separation_;
    QSpinBox* turnaround_;
    QSpinBox* preparation_;
    QSpinBox* leastTurnaround_;
    QSpinBox* riskThreshold_; // the percent of runs with delays above which a clash is warned of
};

} // namespace zeb
