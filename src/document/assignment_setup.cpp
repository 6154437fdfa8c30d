#include "document/assignment_setup.h"

#include "companion/stored_links.h"
#include "timetable/turnaround_pairs.h"

namespace zeb {

AssignmentOptions assignmentOptions(const EditorData& data, const TrainLinks& links) {
    AssignmentOptions options;
    options.settings = data.settings;
    options.links = links;
    options.rules = data.trackRules;
    options.buffer = data.buffer;
    options.timeLimit = data.timeLimit;
    return options;
}

Assignment chooseImportedTracks(Scenario& s, int first, const TrainLinks& links,
                                const EditorData& data) {
    const std::vector<int> trackless = tracklessTrains(s, first);
    if (trackless.empty())
        return {};
    AssignmentOptions options = assignmentOptions(data, links);
    options.which = TrainsToAssign::Selected;
    options.selected = trackless;
    options.timeLimit = 0;
    Assignment assignment = assignTracks(s, options);
    applyAssignment(s, assignment);
    return assignment;
}

std::vector<std::string> importedTracks(const Scenario& base, const ChosenTrains& chosen,
                                        PresentTrains how, const TrainLinks& had,
                                        const EditorData& data) {
    SettledImport settled = settleImport(base, chosen, how);
    std::vector<std::string> tracks;
    for (const Treno& t : chosen.trains)
        tracks.push_back(t.binario);
    if (settledRefusal(base, settled))
        return tracks;
    const std::vector<int> addedFrom = settled.addedFrom;
    const std::vector<std::pair<int, int>> replacedFrom = settled.replacedFrom;
    Scenario s = base;
    const int first = applySettled(s, settled);
    const TrainLinks links =
        withLinks(had, findLinks(s, storedLinks(chosen.trains, chosen.links)).links);
    chooseImportedTracks(s, first, links, data);
    for (std::size_t k = 0; k < addedFrom.size(); ++k)
        tracks[static_cast<std::size_t>(addedFrom[k])] =
            s.treni[first + static_cast<int>(k)].binario;
    for (const auto& [from, position] : replacedFrom)
        tracks[static_cast<std::size_t>(from)] = s.treni[position].binario;
    return tracks;
}

} // namespace zeb
