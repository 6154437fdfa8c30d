#include "bulk_edit/bulk_edit.h"

#include "model/counted.h"
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
    const std::string moved = clockText(*minute + minutes); // "HH:MM", round the clock
    ora = moved.substr(0, 2);
    minuti = moved.substr(3, 2);
    return true;
}

// Moves the times of the ends the train has; false when one of them is not valid.
bool moveTrain(Treno& t, int minutes) {
    bool valid = true;
    for (const TrainEnd end : kTrainEnds) {
        if (!hasEnd(t, end))
            continue;
        const auto fields = fieldsOf(t, end);
        valid = moveTime(fields.ora, fields.minuti, minutes) && valid;
    }
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

namespace {

// The conflicts `changed` trains of `after` take part in, on the station's tracks.
ClashPreview clashesOf(const Scenario& after, const CheckSettings& settings,
                       const std::vector<int>& changed) {
    const std::vector<Occupancy> onTracks = stationTrackOccupancies(after, settings);
    auto isChanged = [&](int train) {
        return std::find(changed.begin(), changed.end(), train) != changed.end();
    };
    std::vector<int> clashing;
    std::vector<std::string> with;
    for (const Conflict& c : trackConflicts(onTracks, settings.separation)) {
        const int a = onTracks[static_cast<std::size_t>(c.first)].train;
        const int b = onTracks[static_cast<std::size_t>(c.second)].train;
        for (const auto& [mine, other] : {std::pair{a, b}, std::pair{b, a}}) {
            if (!isChanged(mine))
                continue;
            if (std::find(clashing.begin(), clashing.end(), mine) == clashing.end())
                clashing.push_back(mine);
            const std::string& number = after.treni[static_cast<std::size_t>(other)].numero;
            if (!isChanged(other) && std::find(with.begin(), with.end(), number) == with.end())
                with.push_back(number);
        }
    }
    return {static_cast<int>(clashing.size()), with};
}

} // namespace

ClashPreview clashesOfRepeat(const Scenario& s, const CheckSettings& settings, int index,
                             int everyMinutes, int times, int numberStep) {
    Scenario after = s;
    const int first = after.totale_treni;
    const int copies = repeatTrain(after, index, everyMinutes, times, numberStep);
    std::vector<int> added(static_cast<std::size_t>(copies));
    for (int k = 0; k < copies; ++k)
        added[static_cast<std::size_t>(k)] = first + k;
    return clashesOf(after, settings, added);
}

ClashPreview clashesOfShift(const Scenario& s, const CheckSettings& settings,
                            const std::vector<int>& trains, int minutes) {
    Scenario after = s;
    shiftTimes(after, trains, minutes);
    return clashesOf(after, settings, trains);
}

std::string clashText(const ClashPreview& preview, int of) {
    if (preview.trains == 0)
        return "Nessun conflitto.";
    std::string text = std::to_string(preview.trains) +
                       (preview.trains == 1 ? " treno" : " treni") + " su " + std::to_string(of) +
                       " in conflitto";
    if (!preview.with.empty())
        text += ", con " + firstNames(preview.with, 5);
    return text + ".";
}

} // namespace zeb
