#include "bulk_edit/bulk_edit.h"

#include "model/train_removal.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <cstdio>

namespace zeb {

namespace {

// Moves an hour and minute text by `minutes` when it is a valid time; false when it is not.
bool moveTime(std::string& ora, std::string& minuti, int minutes) {
    const auto minute = minuteOfDay(ora, minuti);
    if (!minute)
        return false;
    const int moved = ((*minute + minutes) % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay;
    char text[3];
    std::snprintf(text, sizeof text, "%02d", moved / 60);
    ora = text;
    std::snprintf(text, sizeof text, "%02d", moved % 60);
    minuti = text;
    return true;
}

// Moves the times of the ends the train has; false when one of them is not valid.
bool moveTrain(Treno& t, int minutes) {
    bool valid = true;
    if (hasArrival(t))
        valid = moveTime(t.ora_arrivo, t.min_arrivo, minutes) && valid;
    if (hasDeparture(t))
        valid = moveTime(t.ora_partenza, t.min_partenza, minutes) && valid;
    return valid;
}

// A train number the copies can count on from: digits only, few enough to fit an int.
bool isCountableNumber(const std::string& text) {
    return text.size() <= 9 && isDecimalDigits(text);
}

} // namespace

int repeatTrain(Scenario& s, int index, int everyMinutes, int times, int numberStep) {
    if (index < 0 || index >= s.totale_treni)
        return 0;
    const int copies = std::clamp(times, 0, roomLeft(s));
    const Treno original = s.treni[index];
    for (int k = 1; k <= copies; ++k) {
        Treno copy = original;
        moveTrain(copy, k * everyMinutes);
        if (isCountableNumber(original.numero))
            copy.numero =
                std::to_string(std::stol(original.numero) + static_cast<long>(k) * numberStep);
        s.treni[s.totale_treni++] = std::move(copy);
    }
    return copies;
}

std::vector<int> shiftTimes(Scenario& s, const std::vector<int>& trains, int minutes) {
    std::vector<int> notValid;
    for (int train : trains) {
        if (train >= 0 && train < s.totale_treni && !moveTrain(s.treni[train], minutes))
            notValid.push_back(train);
    }
    return notValid;
}

void removeTrains(Scenario& s, std::vector<int> trains) {
    std::sort(trains.begin(), trains.end(), std::greater<>());
    trains.erase(std::unique(trains.begin(), trains.end()), trains.end());
    for (int train : trains) {
        if (train >= 0 && train < s.totale_treni)
            removeTrain(s, train);
    }
}

} // namespace zeb
