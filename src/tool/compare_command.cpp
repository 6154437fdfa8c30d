#include "tool/compare_command.h"

#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"
#include "variants/day_comparison.h"

#include <ostream>

namespace zeb {

int confrontaCommand(const std::string& basePath, const std::string& variantPath,
                     const std::optional<std::string>& csvPath, std::ostream& out,
                     std::ostream& err) {
    const auto base = loadScenario(basePath, err);
    const auto variant = base ? loadScenario(variantPath, err) : nullptr;
    if (!variant)
        return kExitUnreadable;
    const std::vector<TrainDifference> differences = compareDays(*base, *variant);
    for (const std::string& line : differenceLines(*base, *variant, differences))
        out << line << "\n";
    out << differenceSummary(differences) << "\n";
    if (csvPath) {
        try {
            replaceFileContents(*csvPath, differencesCsv(*base, *variant, differences));
        } catch (const ScenarioFileError& error) {
            err << *csvPath << ": " << error.message() << "\n";
            return kExitUnreadable;
        }
    }
    return differences.empty() ? kExitOk : kExitProblems;
}

} // namespace zeb
