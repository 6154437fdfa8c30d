#pragma once

#include "timetable/occupancy.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace zeb {

// `zebrano-tool assegna`: tracks for the trains of FILE by the rules of "Assegna binari…",
// written to the output. `which` is "senza-binario" (the default), "conflitti" or "tutti";
// `tracks` names the tracks that may be used ("1,2,5"). Prints each change and "conflitti: prima
// P, dopo Q; servono almeno N binari". Exit 0 when every train has a track without conflict, 1
// when not (the file is written all the same), 2 when a file cannot be read or written or an
// argument is wrong.
int assegnaCommand(const std::string& scenarioPath, const std::string& outputPath,
                   const std::optional<std::string>& which,
                   const std::optional<std::string>& tracks, const CheckSettings& settings,
                   std::ostream& out, std::ostream& err);

} // namespace zeb
