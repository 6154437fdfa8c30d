#pragma once

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace zeb {

// What `zebrano-tool nuovo` was asked: the station's name, its tracks ("1 2 3 4", "1,2,1tronco"),
// the simulation's start ("06:00" when not given) and the file to write.
struct NewScenarioRequest {
    std::string station;
    std::string tracks;
    std::optional<std::string> start;
    std::string output;
};

// An empty scenario of the station, so that `gtfs` and `importa` can start from the command
// line alone. Exit 0 when written; 2 when an argument is wrong or the file cannot be written.
int nuovoCommand(const NewScenarioRequest& request, std::ostream& out, std::ostream& err);

// `nuovo` for the tool's table: its options, its help and its reading of the line.
ToolCommand nuovoTool();

} // namespace zeb
