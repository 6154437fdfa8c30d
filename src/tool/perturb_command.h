#pragma once

#include "timetable/occupancy.h"
#include "variants/perturbation.h"

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <string>

namespace zeb {

// What `zebrano-tool perturba` was asked, its options as typed.
struct PerturbRequest {
    std::string scenario;
    std::string output;
    std::optional<std::string> action; // sopprimi, limita, origine, binario, ritardo
    std::optional<std::string> from{}; // "HH:MM"
    std::optional<std::string> to{};
    std::optional<std::string> categories{}; // "Regionale,Intercity"
    std::optional<std::string> share{};      // percent
    std::optional<std::string> seed{};
    std::optional<std::string> track{};
    std::optional<std::string> delays{}; // "60,30,10": percent for the indices 0, 1, 2, …
};

// The scenario with the perturbation applied to the trains the filter takes, written to the
// output; one line a change ("2231 07:45: binario 3 → 5"), then their count. Exit 0 when
// written, 2 when a file cannot be read or written or an option is wrong.
int perturbaCommand(const PerturbRequest& request, const CheckSettings& settings, std::ostream& out,
                    std::ostream& err);

// `perturba` for the tool's table: its options, its help and its reading of the line.
ToolCommand perturbaTool();

} // namespace zeb
