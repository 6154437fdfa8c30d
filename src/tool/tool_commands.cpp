#include "tool/tool_commands.h"

#include "csv_exchange/trains_csv.h"
#include "delay_risk/risk_texts.h"
#include "model/counted.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "timetable/checker.h"
#include "tool/tool_files.h"
#include "track_rules/rule_matching.h"

#include <ostream>

namespace zeb {

int verificaCommand(const std::string& scenarioPath, const CheckSettings& settings,
                    std::ostream& out, std::ostream& err) {
    const auto opened = openDocument(scenarioPath, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario& s = opened->scenario();
    std::vector<Finding> findings = withFindings(checkScenario(s, settings, opened->links()),
                                                 ruleFindings(s, opened->data().trackRules));
    if (mayRunLate(s)) // the pairs that clash in most of a thousand runs with the delays
        findings = withFindings(
            std::move(findings),
            riskFindings(s, opened->links(),
                         measureDelayRisk(s, opened->links(), {.check = settings}), settings));
    for (const Finding& finding : findings)
        out << (finding.severity == Severity::Error ? "errore: " : "avviso: ") << finding.message
            << "\n";
    const FindingsCount count = countFindings(findings);
    out << counted(count.errors, "errore", "errori") << ", "
        << counted(count.warnings, "avviso", "avvisi") << "\n";
    return count.errors > 0 ? kExitProblems : kExitOk;
}

int esportaCommand(const std::string& scenarioPath, const std::optional<std::string>& csvPath,
                   std::ostream& out, std::ostream& err) {
    const auto opened = openDocument(scenarioPath, err);
    if (!opened)
        return kExitUnreadable;
    const std::string csv = trainsCsv(opened->scenario());
    if (!csvPath) {
        out << csv;
        return kExitOk;
    }
    try {
        replaceFileContents(*csvPath, csv);
    } catch (const ScenarioFileError& error) {
        err << *csvPath << ": " << error.message() << "\n";
        return kExitUnreadable;
    }
    return kExitOk;
}

int importaCommand(const std::string& csvPath, const std::string& basePath,
                   const std::string& outputPath, std::ostream& out, std::ostream& err) {
    const auto opened = openDocument(basePath, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario& s = opened->scenario();
    CsvImport result;
    try {
        result = importTrainsCsv(s, readScenarioFile(csvPath));
    } catch (const ScenarioFileError& error) {
        err << csvPath << ": " << error.message() << "\n";
        return kExitUnreadable;
    }
    if (!result.ok()) {
        err << csvPath << ": nessun treno importato\n";
        for (const std::string& error : result.errors)
            err << error << "\n";
        return kExitProblems;
    }
    // The base's trains keep their places, and so their links, rules and settings.
    const int before = opened->document().importCsv(result);
    if (!saveDocument(*opened, outputPath, err))
        return kExitUnreadable;
    out << counted(s.totale_treni - before, "treno importato", "treni importati") << ", "
        << counted(s.totale_treni, "treno", "treni") << " in " << outputPath << "\n";
    return kExitOk;
}

ToolCommand verificaTool() {
    auto run = [](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
        const auto settings = settingsOf(arguments, err);
        return settings ? verificaCommand(arguments.file, *settings, out, err) : kExitUnreadable;
    };
    return {"verifica", "  verifica FILE.zeb                            controlla l'orario\n", run,
            withMinutes({})};
}

ToolCommand esportaTool() {
    auto run = [](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
        return esportaCommand(arguments.file, arguments.value("output"), out, err);
    };
    return {"esporta", "  esporta FILE.zeb [-o FILE.csv]               i treni in CSV\n", run,
            withOutput({}, "Il file CSV da scrivere, se no i treni vanno sull'uscita.")};
}

ToolCommand importaTool() {
    auto run = [](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
        const auto base = arguments.value("scenario");
        const auto output = arguments.value("output");
        if (!base || !output)
            return usageError(err, "importa vuole --scenario BASE.zeb e -o NUOVO.zeb");
        return importaCommand(arguments.file, *base, *output, out, err);
    };
    return {"importa",
            "  importa FILE.csv --scenario BASE.zeb -o NUOVO.zeb\n"
            "                                               i treni del CSV aggiunti a BASE\n",
            run, withOutput({{"scenario", "", "Lo scenario a cui aggiungere i treni.", "file"}})};
}

} // namespace zeb
