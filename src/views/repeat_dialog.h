#pragma once

#include "model/scenario.h"

#include <QDialog>

class QSpinBox;

namespace zeb {

// "Ripeti treno": every how many minutes, how many times, and by how much the number grows; it
// says how many trains the table still has room for and offers no more.
class RepeatDialog : public QDialog {
public:
    RepeatDialog(const Scenario& scenario, int train, QWidget* parent = nullptr);

    int everyMinutes() const;
    int times() const;
    int numberStep() const;

private:
    QSpinBox* every_;
    QSpinBox* times_;
    QSpinBox* step_;
};

} // namespace zeb
