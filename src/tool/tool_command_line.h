#pragma once

#include "timetable/occupancy.h"
#include "tool/boards_writer.h"
#include "tool/notice_writer.h"

#include <date/date.h>

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// A command line as zebrano-tool received it: the command, its file, the options given (a flag's
// value is empty) and the day it runs on.
struct ToolArguments {
    std::string command;
    std::string file;
    std::map<std::string, std::string> options;
    date::sys_days today{};
    std::string secondFile{}; // of a command that works on two
    std::string lineFault{};  // why the line could not be read, where it could not

    bool has(const std::string& name) const { return options.contains(name); }
    std::optional<std::string> value(const std::string& name) const;
};

// An option of zebrano-tool, for the parser and the help: its long and short names, what it
// says, and the name of its value (empty for a flag).
struct ToolOption {
    std::string name;
    std::string shortName;
    std::string description;
    std::string valueName;
};

// A command of zebrano-tool: its name, its lines of the help, and what it does. It checks its
// own options, writes its results to `out` and its Italian messages to `err`, and returns the
// exit status.
struct ToolCommand {
    const char* name;
    const char* help;
    std::function<int(const ToolArguments&, std::ostream& out, std::ostream& err)> run;
    std::vector<ToolOption> options; // the options it takes, declared by it; any other is refused
    bool takesFile = true;           // the file it works on follows its name
    bool takesTwoFiles = false;      // and a second one after it
};

// `options` with "-o FILE", and with those of the occupancy minutes, which every command that
// checks takes.
std::vector<ToolOption> withOutput(std::vector<ToolOption> options,
                                   std::string description = "Il file da scrivere.");
std::vector<ToolOption> withMinutes(std::vector<ToolOption> options);
// The occupancy minutes of the options, else of the editor's data beside the file, else the
// defaults; or nullopt with the word of use on `err`. Data that cannot be read are said.
std::optional<CheckSettings> settingsOf(const ToolArguments& arguments, std::ostream& err);

// `options` with "--simulazioni" and "--seme", of the commands that play the day with delays.
std::vector<ToolOption> withRiskRuns(std::vector<ToolOption> options);
// Those two as given, else 1000 runs from seed 1; nullopt where one is wrong.
struct RiskRuns {
    int runs = 1000;
    std::uint64_t seed = 1;
};
std::optional<RiskRuns> riskRunsOf(const ToolArguments& arguments);

// An option's whole number from 0 to `most`, `fallback` where it is not given; nullopt where it
// is no such number.
std::optional<int> wholeOption(const ToolArguments& arguments, const char* name, int fallback,
                               int most);

// The options of all `commands`, once each, for the parser and the help: each says which
// commands take it.
std::vector<ToolOption> toolOptions(const std::vector<ToolCommand>& commands);
// The commands that need no drawing: nuovo, verifica, esporta, importa, gtfs, confronta,
// perturba, collega, assegna.
// `writeNotice` writes the PDF notice of `confronta`, where the program can draw.
// `writeBoards` the picture of `tabellone`.
std::vector<ToolCommand> coreCommands(const NoticeWriter& writeNotice = {},
                                      const BoardsWriter& writeBoards = {});
// The description of the help: the commands of `commands`, then the exit statuses.
std::string toolDescription(const std::vector<ToolCommand>& commands);
// `zebrano-tool COMANDO --help`: the command's line of use, each of its options with what it
// does, and an example; nullopt for a command there is not.
std::optional<std::string> commandHelp(const std::vector<ToolCommand>& commands,
                                       const std::string& name);

// Runs the command `arguments` names among `commands`: exit 2 with a word of use on `err` when it
// names none, lacks its file or has one it does not take, is given an option it does not take,
// or would write over one of the files it reads.
int runToolCommand(const std::vector<ToolCommand>& commands, const ToolArguments& arguments,
                   std::ostream& out, std::ostream& err);
// Reports a misuse of the tool on `err` and returns exit status 2.
int usageError(std::ostream& err, const std::string& what);

} // namespace zeb
