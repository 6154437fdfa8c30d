#include "tool/tool_command_line.h"

#include <algorithm>
#include <cctype>

namespace zeb {

std::vector<ToolOption> withOutput(std::vector<ToolOption> options, std::string description) {
    options.insert(options.begin(), {"output", "o", std::move(description), "file"});
    return options;
}

std::vector<ToolOption> withMinutes(std::vector<ToolOption> options) {
    options.insert(
        options.end(),
        {{"separazione", "", "Minuti minimi tra due treni su un binario (predefinito 3).",
          "minuti"},
         {"sosta", "", "Minuti di binario occupato dopo l'arrivo di un treno che termina (10).",
          "minuti"},
         {"preparazione", "", "Minuti di binario occupato prima della partenza (10).", "minuti"},
         {"inversione", "",
          "Minuti minimi tra l'arrivo e la nuova partenza di un treno collegato (5).", "minuti"},
         {"soglia-rischio", "",
          "La percentuale delle simulazioni con i ritardi oltre la quale un conflitto è "
          "segnalato (50).",
          "percento"}});
    return options;
}

std::vector<ToolOption> withRiskRuns(std::vector<ToolOption> options) {
    options.insert(
        options.end(),
        {{"simulazioni", "", "Quante giornate simulare (predefinite 1000).", "numero"},
         {"seme", "", "Il seme della prima giornata simulata (predefinito 1).", "numero"}});
    return options;
}

std::optional<RiskRuns> riskRunsOf(const ToolArguments& arguments) {
    const RiskRuns defaults;
    const auto runs = wholeOption(arguments, "simulazioni", defaults.runs, 100000);
    const auto seed =
        wholeOption(arguments, "seme", static_cast<int>(defaults.seed), 1'000'000'000);
    if (!runs || *runs < 1 || !seed)
        return std::nullopt;
    return RiskRuns{*runs, static_cast<std::uint64_t>(*seed)};
}

std::vector<ToolOption> toolOptions(const std::vector<ToolCommand>& commands) {
    // Each option once: what each command says of it, with the commands that say it.
    struct Said {
        ToolOption option;
        std::vector<std::pair<std::string, std::string>> sayings; // description, commands
    };
    std::vector<Said> all;
    for (const ToolCommand& command : commands) {
        for (const ToolOption& option : command.options) {
            auto found = std::find_if(all.begin(), all.end(), [&](const Said& said) {
                return said.option.name == option.name;
            });
            if (found == all.end())
                found = all.insert(all.end(), {option, {}});
            auto saying =
                std::find_if(found->sayings.begin(), found->sayings.end(),
                             [&](const auto& s) { return s.first == option.description; });
            if (saying == found->sayings.end())
                found->sayings.push_back({option.description, command.name});
            else
                saying->second += std::string(", ") + command.name;
        }
    }
    std::vector<ToolOption> options;
    for (Said& said : all) {
        said.option.description.clear();
        // "Il file da scrivere (nuovo, importa); il file CSV da scrivere (esporta)."
        for (auto [description, names] : said.sayings) {
            if (description.ends_with('.'))
                description.pop_back();
            if (!said.option.description.empty())
                description[0] =
                    static_cast<char>(std::tolower(static_cast<unsigned char>(description[0])));
            said.option.description +=
                (said.option.description.empty() ? "" : "; ") + description + " (" + names + ")";
        }
        said.option.description += ".";
        options.push_back(std::move(said.option));
    }
    return options;
}

} // namespace zeb
