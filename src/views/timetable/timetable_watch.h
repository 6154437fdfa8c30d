#pragma once

#include "history/scenario_change.h"
#include "model/scenario.h"
#include "model/track_rule.h"
#include "model/train_links.h"
#include "timetable/checker.h"

#include <QObject>

#include <memory>

#include <vector>

class QThread;

namespace zeb {

// Keeps the checker's findings in step with the scenario: the editor window tells it of every
// change a command made (never on the refresh timer), and the windows that show the timetable
// listen to it. It also knows which train the editor shows.
class TimetableWatch : public QObject {
    Q_OBJECT

public:
    // `links` are the editor's, followed as they change with the scenario.
    TimetableWatch(const Scenario& scenario, const TrainLinks& links, QObject* parent = nullptr);
    ~TimetableWatch() override;

    const Scenario& scenario() const { return s_; }
    const TrainLinks& links() const { return links_; }
    const std::vector<Finding>& findings() const { return findings_; }
    const CheckSettings& settings() const { return settings_; }
    // The settings the scenario's data hold (its file, a new scenario's defaults).
    void setSettings(const CheckSettings& settings);
    // The settings the user changed, announced as settingsEdited for the scenario's data.
    void editSettings(const CheckSettings& settings);
    // The track rules the scenario's data hold, whose warnings join the checker's.
    const TrackRules& trackRules() const { return rules_; }
    void setTrackRules(const TrackRules& rules);
    // Whether a train stands on a track its rule forbids.
    bool outsideRule(int train) const {
        return train >= 0 && train < static_cast<int>(outsideRule_.size()) &&
               outsideRule_[static_cast<std::size_t>(train)];
    }
    // The train the editor shows, or -1.
    int shownTrain() const { return shownTrain_; }

    // After a command: announces its change and checks the scenario again.
    void scenarioChanged(const ScenarioChange& change);
    void setShownTrain(int index);

signals:
    void changed(const zeb::ScenarioChange& change); // before the findings
    void findingsChanged();
    void shownTrainChanged(int previous, int current);
    void settingsChanged();
    void settingsEdited(const zeb::CheckSettings& settings);

private:
    struct RiskJob;
    void recheck();
    // The warnings of the delays, on a thread of their own: the pairs that clash in more than
    // the settings' threshold of a thousand runs, added to the findings once they come.
    void startRiskJob();
    void riskJobFinished();

    const Scenario& s_;
    const TrainLinks& links_;
    CheckSettings settings_;
    TrackRules rules_;
    std::vector<Finding> findings_;
    std::unique_ptr<RiskJob> riskJob_;
    QThread* riskWorker_ = nullptr;
    bool riskStale_ = false;        // the scenario changed since the running job copied it
    std::vector<bool> outsideRule_; // by table position
    int shownTrain_ = -1;
};

} // namespace zeb
