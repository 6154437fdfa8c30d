#include "track_assignment/track_assignment.h"

#include "model/track_slots.h"
#include "timetable/train_links.h"
#include "track_assignment/assigner.h"

#include <algorithm>

namespace zeb {

namespace {

Assignment assignedTracks(const Scenario& s, const AssignmentOptions& options) {
    if (options.links.empty())
        return placement::Assigner(s, options).run();
    // A unit on two tracks is taken as on the arriving train's, so that it is one occupancy.
    Scenario unified = s;
    for (const TrainLink& link : options.links) {
        if (linkState(s, link, options.settings) != LinkState::OtherTracks)
            continue;
        unified.treni[static_cast<std::size_t>(link.leaving)].binario =
            s.treni[static_cast<std::size_t>(link.arriving)].binario;
    }
    // A unit the choice leaves alone stays on its two tracks, said apart: no train the choice
    // leaves alone is moved.
    const std::vector<int> chosen = placement::Assigner(unified, options).chosenTrains();
    TrainLinks split;
    for (const TrainLink& link : options.links) {
        if (linkState(s, link, options.settings) == LinkState::OtherTracks &&
            !std::binary_search(chosen.begin(), chosen.end(), link.arriving)) {
            unified.treni[static_cast<std::size_t>(link.leaving)].binario =
                s.treni[static_cast<std::size_t>(link.leaving)].binario;
            split.push_back(link);
        }
    }
    Assignment result = placement::Assigner(unified, options).run();
    result.splitUnits = std::move(split);
    result.conflictsBefore = stationConflicts(s, options.settings, options.links);
    // The second trains that the unification moved: from the track they really had.
    for (int i = 0; i < s.totale_treni; ++i) {
        const std::string& had = s.treni[i].binario;
        if (had == unified.treni[i].binario)
            continue;
        auto change = std::find_if(result.changes.begin(), result.changes.end(),
                                   [&](const TrackChange& c) { return c.train == i; });
        const std::string from = hasStationTrack(s, had) ? had : std::string();
        if (change == result.changes.end())
            result.changes.push_back({i, from, unified.treni[i].binario});
        else
            change->from = from;
    }
    std::erase_if(result.changes, [&](const TrackChange& c) {
        return s.treni[static_cast<std::size_t>(c.train)].binario == c.to;
    });
    std::sort(result.changes.begin(), result.changes.end(),
              [](const TrackChange& a, const TrackChange& b) { return a.train < b.train; });
    return result;
}

} // namespace

Assignment assignTracks(const Scenario& s, const AssignmentOptions& options) {
    Assignment result = assignedTracks(s, options);
    if (options.rules.empty() && options.buffer <= 0)
        return result;
    result.before = trackQuality(s, options.settings, options.links, options.rules, options.buffer);
    Scenario after = s;
    applyAssignment(after, result);
    result.after =
        trackQuality(after, options.settings, options.links, options.rules, options.buffer);
    return result;
}

void applyAssignment(Scenario& s, const Assignment& assignment) {
    for (const TrackChange& change : assignment.changes)
        s.treni[static_cast<std::size_t>(change.train)].binario = change.to;
}

int stationConflicts(const Scenario& s, const CheckSettings& settings, const TrainLinks& links) {
    return static_cast<int>(
        trackConflicts(stationTrackOccupancies(s, settings, links), settings.separation).size());
}

std::vector<int> tracklessTrains(const Scenario& s, int first) {
    std::vector<int> trains;
    for (int i = std::max(first, 0); i < s.totale_treni; ++i) {
        if (lacksStationTrack(s, s.treni[i]))
            trains.push_back(i);
    }
    return trains;
}

} // namespace zeb
