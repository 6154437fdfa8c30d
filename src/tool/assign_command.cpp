#include "tool/assign_command.h"

#include "companion/editor_data.h"
#include "document/assignment_setup.h"
#include "model/quoted_text.h"
#include "model/track_slots.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "text/numbers.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"
#include "track_assignment/track_assignment.h"
#include "track_rules/rules_csv.h"

#include <ostream>

namespace zeb {

namespace {

// `--treni`, `--binari`, `--margine` and `--tempo-max` into the options; false, said, when one is
// wrong.
bool readOptions(const AssignRequest& request, const Scenario& s, AssignmentOptions& options,
                 std::ostream& err) {
    const std::string kind = request.which.value_or("senza-binario");
    if (kind == "conflitti")
        options.which = TrainsToAssign::InConflict;
    else if (kind == "fuori-regola")
        options.which = TrainsToAssign::OutsideRules;
    else if (kind == "tutti")
        options.which = TrainsToAssign::All;
    else if (kind != "senza-binario") {
        err << "zebrano-tool assegna: --treni vuole senza-binario, conflitti, fuori-regola o "
               "tutti\n";
        return false;
    }
    if (request.tracks) {
        std::string name;
        for (std::size_t at = 0; at <= request.tracks->size(); ++at) {
            if (at < request.tracks->size() && (*request.tracks)[at] != ',') {
                name += (*request.tracks)[at];
                continue;
            }
            if (!hasStationTrack(s, name)) {
                err << "zebrano-tool assegna: il binario " << quotedBriefly(name)
                    << " non è tra quelli della stazione\n";
                return false;
            }
            options.allowedTracks.push_back(name);
            name.clear();
        }
    }
    const auto buffer = request.buffer ? wholeNumber(*request.buffer) : options.buffer;
    const auto limit =
        request.timeLimit ? wholeNumber(*request.timeLimit) : static_cast<int>(options.timeLimit);
    if (!buffer || *buffer < 0 || *buffer > 120 || !limit || *limit < 0 || *limit > 600) {
        err << "zebrano-tool assegna: --margine vuole i minuti da 0 a 120, --tempo-max i secondi "
               "da 0 a 600\n";
        return false;
    }
    options.buffer = *buffer;
    options.timeLimit = *limit;
    return true;
}

} // namespace

int assegnaCommand(const AssignRequest& request, const CheckSettings& settings, std::ostream& out,
                   std::ostream& err) {
    const auto opened = openDocument(request.scenario, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario& s = opened->scenario();
    ScenarioDocument& document = opened->document();
    document.setCheckSettings(settings);
    AssignmentOptions options = assignmentOptions(document.data(), document.links());
    if (!readOptions(request, s, options, err))
        return kExitUnreadable;
    if (request.rules) {
        RulesImport read;
        try {
            read = importRulesCsv(readScenarioFile(*request.rules), stationTrackNames(s));
        } catch (const ScenarioFileError& error) {
            read.errors = {error.message()};
        }
        if (!read.errors.empty()) {
            err << "zebrano-tool assegna: " << *request.rules << " non si legge:\n";
            for (const std::string& error : read.errors)
                err << "  " << error << "\n";
            return kExitUnreadable;
        }
        document.setTrackRules(read.rules);
    }
    options.rules = document.data().trackRules;
    if (request.risk) {
        options.riduciRischio = true;
        options.riskRuns = request.risk->runs;
        options.riskSeed = request.risk->seed;
    }
    document.setAssignmentLimits(options.buffer, static_cast<int>(options.timeLimit));
    const Assignment assignment = assignTracks(s, options);
    for (const TrackChange& change : assignment.changes)
        out << changeText(s, change) << "\n";
    if (const std::string unplaced = unplacedText(s, assignment); !unplaced.empty())
        out << unplaced << "\n";
    for (const std::string& line : shortfallTexts(assignment))
        out << line << "\n";
    for (const std::string& line : splitUnitTexts(s, assignment))
        out << line << "\n";
    out << assignmentSummary(assignment, options) << "\n";
    if (const std::string risk = riskText(assignment, options); !risk.empty())
        out << risk << "\n";
    if (assignment.searchNeedless)
        out << searchText(assignment) << "\n";
    document.assignTracks(assignment);
    if (!saveDocument(*opened, request.output, err))
        return kExitUnreadable;
    return assignment.conflictsAfter == 0 && assignment.unplaced.empty() ? kExitOk : kExitProblems;
}

ToolCommand assegnaTool() {
    auto run = [](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
        const auto output = arguments.value("output");
        if (!output)
            return usageError(err, "assegna vuole -o NUOVO.zeb");
        const auto runs = riskRunsOf(arguments);
        if (!runs)
            return usageError(err, "assegna vuole --simulazioni da 1 a 100000 e un --seme intero");
        const auto settings = settingsOf(arguments, err);
        if (!settings)
            return kExitUnreadable;
        return assegnaCommand({.scenario = arguments.file,
                               .output = *output,
                               .which = arguments.value("treni"),
                               .tracks = arguments.value("binari"),
                               .rules = arguments.value("regole"),
                               .buffer = arguments.value("margine"),
                               .timeLimit = arguments.value("tempo-max"),
                               .risk = arguments.has("rischio") ? runs : std::nullopt},
                              *settings, out, err);
    };
    return {
        "assegna",
        "  assegna FILE.zeb -o NUOVO.zeb [--treni senza-binario|conflitti|fuori-regola|tutti] "
        "[--binari 1,2,5]\n"
        "       [--rischio [--simulazioni 1000] [--seme 7]]\n"
        "                                               i binari scelti per i treni\n",
        run,
        withMinutes(withRiskRuns(withOutput({
            {"treni", "", "Quali treni: senza-binario, conflitti, fuori-regola o tutti.", "quali"},
            {"binari", "", "I binari da usare, separati da virgole (predefiniti tutti).", "binari"},
            {"regole", "",
             "Un CSV delle regole dei binari: categoria;provenienza;destinazione;tipo;dalle;"
             "alle;preferiti;ammessi (predefinite quelle accanto allo scenario).",
             "file"},
            {"margine", "",
             "Minuti da lasciare tra due treni di un binario oltre la separazione "
             "(predefiniti 5).",
             "minuti"},
            {"tempo-max", "",
             "Secondi per cercare binari migliori dopo la prima scelta (predefiniti 2, 0 per "
             "nessuna ricerca).",
             "secondi"},
            {"rischio", "",
             "Prima del margine, il minor numero di conflitti attesi con i ritardi dei treni.", ""},
        })))};
}

} // namespace zeb
