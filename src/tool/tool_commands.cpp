#include "tool/tool_commands.h"

#include "companion/editor_data.h"
#include "csv_exchange/trains_csv.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "timetable/checker.h"
#include "tool/tool_files.h"
#include "track_rules/rule_matching.h"

#include <ostream>

namespace zeb {

int verificaCommand(const std::string& scenarioPath, const CheckSettings& settings,
                    std::ostream& out, std::ostream& err) {
    const auto s = loadScenario(scenarioPath, err);
    if (!s)
        return kExitUnreadable;
    const std::vector<Finding> findings =
        withFindings(checkScenario(*s, settings, linksBeside(*s, scenarioPath)),
                     ruleFindings(*s, loadEditorData(scenarioPath).data.trackRules));
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
    const auto s = loadScenario(scenarioPath, err);
    if (!s)
        return kExitUnreadable;
    const std::string csv = trainsCsv(*s);
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
    const auto s = loadScenario(basePath, err);
    if (!s)
        return kExitUnreadable;
    CsvImport result;
    try {
        result = importTrainsCsv(*s, readScenarioFile(csvPath));
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
    const int before = appendImportedTrains(*s, result);
    // The base's trains keep their places, and so their links, rules and settings.
    const EditorData data = loadEditorData(basePath).data;
    if (!saveWithEditorData(*s, outputPath, data, findLinks(*s, data.links).links, err))
        return kExitUnreadable;
    out << counted(s->totale_treni - before, "treno importato", "treni importati") << ", "
        << counted(s->totale_treni, "treno", "treni") << " in " << outputPath << "\n";
    return kExitOk;
}

} // namespace zeb
