#include "bulk_edit/bulk_edit.h"
#include "editor/editor_logic.h"

namespace zeb {

void EditorLogic::afterManyTrainsChanged() {
    s_.treno_attuale = s_.totale_treni;
    numerotrenit.setText(std::to_string(s_.totale_treni));
    Cancella();
    enterCoveredState();
    changed(ScenarioChange::Kind::Replaced);
}

void EditorLogic::ripetiTreno(int index, int everyMinutes, int times, int numberStep) {
    if (!canShowTrain() || repeatTrain(s_, index, everyMinutes, times, numberStep) == 0)
        return;
    afterManyTrainsChanged();
}

void EditorLogic::spostaOrari(const std::vector<int>& trains, int minutes) {
    if (!canShowTrain() || trains.empty())
        return;
    const std::vector<int> notValid = shiftTimes(s_, trains, minutes);
    afterManyTrainsChanged();
    if (notValid.empty())
        return;
    std::string names;
    for (int train : notValid)
        names += (names.empty() ? "" : ", ") + std::to_string(train + 1) + " (" +
                 s_.treni[train].numero + ")";
    ui_.showMessage("Alcuni orari non sono validi e sono rimasti come erano, nei treni " + names,
                    "Sposta orari", MessageIcon::Information, MessageButtons::Ok);
}

void EditorLogic::eliminaTreni(const std::vector<int>& trains) {
    if (!canShowTrain() || trains.empty())
        return;
    const std::string what =
        trains.size() == 1 ? "1 treno" : std::to_string(trains.size()) + " treni";
    if (ui_.showMessage("Eliminare " + what + "?", "Conferma eliminazione treni",
                        MessageIcon::Question, MessageButtons::YesNo) != Answer::Yes)
        return;
    removeTrains(s_, trains);
    afterManyTrainsChanged();
}

} // namespace zeb
