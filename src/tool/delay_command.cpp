#include "tool/delay_command.h"

#include "delay_risk/risk_texts.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"

#include <ostream>

namespace zeb {

namespace {

int ritardi(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    DelayRiskSettings settings;
    const auto runs = riskRunsOf(arguments);
    if (!runs)
        return usageError(err, "ritardi vuole --simulazioni da 1 a 100000 e un --seme intero");
    const auto checked = settingsOf(arguments, err);
    if (!checked)
        return kExitUnreadable;
    settings.runs = runs->runs;
    settings.seed = runs->seed;
    settings.most = arguments.has("massimo");
    settings.check = *checked;
    const auto opened = openDocument(arguments.file, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario& s = opened->scenario();
    const DelayRisk risk = measureDelayRisk(s, opened->links(), settings);
    const std::vector<RiskRow> rows = riskRows(s, risk);
    if (const auto csv = arguments.value("csv")) {
        try {
            replaceFileContents(*csv, riskCsv(rows));
        } catch (const ScenarioFileError& error) {
            err << *csv << ": " << error.message() << "\n";
            return kExitUnreadable;
        }
    }
    out << riskSummary(risk, settings) << "\n";
    for (const auto& [track, share] : risk.tracks)
        out << trackRiskLine(track, share, settings.most) << "\n";
    for (const RiskRow& row : rows) {
        if (row.share > 0)
            out << riskLine(row, settings.most) << "\n";
    }
    return risk.expectedClashes > 0 ? kExitProblems : kExitOk;
}

} // namespace

ToolCommand ritardiTool() {
    return {"ritardi",
            "  ritardi FILE.zeb [--simulazioni 1000] [--seme 7] [--massimo] [--csv RISCHIO.csv]\n"
            "                                               i conflitti che i ritardi "
            "previsti causano\n",
            ritardi,
            withMinutes(withRiskRuns({
                {"massimo", "", "Una sola giornata, con ogni treno al suo ritardo massimo.", ""},
                {"csv", "", "Il file CSV in cui scrivere anche una riga per treno.", "file"},
            }))};
}

} // namespace zeb
