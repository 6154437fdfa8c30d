#include "tool/tool_command_line.h"

#include "companion/editor_data.h"
#include "model/quoted_text.h"
#include "text/numbers.h"
#include "tool/assign_command.h"
#include "tool/board_command.h"
#include "tool/compare_command.h"
#include "tool/gtfs_command.h"
#include "tool/link_command.h"
#include "tool/new_command.h"
#include "tool/perturb_command.h"
#include "tool/tool_commands.h"

#include <algorithm>
#include <filesystem>
#include <ostream>

namespace zeb {

namespace {

std::vector<std::string> withMinutes(std::vector<std::string> options) {
    options.insert(options.end(), kMinutesOptions.begin(), kMinutesOptions.end());
    return options;
}

// A whole number of minutes from an option, the fallback where it is not given; nullopt where it
// is not a number from 0 to 1440.
std::optional<int> minutesOption(const ToolArguments& arguments, const char* name, int fallback) {
    return wholeOption(arguments, name, fallback, 1440);
}

// The occupancy minutes of the options, else of the editor's data beside the file, else the
// defaults; or nullopt with the word of use on `err`. Data that cannot be read are said.
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
    return settings;
}

int verifica(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto settings = settingsOf(arguments, err);
    return settings ? verificaCommand(arguments.file, *settings, out, err) : kExitUnreadable;
}

int esporta(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    return esportaCommand(arguments.file, arguments.value("output"), out, err);
}

int importa(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto base = arguments.value("scenario");
    const auto output = arguments.value("output");
    if (!base || !output)
        return usageError(err, "importa vuole --scenario BASE.zeb e -o NUOVO.zeb");
    return importaCommand(arguments.file, *base, *output, out, err);
}

int assegna(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto output = arguments.value("output");
    if (!output)
        return usageError(err, "assegna vuole -o NUOVO.zeb");
    const auto settings = settingsOf(arguments, err);
    if (!settings)
        return kExitUnreadable;
    return assegnaCommand({.scenario = arguments.file,
                           .output = *output,
                           .which = arguments.value("treni"),
                           .tracks = arguments.value("binari"),
                           .rules = arguments.value("regole"),
                           .buffer = arguments.value("margine"),
                           .timeLimit = arguments.value("tempo-max")},
                          *settings, out, err);
}

int nuovo(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto output = arguments.value("output");
    if (!output || !arguments.has("stazione") || !arguments.has("binari"))
        return usageError(err, "nuovo vuole --stazione NOME, --binari \"1 2 3 4\" e -o FILE.zeb");
    return nuovoCommand({.station = *arguments.value("stazione"),
                         .tracks = *arguments.value("binari"),
                         .start = arguments.value("inizio"),
                         .output = *output},
                        out, err);
}

int perturba(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto output = arguments.value("output");
    if (!output)
        return usageError(err, "perturba vuole -o NUOVO.zeb e --azione");
    const auto settings = settingsOf(arguments, err);
    if (!settings)
        return kExitUnreadable;
    return perturbaCommand({.scenario = arguments.file,
                            .output = *output,
                            .action = arguments.value("azione"),
                            .from = arguments.value("dalle"),
                            .to = arguments.value("alle"),
                            .categories = arguments.value("categorie"),
                            .share = arguments.value("quota"),
                            .seed = arguments.value("seme"),
                            .track = arguments.value("binario"),
                            .delays = arguments.value("ritardi")},
                           *settings, out, err);
}

int collega(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto output = arguments.value("output");
    if (output.has_value() == arguments.has("elenco"))
        return usageError(err, "collega vuole -o NUOVO.zeb oppure --elenco");
    const auto settings = settingsOf(arguments, err);
    if (!settings)
        return kExitUnreadable;
    return collegaCommand({.scenario = arguments.file,
                           .output = output,
                           .longestWait = arguments.value("attesa-max")},
                          *settings, out, err);
}

int gtfs(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const GtfsToolRequest request{.feed = arguments.file,
                                  .listStations = arguments.has("stazioni"),
                                  .date = arguments.value("data"),
                                  .station = arguments.value("stazione"),
                                  .from = arguments.value("dalle"),
                                  .to = arguments.value("alle"),
                                  .buses = arguments.has("autobus"),
                                  .types = arguments.value("tipi"),
                                  .base = arguments.value("scenario"),
                                  .output = arguments.value("output"),
                                  .assign = arguments.has("assegna"),
                                  .categories = arguments.value("categorie"),
                                  .present = arguments.value("gia-presenti"),
                                  .noLinks = arguments.has("non-collegare")};
    return gtfsCommand(request, arguments.today, out, err);
}

} // namespace

