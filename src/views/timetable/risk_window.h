#pragma once

#include "delay_risk/risk_texts.h"

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>

class QCheckBox;
class QLabel;
class QProgressBar;
class QSpinBox;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;
class QThread;
class QTimer;

namespace zeb {

class DialogPrompts;
class TimetableWatch;

// "Rischio ritardi": how often the day's tracks clash when its trains run as late as their
// indices allow, and the trains most at risk, sortable; a double click shows a train in the
// editor. The runs go on a thread of their own with a bar of progress, again after every change
// of the scenario while the window is open, the last figures shown until the new ones come.
class RiskWindow : public QWidget {
public:
    RiskWindow(TimetableWatch& watch, std::function<bool(int)> showTrain, DialogPrompts& prompts,
               QWidget* parent = nullptr);
    ~RiskWindow() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Job;
    QLayout* buildSettings();
    void setUpTable();
    // The runs again, with the scenario and the settings as they are now; a run under way is
    // told to stop and the new one starts once it has.
    void restart();
    void startJob();
    void jobFinished();
    void fill();
    void exportCsv();

    TimetableWatch& watch_;
    std::function<bool(int)> showTrain_;
    DialogPrompts& prompts_;
    std::unique_ptr<Job> job_;
    QThread* worker_ = nullptr;
    bool stale_ = true; // the figures shown are not of the scenario as it is now
    DelayRisk risk_;
    DelayRiskSettings shownSettings_;
    std::vector<RiskRow> rows_;
    QStandardItemModel* model_;
    QSortFilterProxyModel* sorted_;
    QTableView* table_;
    QLabel* summary_;
    QLabel* tracks_;
    QSpinBox* runs_;
    QSpinBox* seed_;
    QCheckBox* most_;
    QProgressBar* progress_;
    QTimer* progressTimer_;
};

} // namespace zeb
