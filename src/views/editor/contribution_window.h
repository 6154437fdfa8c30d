#pragma once

#include <QDialog>

namespace zeb {

// "Contributo": a static window with the appeal for contributions; the user closes it with
// the window's close command.
class ContributionWindow : public QDialog {
public:
    explicit ContributionWindow(QWidget* parent = nullptr);
};

} // namespace zeb
