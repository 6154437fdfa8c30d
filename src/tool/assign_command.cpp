#include "tool/assign_command.h"

#include "companion/editor_data.h"
#include "model/quoted_text.h"
#include "model/track_slots.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"
#include "track_assignment/track_assignment.h"

#include <ostream>

namespace zeb {

int assegnaCommand(const std::string& scenarioPath, const std::string& outputPath,
                   const std::optional<std::string>& which,
                   const std::optional<std::string>& tracks, const CheckSettings& settings,
                   std::ostream& out, std::ostream& err) {
    AssignmentOptions options;
    options.settings = settings;
    const std::string kind = which.value_or("senza-binario");
    if (kind == "conflitti")
        options.which = TrainsToAssign::InConflict;
    else if (kind == "tutti")
        options.which = TrainsToAssign::All;
    else if (kind != "senza-binario") {
        err << "zebrano-tool assegna: --treni vuole senza-binario, conflitti o tutti\n";
        return kExitUnreadable;
    }
    const auto s = loadScenario(scenarioPath, err);
    if (!s)
        return kExitUnreadable;
    if (tracks) {
        std::string name;
        for (std::size_t at = 0; at <= tracks->size(); ++at) {
            if (at < tracks->size() && (*tracks)[at] != ',') {
                name += (*tracks)[at];
                continue;
            }
            if (!hasStationTrack(*s, name)) {
                err << "zebrano-tool assegna: il binario " << quotedBriefly(name)
                    << " non è tra quelli della stazione\n";
                return kExitUnreadable;
            }
            options.allowedTracks.push_back(name);
            name.clear();
        }
    }
    const EditorData data = loadEditorData(scenarioPath).data;
    options.links = findLinks(*s, data.links).links;
    const Assignment assignment = assignTracks(*s, options);
    for (const TrackChange& change : assignment.changes)
        out << changeText(*s, change) << "\n";
    if (const std::string unplaced = unplacedText(*s, assignment); !unplaced.empty())
        out << unplaced << "\n";
    out << assignmentSummary(assignment) << "\n";
    applyAssignment(*s, assignment);
    if (!saveWithEditorData(*s, outputPath, data, options.links, err))
        return kExitUnreadable;
    return assignment.conflictsAfter == 0 && assignment.unplaced.empty() ? kExitOk : kExitProblems;
}

} // namespace zeb
