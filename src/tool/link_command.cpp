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

} // namespace zeb
