#pragma once

#include "timetable/occupancy.h"

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace zeb {

// What `zebrano-tool collega` was asked, its options as typed.
struct LinkRequest {
    std::string scenario;
    std::optional<std::string> output; // none with --elenco: nothing is written
    std::optional<std::string> longestWait{};
};

// The links the rule of turnarounds finds among the trains not yet linked, one a line ("2001 →
// 2002, binario 1, 10:00 → 10:20"), then their count and the trains left single. With an
// output, the scenario is written there with the editor's data beside it, the links of the file
// and the new ones together. Exit 0 when links were found (and written), 1 when none was, 2 when
// a file cannot be read or written or an option is wrong.
int collegaCommand(const LinkRequest& request, const CheckSettings& settings, std::ostream& out,
                   std::ostream& err);

// `collega` for the tool's table: its options, its help and its reading of the line.
ToolCommand collegaTool();

} // namespace zeb
