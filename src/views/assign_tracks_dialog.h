#pragma once

#include "model/train_links.h"

#include "track_assignment/track_assignment.h"

#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace zeb {

// "Assegna binari": which trains get a track, which tracks may be used and the preferences, with
// a preview that follows every option at once; OK gives the proposal to `assignment()`.
class AssignTracksDialog : public QDialog {
public:
    AssignTracksDialog(const Scenario& scenario, const CheckSettings& settings,
                       const TrainLinks& links, std::vector<int> selected,
                       QWidget* parent = nullptr);

    const Assignment& assignment() const { return assignment_; }

private:
    void setUpWhich();
    QGroupBox* buildAllowedTracks(const Scenario& scenario);
    static bool hasNumberedTrack(const Scenario& scenario);
    void layOut(QGroupBox* allowed);
    void refresh();

    const Scenario& scenario_;
    AssignmentOptions options_;
    Assignment assignment_;
    QComboBox* which_;
    std::vector<QCheckBox*> tracks_;
    QCheckBox* keepAssigned_;
    QCheckBox* sameLine_;
    QCheckBox* stubsForEnds_;
    QPlainTextEdit* preview_;
    QLabel* summary_;
    QPushButton* ok_;
};

} // namespace zeb
