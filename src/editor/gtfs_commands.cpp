#include "companion/stored_links.h"
#include "document/assignment_setup.h"
#include "editor/editor_logic.h"
#include "gtfs/present_trains.h"
#include "gtfs/station_day.h"
#include "gtfs/train_choice.h"
#include "model/counted.h"
#include "model/train_append.h"
#include "timetable/turnaround_pairs.h"

namespace zeb {

void EditorLogic::importGtfs(const std::string& serviceDay, std::vector<Treno> trains,
                             const StationDay* feedStation,
                             const std::optional<CheckSettings>& tracksWith, PresentTrains present,
                             const TrainLinks& links) {
    if (!canShowTrain() || trains.empty())
        return;
    const long count = static_cast<long>(trains.size());
    // The units of the feed, named by their trains, to be found wherever the trains go.
    const std::vector<StoredLink> units = storedLinks(trains, links);
    SettledImport settled = settleImport(s_, ChosenTrains{std::move(trains), count, {}}, present);
    if (settled.added.empty() && settled.replaced.empty())
        return;
    if (const auto refusal = settledRefusal(s_, settled)) {
        ui_.showMessage("Nessun treno è stato importato: " + *refusal, "Importazione GTFS",
                        MessageIcon::Exclamation, MessageButtons::Ok);
        return;
    }
    const bool stationChanged = feedStation != nullptr && s_.totale_treni == 0;
    if (stationChanged)
        useFeedStation(s_, *feedStation);
    const long replaced = static_cast<long>(settled.replaced.size());
    const int first = applySettled(s_, settled);
    const TrainLinks linked = withLinks(history_.followLinks(s_), findLinks(s_, units).links);
    if (stationChanged)
        ui_.openStationDialog(s_, binario);
    // The trains that came without a track get one in the same step, the others keeping theirs.
    if (tracksWith) {
        EditorData data = data_;
        data.settings = *tracksWith;
        chooseImportedTracks(s_, first, linked, data);
    }
    afterManyTrainsChanged();
    data_.serviceDay = serviceDay;
    commitData(
        "importazione GTFS di " + countedTrains(s_.totale_treni - first) +
            (replaced > 0 ? ", " + counted(replaced, "sostituito", "sostituiti") : std::string()),
        linked);
}

} // namespace zeb
