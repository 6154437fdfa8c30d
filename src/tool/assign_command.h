#pragma once

#include "timetable/occupancy.h"

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace zeb {

// What `zebrano-tool assegna` is asked: the scenario, the output, which trains ("senza-binario",
// the default, "conflitti" or "tutti"), the tracks that may be used ("1,2,5"), a CSV of track
// rules, the buffer in minutes and the search's time limit in seconds; the rules, buffer and
// limit kept beside the scenario where not given.
struct AssignRequest {
    std::string scenario;
    std::string output;
    std::optional<std::string> which;
    std::optional<std::string> tracks;
    std::optional<std::string> rules;
    std::optional<std::string> buffer;
    std::optional<std::string> timeLimit;
    std::optional<RiskRuns> risk{}; // fewer clashes expected under the delays, over these runs
};

// `zebrano-tool assegna`: tracks for the trains of FILE by the rules of "Assegna binari…",
// written to the output with the rules beside it. Prints each change, what each rule lacks, and
// "conflitti: prima P, dopo Q; servono almeno N binari" (with rules or a buffer, also "fuori
// regola", "sul binario preferito" and "intervalli di meno di"; with the risk, the clashes expected
// under the delays before and after). Exit 0 when every train has a
// track without conflict, 1 when not (the file is written all the same), 2 when a file cannot be
// read or written or an argument is wrong.
int assegnaCommand(const AssignRequest& request, const CheckSettings& settings, std::ostream& out,
                   std::ostream& err);

// `assegna` for the tool's table: its options, its help and its reading of the line.
ToolCommand assegnaTool();

} // namespace zeb
