#include "views/timetable/timetable_watch.h"

#include "delay_risk/risk_texts.h"
#include "track_rules/rule_matching.h"

#include <QThread>

#include <atomic>

namespace zeb {

// What the thread works on: copies, so that the editor may go on changing the scenario.
struct TimetableWatch::RiskJob {
    Scenario s;
    TrainLinks links;
    CheckSettings settings;
    std::vector<Finding> findings;
    std::atomic<bool> stop{false};
};

TimetableWatch::TimetableWatch(const Scenario& scenario, const TrainLinks& links, QObject* parent)
    : QObject(parent), s_(scenario), links_(links) {
    recheck();
}

void TimetableWatch::setSettings(const CheckSettings& settings) {
    if (settings == settings_)
        return;
    settings_ = settings;
    emit settingsChanged();
    recheck();
}

void TimetableWatch::setTrackRules(const TrackRules& rules) {
    if (rules == rules_)
        return;
    rules_ = rules;
    recheck();
}

void TimetableWatch::editSettings(const CheckSettings& settings) {
    setSettings(settings);
    emit settingsEdited(settings);
}

void TimetableWatch::scenarioChanged(const ScenarioChange& change) {
    emit changed(change);
    recheck();
}

void TimetableWatch::setShownTrain(int index) {
    if (index == shownTrain_)
        return;
    const int previous = std::exchange(shownTrain_, index);
    emit shownTrainChanged(previous, index);
}

void TimetableWatch::recheck() {
    std::vector<Finding> outside = ruleFindings(s_, rules_);
    outsideRule_.assign(static_cast<std::size_t>(s_.totale_treni), false);
    for (const Finding& finding : outside)
        outsideRule_[static_cast<std::size_t>(finding.trains.front())] = true;
    // The delays' warnings of the scenario as it was name trains by places that may have moved:
    // they go, and come again once the runs of the scenario as it is are done.
    findings_ = withFindings(checkScenario(s_, settings_, links_), std::move(outside));
    emit findingsChanged();
    if (riskWorker_ != nullptr) {
        riskStale_ = true;
        riskJob_->stop = true;
    } else if (mayRunLate(s_)) {
        startRiskJob();
    }
}

TimetableWatch::~TimetableWatch() {
    if (riskWorker_ != nullptr) {
        riskJob_->stop = true;
        riskWorker_->wait();
    }
}

void TimetableWatch::startRiskJob() {
    riskStale_ = false;
    riskJob_ = std::make_unique<RiskJob>();
    riskJob_->s = s_;
    riskJob_->links = links_;
    riskJob_->settings = settings_;
    RiskJob* job = riskJob_.get();
    riskWorker_ = QThread::create([job] {
        const DelayRisk risk = measureDelayRisk(job->s, job->links, {.check = job->settings},
                                                [job](int, int) { return !job->stop.load(); });
        if (!risk.cancelled)
            job->findings = riskFindings(job->s, job->links, risk, job->settings);
    });
    connect(riskWorker_, &QThread::finished, this, &TimetableWatch::riskJobFinished);
    riskWorker_->start();
}

void TimetableWatch::riskJobFinished() {
    riskWorker_->deleteLater();
    riskWorker_ = nullptr;
    if (riskStale_) {
        if (mayRunLate(s_))
            startRiskJob();
        return;
    }
    if (riskJob_->findings.empty())
        return;
    findings_ = withFindings(std::move(findings_), std::move(riskJob_->findings));
    emit findingsChanged();
}

} // namespace zeb