std::optional<std::string> ToolArguments::value(const std::string& name) const {
    const auto found = options.find(name);
    if (found == options.end())
        return std::nullopt;
    return found->second;
}

std::vector<ToolCommand> coreCommands(const NoticeWriter& writeNotice,
                                      const BoardsWriter& writeBoards) {
    auto confronta = [writeNotice](const ToolArguments& arguments, std::ostream& out,
                                   std::ostream& err) {
        return confrontaCommand({.base = arguments.file,
                                 .variant = arguments.secondFile,
                                 .csv = arguments.value("csv"),
                                 .notice = arguments.value("avviso"),
                                 .day = arguments.value("data")},
                                writeNotice, out, err);
    };
    return {
        {"nuovo",
         "  nuovo --stazione NOME --binari \"1 2 3 4\" [--inizio 06:00] -o FILE.zeb\n"
         "                                               uno scenario vuoto della stazione\n",
         nuovo,
         {"output", "stazione", "binari", "inizio"},
         false},
        {"verifica", "  verifica FILE.zeb                            controlla l'orario\n",
         verifica, kMinutesOptions},
        {"esporta",
         "  esporta FILE.zeb [-o FILE.csv]               i treni in CSV\n",
         esporta,
         {"output"}},
        {"importa",
         "  importa FILE.csv --scenario BASE.zeb -o NUOVO.zeb\n"
         "                                               i treni del CSV aggiunti a BASE\n",
         importa,
         {"scenario", "output"}},
        {"gtfs",
         "  gtfs FEED --stazioni [--data AAAA-MM-GG]     le stazioni del feed, le più trafficate "
         "prima\n"
         "  gtfs FEED --stazione ID_O_NOME --data AAAA-MM-GG [--dalle HH:MM] [--alle HH:MM]\n"
         "       [--autobus | --tipi 0,2] [--categorie FILE.csv] [--assegna]\n"
         "       [--gia-presenti nuovi|sostituisci|tutti] [--collega | --non-collegare]\n"
         "       --scenario BASE.zeb -o NUOVO.zeb\n"
         "                                               i treni di quel giorno aggiunti a BASE\n",
         gtfs,
         {"stazioni", "data", "stazione", "dalle", "alle", "autobus", "tipi", "scenario", "output",
          "assegna", "categorie", "gia-presenti", "collega", "non-collegare"}},
        {"confronta",
         "  confronta BASE.zeb VARIANTE.zeb [--csv DIFFERENZE.csv] [--avviso AVVISO.pdf]\n"
         "       [--data AAAA-MM-GG]\n"
         "                                               i treni che la variante cambia\n",
         confronta,
         {"csv", "avviso", "data"},
         true,
         true},
        {"perturba",
         "  perturba FILE.zeb -o NUOVO.zeb --azione sopprimi|limita|origine|binario|ritardo\n"
         "       [--dalle HH:MM] [--alle HH:MM] [--categorie Regionale,…] [--quota 50] [--seme 7]\n"
         "       [--binario 5] [--ritardi 60,30,10]\n"
         "                                               un giorno perturbato dal normale\n",
         perturba,
         withMinutes({"output", "azione", "dalle", "alle", "categorie", "quota", "seme", "binario",
                      "ritardi"})},
        {"collega",
         "  collega FILE.zeb -o NUOVO.zeb | --elenco [--attesa-max 90]\n"
         "                                               i treni che terminano collegati a "
         "quelli che ripartono\n",
         collega, withMinutes({"output", "elenco", "attesa-max"})},
        {"assegna",
         "  assegna FILE.zeb -o NUOVO.zeb [--treni senza-binario|conflitti|fuori-regola|tutti] "
         "[--binari "
         "1,2,5]\n"
         "                                               i binari scelti per i treni\n",
         assegna, withMinutes({"output", "treni", "binari", "regole", "margine", "tempo-max"})},
        boardCommand(writeBoards),
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
                  "file non si può leggere o scrivere o un argomento è sbagliato.";
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
    for (const auto& [name, value] : arguments.options) {
        if (std::find(command.options.begin(), command.options.end(), name) ==
            command.options.end())
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
            if (written && !input.empty() && std::filesystem::equivalent(*written, input, unknown))
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
