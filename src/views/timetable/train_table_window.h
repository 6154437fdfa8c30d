#pragma once

#include "views/timetable/timetable_watch.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLayout;
class QLineEdit;
class QListWidget;
class QSpinBox;
class QTableView;

class QPushButton;

namespace zeb {

class DialogPrompts;

class TrainFilterModel;
class TrainTableModel;

// What the train table asks of the editor. `available` is false while the editor takes no such
// command (no scenario open, a new train being entered); `showTrain` answers whether it could.
struct TimetableCommands {
    std::function<bool()> available;
    std::function<bool(int)> showTrain;
    std::function<void(int train, int everyMinutes, int times, int numberStep)> repeat;
    std::function<void(const std::vector<int>& trains, int minutes)> shift;
    std::function<void(const std::vector<int>& trains)> remove;
    std::function<void(const std::vector<int>& trains)> assignTracks;
    std::function<void(const std::vector<int>& trains)> perturb;
    // The train `train` goes on as (LinkSide::Onward) or comes from set to the one numbered
    // `number`.
    std::function<void(int train, LinkSide side, const std::string& number)> link;
};

// "Quadro treni": every stored train in a sortable, filterable table with the checker's
// findings below it. It follows every change of the scenario at once; activating a row (or a
// finding about one train) shows that train in the editor through `showTrain`, which answers
// whether the editor could show it. The selected trains can be repeated, shifted, deleted or
// given tracks.
class TrainTableWindow : public QWidget {
public:
    TrainTableWindow(TimetableWatch& watch, TimetableCommands commands, DialogPrompts& prompts,
                     QWidget* parent = nullptr);

    // Brings the window up with the first finding chosen.
    void showFindings();

protected:
    // F2 on a link's cell edits it, not the editor's key for this window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLayout* buildFilter();
    void setUpTable();
    QWidget* buildFindings();
    void refillFindings();
    void selectTrains(const std::vector<int>& trains);
    void updateTitle();
    void applySettings();
    QLayout* buildCommands();
    std::vector<int> selectedTrains() const;
    void updateCommands();
    void askRepeat();
    void askShift();

    TimetableWatch& watch_;
    TimetableCommands commands_;
    DialogPrompts& prompts_;
    QPushButton* repeat_ = nullptr;
    QPushButton* shift_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* assign_ = nullptr;
    QPushButton* perturb_ = nullptr;
    TrainTableModel* model_;
    TrainFilterModel* filter_;
    QLineEdit* filterText_;
    QCheckBox* onlyProblems_;
    QCheckBox* onlyOutsideRules_;
    QTableView* table_;
    QListWidget* findings_;
    QSpinBox* separation_;
    QSpinBox* turnaround_;
    QSpinBox* preparation_;
};

} // namespace zeb
