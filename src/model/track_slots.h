#pragma once

#include "model/scenario.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// The track naming rule: slots 0-22 are the tracks "1" to "23", slots 23-25 the stub tracks
// named "1tronco" to "3tronco" and captioned "1 Tronco" to "3 Tronco".
std::string trackName(int slot);
std::string trackCaption(int slot);
// The slot a track name stands for, or nullopt for a name the rule does not produce.
std::optional<int> slotOfTrackName(std::string_view name);

// Rebuilds the track table from the slot flags, in slot order, and returns the names for the
// editor's track list (entry k of the list is table entry k). Entries past the new
// numero_binari keep their old contents.
std::vector<std::string> rebuildTrackTable(Scenario& s);

// The station's tracks: the names of the first numero_binari entries of the track table, in the
// order of the editor's track list.
std::vector<std::string> stationTrackNames(const Scenario& s);
// True when `name` is one of the station's tracks.
bool hasStationTrack(const Scenario& s, std::string_view name);
// True for a train of a category that takes a track whose track is none of the station's: what
// the checker reports, the posters mark and an assignment after an import gives a track to.
bool lacksStationTrack(const Scenario& s, const Treno& t);

// Turns the first numero_binari entries of the track table back into slot flags and sets the
// dialog's count to the number of chosen slots. Names the rule does not produce set no flag.
void Controlla_Binari_2(Scenario& s);

} // namespace zeb
