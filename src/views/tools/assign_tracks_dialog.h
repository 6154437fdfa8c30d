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
class QSpinBox;

namespace zeb {

// "Assegna binari": which trains get a track, which tracks may be used and the preferences, the
// track rules and the buffer, with a preview of the first pass that follows every option at once;
// "Migliora" looks for better tracks for the time given, with progress and Annulla, and keeps the
// best found. OK gives the proposal shown to `assignment()`. `base` brings the occupancy
// settings, the links, the selected trains, the rules, the buffer and the time limit.
class AssignTracksDialog : public QDialog {
public:
    AssignTracksDialog(const Scenario& scenario, AssignmentOptions base, QWidget* parent = nullptr);

    const Assignment& assignment() const { return assignment_; }
    // The buffer and the time limit as the dialog left them, to keep with the scenario.
    int buffer() const;
    int timeLimit() const;

private:
    void setUpWhich();
    QGroupBox* buildAllowedTracks(const Scenario& scenario);
    static bool hasNumberedTrack(const Scenario& scenario);
    void layOut(QGroupBox* allowed);
    void refresh();
    void improve();
    void showPreview();

    const Scenario& scenario_;
    AssignmentOptions options_;
    TrackRules rules_;
    Assignment assignment_;
    QComboBox* which_;
    std::vector<QCheckBox*> tracks_;
    QCheckBox* keepAssigned_;
    QCheckBox* sameLine_;
    QCheckBox* stubsForEnds_;
    QCheckBox* followRules_;
    QCheckBox* reduceRisk_;
    QSpinBox* buffer_;
    QSpinBox* timeLimit_;
    QPushButton* improve_;
    QPlainTextEdit* preview_;
    QLabel* summary_;
    QPushButton* ok_;
};

} // namespace zeb
