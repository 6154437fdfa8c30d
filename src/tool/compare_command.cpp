#include "tool/compare_command.h"

#include "companion/editor_data.h"
#include "model/quoted_text.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "tool/iso_dates.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"
#include "variants/day_comparison.h"

#include <ostream>

namespace zeb {

int confrontaCommand(const CompareRequest& request, const NoticeWriter& writeNotice,
                     std::ostream& out, std::ostream& err) {
    std::optional<date::sys_days> day;
    if (request.day && !(day = isoDate(*request.day))) {
        err << "zebrano-tool confronta: " << isoDateFault(*request.day) << "\n";
        return kExitUnreadable;
    }
    const auto baseDay = openDocument(request.base, err);
    const auto variantDay = baseDay ? openDocument(request.variant, err) : nullptr;
    if (!variantDay)
        return kExitUnreadable;
    if (!request.day) // the variant's day of service, where known
        day = isoDate(variantDay->data().serviceDay);
    const Scenario* base = &baseDay->scenario();
    const Scenario* variant = &variantDay->scenario();
    const std::vector<TrainDifference> differences = compareDays(*base, *variant);
    for (const std::string& line : differenceLines(*base, *variant, differences))
        out << line << "\n";
    out << differenceSummary(differences) << "\n";
    if (request.csv) {
        try {
            replaceFileContents(*request.csv, differencesCsv(*base, *variant, differences));
        } catch (const ScenarioFileError& error) {
            err << *request.csv << ": " << error.message() << "\n";
            return kExitUnreadable;
        }
    }
    if (request.notice) {
        const std::string error = writeNotice
                                      ? writeNotice(*request.notice, *base, *variant, differences,
                                                    day ? noticeDayLine(*day) : std::string())
                                      : "l'avviso si scrive solo in PDF, che qui manca";
        if (!error.empty()) {
            err << *request.notice << ": " << error << "\n";
            return kExitUnreadable;
        }
    }
    return differences.empty() ? kExitOk : kExitProblems;
}

ToolCommand confrontaTool(const NoticeWriter& writeNotice) {
    auto run = [writeNotice](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
        return confrontaCommand({.base = arguments.file,
                                 .variant = arguments.secondFile,
                                 .csv = arguments.value("csv"),
                                 .notice = arguments.value("avviso"),
                                 .day = arguments.value("data")},
                                writeNotice, out, err);
    };
    return {"confronta",
            "  confronta BASE.zeb VARIANTE.zeb [--csv DIFFERENZE.csv] [--avviso AVVISO.pdf]\n"
            "       [--data AAAA-MM-GG]\n"
            "                                               i treni che la variante cambia\n",
            run,
            {{"csv", "", "Il file CSV in cui scrivere anche le differenze.", "file"},
             {"avviso", "", "Il PDF dell'avviso ai viaggiatori con le differenze.", "file"},
             {"data", "", "Il giorno scritto sull'avviso (predefinito quello della variante).",
              "AAAA-MM-GG"}},
            true,
            true};
}

} // namespace zeb
