#pragma once

#include "companion/stored_links.h"
#include "gtfs/present_trains.h"
#include "track_assignment/track_assignment.h"

#include <optional>
#include <string>
#include <vector>

namespace zeb {

struct StationDay;

// A station's day to append: its trains settled against the scenario, the units of the feed
// named by their trains, the station's name and tracks to take where the scenario has no trains
// yet, and the settings under which the trains that come without a track get one.
struct DayImportRequest {
    std::string serviceDay; // "AAAA-MM-GG"
    SettledImport settled;
    std::vector<StoredLink> units;
    const StationDay* feedStation = nullptr;
    std::optional<CheckSettings> tracksWith;
};

// What the import did, or why it did nothing.
struct DayImported {
    std::optional<std::string> refusal;
    int first = 0; // the first appended train
    long replaced = 0;
    std::size_t newLinks = 0;
    std::vector<int> trackless;       // the appended trains that came without a track
    std::optional<Assignment> tracks; // the tracks chosen for them
};

} // namespace zeb
