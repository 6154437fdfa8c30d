#include "tool/tool_command_line.h"

#include "companion/editor_data.h"
#include "model/quoted_text.h"
#include "text/numbers.h"
#include "tool/assign_command.h"
#include "tool/board_command.h"
#include "tool/compare_command.h"
#include "tool/delay_command.h"
#if defined(ZEB_WITH_GTFS)
#include "tool/gtfs_command.h"
#endif
#include "scenario_file/file_paths.h"
#include "tool/link_command.h"
#include "tool/new_command.h"
#include "tool/perturb_command.h"
#include "tool/tool_commands.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace zeb {

namespace {

// A whole number of minutes from an option, the fallback where it is not given; nullopt where it
// is not a number from 0 to 1440.
std::optional<int> minutesOption(const ToolArguments& arguments, const char* name, int fallback) {
    return wholeOption(arguments, name, fallback, 1440);
}

} // namespace

std::optional<CheckSettings> settingsOf(const ToolArguments& arguments, std::ostream& err) {
    const EditorDataRead companion = loadEditorData(arguments.file);
    if (companion.note)
        err << *companion.note << "\n";
    CheckSettings settings = companion.data.settings;
    const std::pair<const char*, int CheckSettings::*> options[] = {
        {"separazione", &CheckSettings::separation},
        {"sosta", &CheckSettings::turnaround},
        {"preparazione", &CheckSettings::preparation},
        {"inversione", &CheckSettings::leastTurnaround}};
    for (const auto& [option, field] : options) {
        const auto minutes = minutesOption(arguments, option, settings.*field);
        if (!minutes) {
            usageError(err, "i minuti devono essere un numero intero da 0 a 1440");
            return std::nullopt;
        }
        settings.*field = *minutes;
    }
    const auto threshold = wholeOption(arguments, "soglia-rischio", settings.riskThreshold, 100);
    if (!threshold || *threshold < 1) {
        usageError(err, "--soglia-rischio vuole una percentuale da 1 a 100");
        return std::nullopt;
    }
    settings.riskThreshold = *threshold;
    return settings;
}

