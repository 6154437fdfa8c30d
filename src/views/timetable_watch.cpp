#include "views/timetable_watch.h"

namespace zeb {

TimetableWatch::TimetableWatch(const Scenario& scenario, QObject* parent)
    : QObject(parent), s_(scenario) {
    recheck();
}

void TimetableWatch::setSettings(const CheckSettings& settings) {
    settings_ = settings;
    recheck();
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
    findings_ = checkScenario(s_, settings_);
    emit findingsChanged();
}

} // namespace zeb
