// The commands on many trains at once: repeat, shift, remove, move, assign, perturb.

#include "bulk_edit/bulk_edit.h"
#include "document/scenario_document.h"
#include "model/counted.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/turnaround_pairs.h"

#include <algorithm>

namespace zeb {

void ScenarioDocument::repeatTrain(int index, int everyMinutes, int times, int numberStep) {
    if (!mayChange() || index < 0 || index >= s_.totale_treni)
        return;
    const std::string numero = s_.treni[index].numero;
    const int copies = zeb::repeatTrain(s_, index, everyMinutes, times, numberStep);
    if (copies == 0)
        return;
    afterTrainsChanged();
    commit("ripetizione treno " + numero + " (" + std::to_string(copies) + " copie)");
}

void ScenarioDocument::shiftTimes(const std::vector<int>& trains, int minutes) {
    if (!mayChange() || trains.empty())
        return;
    // A shift that would break units says which, and goes on only when asked to.
    Scenario after = s_;
    zeb::shiftTimes(after, trains, minutes);
    if (const TrainLinks broken = brokenLinks(s_, after, links(), data_.settings);
        !broken.empty() &&
        ui_.showMessage(
            "Lo spostamento separa " +
                counted(static_cast<long>(broken.size()), "treno collegato", "treni collegati") +
                " (" + unitLabels(s_, broken) + "): spostare comunque?",
            "Sposta orari", MessageIcon::Question, MessageButtons::YesNo) != Answer::Yes)
        return;
    const std::vector<int> notValid = zeb::shiftTimes(s_, trains, minutes);
    afterTrainsChanged();
    commit("spostamento orari di " + countedTrains(static_cast<long>(trains.size())));
    if (notValid.empty())
        return;
    std::string names;
    for (int train : notValid)
        names += (names.empty() ? "" : ", ") + std::to_string(train + 1) + " (" +
                 s_.treni[train].numero + ")";
    ui_.showMessage("Alcuni orari non sono validi e sono rimasti come erano, nei treni " + names,
                    "Sposta orari", MessageIcon::Information, MessageButtons::Ok);
}

void ScenarioDocument::removeTrains(const std::vector<int>& trains) {
    if (!mayChange() || trains.empty())
        return;
    const std::string what = countedTrains(static_cast<long>(trains.size()));
    // The numbers of the first five, so that the question says which trains go.
    std::vector<std::string> numbers;
    for (int train : trains)
        numbers.push_back(s_.treni[static_cast<std::size_t>(train)].numero);
    // The units that lose a train go too, and the question says so.
    TrainLinks lost;
    for (const TrainLink& link : links()) {
        if (std::find(trains.begin(), trains.end(), link.arriving) != trains.end() ||
            std::find(trains.begin(), trains.end(), link.leaving) != trains.end())
            lost.push_back(link);
    }
    const std::string linksLost =
        lost.empty() ? std::string()
                     : ", e con loro " +
                           counted(static_cast<long>(lost.size()), "collegamento", "collegamenti") +
                           " (" + unitLabels(s_, lost) + ")";
    if (ui_.showMessage("Eliminare " + what + " (" + firstNames(numbers, 5) + ")" + linksLost + "?",
                        "Conferma eliminazione treni", MessageIcon::Question,
                        MessageButtons::YesNo) != Answer::Yes)
        return;
    zeb::removeTrains(s_, trains);
    afterTrainsChanged();
    commit("eliminazione di " + what);
}

void ScenarioDocument::moveTrain(int train, const std::string& track, int minutes) {
    if (!mayChange() || train < 0 || train >= s_.totale_treni)
        return;
    Treno& t = s_.treni[static_cast<std::size_t>(train)];
    const bool newTrack = !track.empty() && track != t.binario;
    if (newTrack && (isCategoriaSenzaBinario(t.categoria) || !hasStationTrack(s_, track)))
        return;
    if (!newTrack && minutes == 0)
        return;
    if (newTrack) {
        t.binario = track;
        // A unit changes track whole: its other train goes along.
        if (const int partner = unitPartner(links(), train); partner >= 0)
            s_.treni[static_cast<std::size_t>(partner)].binario = track;
    }
    if (minutes != 0)
        zeb::shiftTimes(s_, {train}, minutes);
    afterTrainsChanged();
    std::string label = "spostamento treno " + t.numero;
    if (newTrack)
        label += " sul binario " + track;
    if (minutes != 0)
        label += std::string(newTrack ? " e" : "") + " di " + std::to_string(minutes) +
                 (minutes == 1 || minutes == -1 ? " minuto" : " minuti");
    commit(label);
}

void ScenarioDocument::assignTracks(const Assignment& assignment) {
    if (!mayChange() || assignment.changes.empty())
        return;
    applyAssignment(s_, assignment);
    afterTrainsChanged();
    const std::size_t count = assignment.changes.size();
    commit("assegnazione binari di " + countedTrains(static_cast<long>(count)));
}

std::vector<PerturbationChange>
ScenarioDocument::perturbTrains(const std::vector<int>& trains, const Perturbation& perturbation,
                                const std::optional<CheckSettings>& settings) {
    if (!mayChange())
        return {};
    auto changes = perturb(s_, trains, perturbation, settings.value_or(data_.settings), links(),
                           data_.trackRules);
    if (changes.empty())
        return changes;
    static constexpr const char* kNames[] = {"soppressione", "limitazione", "origine qui",
                                             "cambio di binario", "ritardo"};
    afterTrainsChanged();
    commit(std::string(kNames[static_cast<int>(perturbation.action)]) + " di " +
           countedTrains(static_cast<long>(changes.size())));
    return changes;
}

} // namespace zeb
