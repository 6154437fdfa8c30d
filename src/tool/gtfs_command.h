#pragma once

#include <date/date.h>

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <optional>
#include <string>

namespace zeb {

// What `zebrano-tool gtfs` was asked.
struct GtfsToolRequest {
    std::string feed{};
    bool listStations = false;
    std::optional<std::string> date{};    // "AAAA-MM-GG"
    std::optional<std::string> station{}; // a stop_id, a name or a part of one
    std::optional<std::string> from{};    // "HH:MM"
    std::optional<std::string> to{};
    bool buses = false;
    std::optional<std::string> types{}; // route types, "0,2": in place of rail alone or buses
    std::optional<std::string> base{};
    std::optional<std::string> output{};
    bool assign = false;                     // tracks chosen for the trains imported without one
    std::optional<std::string> categories{}; // a CSV of "tipo;categoria" lines
    std::optional<std::string> present{};    // "nuovi", "sostituisci" or "tutti"
    bool noLinks = false;                    // the trips of one block_id not linked as one unit
};

// The feed's stations with their trains on the day, "ID;NOME;TRENI" a line, busiest first; or a
// station's trains on the day appended to BASE's and written to the output, with tracks chosen
// for those without one where `assign` asks, else a word of how many lack one. Consecutive trips
// of one block_id that end and start here are linked as one unit, unless `noLinks`; the links go
// beside the output with BASE's editor data. Trains BASE holds
// already are settled as `present` says; without it, an import that would repeat them writes
// nothing and says how many (exit 1). Exit 0 when done, 1
// when no train calls there that day or the trains do not fit (nothing written), 2 when a file
// cannot be read or written or an argument is wrong. `today` picks the default day.
int gtfsCommand(const GtfsToolRequest& request, date::sys_days today, std::ostream& out,
                std::ostream& err);

// `gtfs` for the tool's table: its options, its help and its reading of the line.
ToolCommand gtfsTool();

} // namespace zeb
