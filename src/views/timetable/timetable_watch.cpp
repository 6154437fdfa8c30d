#include "views/timetable/timetable_watch.h"

#include "track_rules/rule_matching.h"

namespace zeb {

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
    findings_ = withFindings(checkScenario(s_, settings_, links_), std::move(outside));
    emit findingsChanged();
}

} // namespace zeb
