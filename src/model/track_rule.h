#pragma once

#include <string>
#include <vector>

namespace zeb {

// Which trains a track rule takes by how they call here.
enum class RulePassage { Any, Passes, Ends, Starts };

// A station's habit for some of its trains: the tracks they use, the preferred in order, and
// those they may take when the preferred are full; every other track is forbidden to them. A rule
// takes the trains that match every part it gives; an empty part matches any train.
struct TrackRule {
    std::string categoria;    // one of the 16 categories
    std::string provenienza;  // a name, letter case and accents aside, "*" for any run of letters
    std::string destinazione; // likewise
    RulePassage tipo = RulePassage::Any;
    int dalle = -1; // the window of the train's first time here, minutes of the day round the
    int alle = -1;  // clock, both ends within it; -1 for none
    std::vector<std::string> preferiti;
    std::vector<std::string> ammessi;

    bool operator==(const TrackRule&) const = default;
};

// The first rule that matches a train decides for it; a train no rule matches may use any track.
using TrackRules = std::vector<TrackRule>;
// The most rules a station keeps: far more than any has, and what the editor's data read back.
inline constexpr std::size_t kMostTrackRules = 10'000;

} // namespace zeb
