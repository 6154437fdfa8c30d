#include "views/timetable_watch.h"

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
    findings_ = checkScenario(s_, settings_, links_);
    emit findingsChanged();
}

} // namespace zeb
