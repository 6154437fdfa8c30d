#pragma once

#include "companion/editor_data.h"
#include "gtfs/present_trains.h"
#include "track_assignment/track_assignment.h"

#include <string>
#include <vector>

namespace zeb {

// The options of an assignment as a scenario's editor's data give them: its occupancy minutes,
// track rules, buffer and time limit, and `links`; every command that assigns starts here, so
// that the editor and the tool cannot choose differently.
AssignmentOptions assignmentOptions(const EditorData& data, const TrainLinks& links);

// Tracks for the trains appended from `first` on that came without one, by the station's rules,
// buffer and settings in `data`, units of `links` kept whole and every other train keeping its
// track; no search for better ones, so that an import stays quick. Returns what was done.
Assignment chooseImportedTracks(Scenario& s, int first, const TrainLinks& links,
                                const EditorData& data);

// The tracks an import of `chosen` into `base` would give (settled `how`, with the links `had`
// and those of the feed's blocks): by position in `chosen.trains`, each train's track as it would
// be stored; a train the import leaves out keeps its own.
std::vector<std::string> importedTracks(const Scenario& base, const ChosenTrains& chosen,
                                        PresentTrains how, const TrainLinks& had,
                                        const EditorData& data);

} // namespace zeb