std::optional<std::string> ToolArguments::value(const std::string& name) const {
    const auto found = options.find(name);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

std::vector<ToolCommand> coreCommands(const NoticeWriter& writeNotice,
                                      const BoardsWriter& writeBoards) {
    return {
        nuovoTool(), verificaTool(), esportaTool(), importaTool(),
#if defined(ZEB_WITH_GTFS)
            gtfsTool(),
#endif
            confrontaTool(writeNotice), perturbaTool(), collegaTool(), assegnaTool(), ritardiTool(),
            tabelloneTool(writeBoards)
    };
}

std::string toolDescription(const std::vector<ToolCommand>& commands) {
    std::string text = "Strumenti per gli scenari di Zebrano.\n\n";
    for (const ToolCommand& command : commands)
        text += command.help;
    return text + "\n"
                  "Uscita: 0 senza errori; 1 con errori nell'orario o nel CSV, se nessun treno "
                  "del feed\n"
                  "ferma o i treni non ci stanno, o se restano conflitti dopo l'assegnazione; 2 "
                  "se un\n"
                  "file non si può leggere o scrivere o un argomento è sbagliato.\n\n"
                  "La guida in italiano: F1 nell'editor, o le pagine in "
                  "/usr/share/doc/zebrano-editor/guida.";
}

namespace {

// A line that a planner could type, for each command.
constexpr std::pair<const char*, const char*> kExamples[] = {
    {"nuovo", "zebrano-tool nuovo --stazione Valmora --binari \"1 2 3 4\" -o valmora.zeb"},
    {"verifica", "zebrano-tool verifica valmora.zeb"},
    {"esporta", "zebrano-tool esporta valmora.zeb -o treni.csv"},
    {"importa", "zebrano-tool importa treni.csv --scenario valmora.zeb -o nuovo.zeb"},
    {"gtfs", "zebrano-tool gtfs orario.zip --stazione Valmora --data 2026-12-09 --assegna "
             "--scenario valmora.zeb -o giorno.zeb"},
    {"confronta", "zebrano-tool confronta giorno.zeb sciopero.zeb --avviso avviso.pdf"},
    {"perturba", "zebrano-tool perturba giorno.zeb -o sciopero.zeb --azione sopprimi --dalle "
                 "09:00 --alle 17:00 --quota 50"},
    {"collega", "zebrano-tool collega giorno.zeb -o collegato.zeb --attesa-max 60"},
    {"assegna", "zebrano-tool assegna giorno.zeb -o assegnato.zeb --treni tutti --rischio"},
    {"ritardi", "zebrano-tool ritardi giorno.zeb --seme 7 --csv rischio.csv"},
    {"tabellone", "zebrano-tool tabellone giorno.zeb --ora 08:00 --arrivi"},
    {"occupazione", "zebrano-tool occupazione giorno.zeb -o grafico.pdf --ore 4"},
    {"manifesti", "zebrano-tool manifesti giorno.zeb --partenze -o partenze.pdf"},
};

} // namespace

std::optional<std::string> commandHelp(const std::vector<ToolCommand>& commands,
                                       const std::string& name) {
    const auto command = std::find_if(commands.begin(), commands.end(),
                                      [&](const ToolCommand& c) { return c.name == name; });
    if (command == commands.end())
        return std::nullopt;
    std::string text = "Utilizzo:\n" + std::string(command->help) + "\nOpzioni:\n";
    for (const ToolOption& option : command->options) {
        std::string head = "  " + (option.shortName.empty() ? "" : "-" + option.shortName + ", ") +
                           "--" + option.name +
                           (option.valueName.empty() ? "" : " <" + option.valueName + ">");
        head.resize(std::max<std::size_t>(head.size() + 1, 32), ' ');
        text += head + option.description + "\n";
    }
    for (const auto& [commandName, example] : kExamples) {
        if (name == commandName)
            text += "\nEsempio:\n  " + std::string(example) + "\n";
    }
    return text;
}

namespace {

// Options that say opposite things.
constexpr std::pair<const char*, const char*> kOpposites[] = {
    {"collega", "non-collegare"}, {"autobus", "tipi"}, {"partenze", "arrivi"}};
// The options that name a file to write, and those that name a file to read.
constexpr const char* kWrittenFiles[] = {"output", "csv", "avviso"};
constexpr const char* kReadFiles[] = {"scenario", "regole", "categorie"};

// Why the options do not fit `command`, or nullopt.
std::optional<std::string> optionFault(const ToolCommand& command, const ToolArguments& arguments) {
    for (const auto& given : arguments.options) {
        const std::string& name = given.first;
        if (std::none_of(command.options.begin(), command.options.end(),
                         [&](const ToolOption& option) { return option.name == name; }))
            return "l'opzione --" + name + " non è del comando " + command.name;
    }
    for (const auto& [one, other] : kOpposites) {
        if (arguments.has(one) && arguments.has(other))
            return std::string("--") + one + " e --" + other + " non vanno insieme";
    }
    std::vector<std::string> read{arguments.file, arguments.secondFile};
    for (const char* name : kReadFiles)
        read.push_back(arguments.value(name).value_or(""));
    for (const char* name : kWrittenFiles) {
        const auto written = arguments.value(name);
        for (const std::string& input : read) {
            std::error_code unknown;
            if (written && !input.empty() &&
                std::filesystem::equivalent(pathOf(*written), pathOf(input), unknown))
                return "il file da scrivere " + quotedBriefly(*written) +
                       (*written == input ? " è anche"
                                          : " è lo stesso file di " + quotedBriefly(input) + ",") +
                       " uno di quelli che il comando legge: va scritto in un altro";
        }
    }
    return std::nullopt;
}

} // namespace

int runToolCommand(const std::vector<ToolCommand>& commands, const ToolArguments& arguments,
                   std::ostream& out, std::ostream& err) {
    for (const ToolCommand& command : commands) {
        if (arguments.command != command.name)
            continue;
        if (command.takesFile && arguments.file.empty())
            return usageError(err, "servono un comando e un file");
        if (command.takesTwoFiles && arguments.secondFile.empty())
            return usageError(err, arguments.command + " vuole due file");
        if (!command.takesTwoFiles && !arguments.secondFile.empty())
            return usageError(err, "troppi argomenti");
        if (!command.takesFile && !arguments.file.empty())
            return usageError(err, arguments.command + " non lavora su un file: quello da scrivere "
                                                       "va dato con -o");
        if (const auto fault = optionFault(command, arguments))
            return usageError(err, *fault);
        return command.run(arguments, out, err);
    }
    return usageError(err, "comando sconosciuto");
}

std::optional<int> wholeOption(const ToolArguments& arguments, const char* name, int fallback,
                               int most) {
    const auto text = arguments.value(name);
    if (!text)
        return fallback;
    const auto value = wholeNumber(*text);
    if (value && *value >= 0 && *value <= most)
        return value;
    return std::nullopt;
}

int usageError(std::ostream& err, const std::string& what) {
    err << "zebrano-tool: " << what << " (vedi zebrano-tool --help)\n";
    return kExitUnreadable;
}

} // namespace zeb
