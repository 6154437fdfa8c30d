// The trains that come from other files: a station's day from a timetable feed, a CSV file.

#include "csv_exchange/trains_csv.h"
#include "document/assignment_setup.h"
#include "document/scenario_document.h"
#include "gtfs/station_day.h"
#include "model/counted.h"
#include "timetable/turnaround_pairs.h"

namespace zeb {

DayImported ScenarioDocument::importDay(DayImportRequest request) {
    DayImported done;
    done.first = s_.totale_treni;
    SettledImport& settled = request.settled;
    if (!mayChange() || (settled.added.empty() && settled.replaced.empty()))
        return done;
    if (auto refusal = settledRefusal(s_, settled)) {
        done.refusal = std::move(refusal);
        return done;
    }
    const bool stationTaken = request.feedStation != nullptr && s_.totale_treni == 0;
    if (stationTaken)
        useFeedStation(s_, *request.feedStation);
    done.replaced = static_cast<long>(settled.replaced.size());
    done.first = applySettled(s_, settled);
    const TrainLinks had = history_.followLinks(s_);
    const TrainLinks linked = withLinks(had, findLinks(s_, request.units).links);
    done.newLinks = linked.size() - had.size();
    if (stationTaken)
        afterStationTaken();
    done.trackless = tracklessTrains(s_, done.first);
    // The trains that came without a track get one in the same step, the others keeping theirs.
    if (request.tracksWith) {
        EditorData data = data_;
        data.settings = *request.tracksWith;
        done.tracks = chooseImportedTracks(s_, done.first, linked, data);
    }
    afterTrainsChanged();
    data_.serviceDay = request.serviceDay;
    commitData("importazione GTFS di " + countedTrains(s_.totale_treni - done.first) +
                   (done.replaced > 0 ? ", " + counted(done.replaced, "sostituito", "sostituiti")
                                      : std::string()),
               linked);
    return done;
}

int ScenarioDocument::importCsv(CsvImport& read) {
    const int first = appendImportedTrains(s_, read);
    afterTrainsChanged();
    commit("importazione di " + countedTrains(s_.totale_treni - first));
    return first;
}

} // namespace zeb
