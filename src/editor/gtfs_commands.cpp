#include "editor/editor_logic.h"
#include "gtfs/station_day.h"
#include "gtfs/train_choice.h"
#include "model/counted.h"
#include "model/train_append.h"

namespace zeb {

void EditorLogic::importGtfs(std::vector<Treno> trains, const StationDay* feedStation) {
    if (!canShowTrain() || trains.empty())
        return;
    if (const auto refusal = importRefusal(s_, trains)) {
        ui_.showMessage("Nessun treno è stato importato: " + *refusal, "Importazione GTFS",
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const bool stationChanged = feedStation != nullptr && s_.totale_treni == 0;
    if (stationChanged)
        useFeedStation(s_, *feedStation);
    const int first = appendTrains(s_, trains);
    if (stationChanged)
        ui_.openStationDialog(s_, binario);
    afterManyTrainsChanged();
    const int count = s_.totale_treni - first;
    commit("importazione GTFS di " + countedTrains(count));
}

} // namespace zeb
