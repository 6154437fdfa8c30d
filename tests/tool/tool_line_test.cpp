#include "tool/tool_line.h"

#include "tool/tool_commands.h"

#include <gtest/gtest.h>

#include <sstream>

namespace zeb {
namespace {

// The words of a line as both programs read them: options anywhere, long or short, the value in
// the same word or the next, "--" before names that start with a dash; a wrong word is said.
TEST(ToolLine, ReadsTheOptionsAsTheHelpWritesThem) {
    const auto commands = coreCommands();
    auto read = [&](std::vector<std::string> words) {
        const ReadLine line = readToolLine(words, commands);
        std::string text = line.arguments.command + "|" + line.arguments.file + "|" +
                           line.arguments.secondFile + "|";
        for (const auto& [name, value] : line.arguments.options)
            text += name + "=" + value + ",";
        return text + "|" + line.arguments.lineFault + (line.help ? "|help" : "");
    };
    const struct {
        std::vector<std::string> words;
        std::string read;
    } cases[] = {
        {{"assegna", "a.zeb", "-o", "b.zeb", "--rischio"},
         "assegna|a.zeb||output=b.zeb,rischio=,|"},
        {{"-ob.zeb", "assegna", "--margine=7", "a.zeb"}, "assegna|a.zeb||margine=7,output=b.zeb,|"},
        {{"confronta", "a.zeb", "--", "-b.zeb"}, "confronta|a.zeb|-b.zeb||"},
        {{"verifica", "a.zeb", "-o"}, "||||manca il valore dopo -o"},
        {{"verifica", "--nulla", "a.zeb"}, "||||l'opzione --nulla non esiste"},
        {{"verifica", "-x"}, "||||l'opzione -x non esiste"},
        {{"assegna", "--help"}, "assegna|||||help"},
        {{"a", "b", "c", "d"}, "||||"},
    };
    for (const auto& row : cases)
        EXPECT_EQ(read(row.words), row.read) << row.words[0];
}

TEST(ToolLine, TheHelpNamesEveryOptionAndWhatTheBuildLacks) {
    const auto commands = coreCommands();
    const std::string help = toolHelp(commands, "Questa versione non disegna.");
    for (const ToolOption& option : toolOptions(commands))
        EXPECT_NE(help.find("--" + option.name), std::string::npos) << option.name;
    EXPECT_NE(help.find("\nQuesta versione non disegna.\n\nOpzioni:\n"), std::string::npos);
    std::istringstream lines(help);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with("  -")) {
            EXPECT_LE(line.size(), 80u) << line; // bytes: a little over for the accents
        }
    }
    std::ostringstream out, err;
    EXPECT_EQ(runToolLine({"--version"}, commands, {}, out, err), kExitOk);
    EXPECT_EQ(out.str(), "zebrano-tool " ZEBRANO_VERSION "\n");
    EXPECT_EQ(runToolLine({"verifica"}, commands, {}, out, err), 2);
    EXPECT_EQ(err.str(), "zebrano-tool: servono un comando e un file (vedi zebrano-tool --help)\n");
}

} // namespace
} // namespace zeb
