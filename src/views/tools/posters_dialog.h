#pragma once

#include "model/scenario.h"
#include "paper/paper_files.h"
#include "timetable/posters.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QRadioButton;

namespace zeb {

class DialogPrompts;

// "Manifesti partenze e arrivi": the station's posters of the scenario as it is now, exported as
// PDF or printed, the departures, the arrivals or both, on A4, A3 or A2, with the days they are
// valid where the user gives them.
class PostersDialog : public QDialog {
public:
    PostersDialog(const Scenario& scenario, DialogPrompts& prompts, QWidget* parent = nullptr);

    // Writes the chosen posters to `path`; false when it cannot be written.
    PaperFile exportPdf(const std::string& path);

private:
    std::vector<Poster> chosenPosters() const;
    PosterPaper chosenPaper() const;
    void print();

    const Scenario& s_;
    DialogPrompts& prompts_;
    QRadioButton* departures_;
    QRadioButton* arrivals_;
    QRadioButton* both_;
    QComboBox* paper_;
    QCheckBox* valid_;
    QDateEdit* validFrom_;
    QDateEdit* validTo_;
};

} // namespace zeb
