#pragma once

#include "timetable/occupancy.h"

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace zeb {

// The commands of zebrano-tool, for scripts. Each writes its results to `out` and its Italian
// messages to `err`, and returns the exit status.

// Exit statuses: 0 no errors, 1 errors found (or a refused import), 2 a file cannot be read or
// written.
inline constexpr int kExitOk = 0;
inline constexpr int kExitProblems = 1;
inline constexpr int kExitUnreadable = 2;

// The checker's findings, one a line ("errore: ...", "avviso: ..."), then a count.
int verificaCommand(const std::string& scenarioPath, const CheckSettings& settings,
                    std::ostream& out, std::ostream& err);

// The trains as CSV, to `csvPath` through a safe replacement, or to `out` without one.
int esportaCommand(const std::string& scenarioPath, const std::optional<std::string>& csvPath,
                   std::ostream& out, std::ostream& err);

// BASE's station and trains, then the CSV's trains, written to `outputPath`; nothing is written
// when the CSV has errors.
int importaCommand(const std::string& csvPath, const std::string& basePath,
                   const std::string& outputPath, std::ostream& out, std::ostream& err);

// The three for the tool's table: their options, their help and their reading of the line.
ToolCommand verificaTool();
ToolCommand esportaTool();
ToolCommand importaTool();

} // namespace zeb
