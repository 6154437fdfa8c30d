#pragma once

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace zeb {

// A command line of zebrano-tool as read: the arguments for the command, and whether the help
// or the version was asked for.
struct ReadLine {
    ToolArguments arguments;
    bool help = false;
    bool version = false;
    std::vector<std::string> positional; // the command and its files, as given
};

// Reads `words` (the line without the program's name) against the options of `commands`: a long
// option as "--nome valore" or "--nome=valore", a short one as "-o valore" or "-ovalore", anything
// after "--" a file. A wrong line leaves its reason in arguments.lineFault.
ReadLine readToolLine(const std::vector<std::string>& words,
                      const std::vector<ToolCommand>& commands);

// The whole help of `zebrano-tool --help`: the use, the commands, every option with what it does
// and which commands take it, the arguments; `leftOut` says what this build lacks, if anything.
std::string toolHelp(const std::vector<ToolCommand>& commands, const std::string& leftOut = {});

// zebrano-tool on `words`: the help (of the tool or of a command), the version, or the command,
// with its results on `out` and its messages on `err`; returns the exit status.
int runToolLine(const std::vector<std::string>& words, const std::vector<ToolCommand>& commands,
                const std::string& leftOut, std::ostream& out, std::ostream& err);

// The day the tool runs on, by the computer's clock and time zone.
date::sys_days localToday();

} // namespace zeb
