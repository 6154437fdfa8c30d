#include "tool/link_command.h"

#include "companion/editor_data.h"
#include "model/counted.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "tool/option_values.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"

#include <ostream>

namespace zeb {

namespace {

// "1 treno che termina qui e 2 che partono da qui".
std::string singlesText(const TurnaroundPairs& pairs) {
    const std::size_t ending = pairs.singleEnding.size(), starting = pairs.singleStarting.size();
    return std::to_string(ending) + (ending == 1 ? " treno che termina" : " treni che terminano") +
           " qui e " + std::to_string(starting) +
           (starting == 1 ? " che parte da qui" : " che partono da qui");
}

} // namespace

int collegaCommand(const LinkRequest& request, const CheckSettings& settings, std::ostream& out,
                   std::ostream& err) {
    const auto wait = request.longestWait ? wholeNumber(*request.longestWait)
                                          : std::optional<int>(kDefaultLongestWait);
    if (!wait || *wait < 0 || *wait > kMinutesPerDay) {
        err << "zebrano-tool collega: --attesa-max vuole i minuti, da 0 a 1440\n";
        return kExitUnreadable;
    }
    const auto opened = openDocument(request.scenario, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario& s = opened->scenario();
    const TrainLinks existing = opened->links();
    const TurnaroundPairs pairs = pairTurnarounds(s, settings, *wait, existing);
    for (const TrainLink& link : pairs.links)
        out << linkLine(s, link) << "\n";
    out << (pairs.links.empty() ? std::string("Nessun collegamento nuovo")
                                : counted(static_cast<long>(pairs.links.size()),
                                          "collegamento nuovo", "collegamenti nuovi"))
        << "; senza collegamento " << singlesText(pairs) << "\n";
    if (const std::string changes = pairChangesText(s, pairs.links); !changes.empty())
        out << "Dei collegamenti nuovi " << changes << "\n";
    if (!request.output || pairs.links.empty())
        return pairs.links.empty() ? kExitProblems : kExitOk;
    opened->document().setCheckSettings(settings);
    opened->document().setLinks(withLinks(existing, pairs.links), "collegamenti");
    if (!saveDocument(*opened, *request.output, err))
        return kExitUnreadable;
    return pairs.links.empty() ? kExitProblems : kExitOk;
}

ToolCommand collegaTool() {
    auto run = [](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
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
    };
    return {"collega",
            "  collega FILE.zeb -o NUOVO.zeb | --elenco [--attesa-max 90]\n"
            "                                               i treni che terminano collegati a "
            "quelli che ripartono\n",
            run,
            withMinutes(withOutput({
                {"elenco", "", "Elenca i collegamenti senza scrivere nulla.", ""},
                {"attesa-max", "",
                 "I minuti al più tra l'arrivo di un treno e la partenza di quello a cui si "
                 "collega (predefiniti 90).",
                 "minuti"},
            }))};
}

} // namespace zeb
