#include "tool/perturb_command.h"

#include "companion/editor_data.h"
#include "model/counted.h"
#include "model/quoted_text.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "scenario_file/file_paths.h"
#include "text/numbers.h"
#include "timetable/train_times.h"
#include "tool/option_values.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"

#include <filesystem>
#include <map>
#include <numeric>
#include <ostream>

namespace zeb {

namespace {

int wrong(std::ostream& err, const std::string& what) {
    err << "zebrano-tool perturba: " << what << "\n";
    return kExitUnreadable;
}

// The filter and the perturbation the options ask for, or why not.
std::optional<std::string> readRequest(const PerturbRequest& r, TrainFilter& filter,
                                       Perturbation& p) {
    static const std::map<std::string, Perturbation::Action> kActions = {
        {"sopprimi", Perturbation::Action::Cancel},
        {"limita", Perturbation::Action::EndHere},
        {"origine", Perturbation::Action::StartHere},
        {"binario", Perturbation::Action::ChangeTrack},
        {"ritardo", Perturbation::Action::Delay}};
    const auto action = kActions.find(r.action.value_or(""));
    if (action == kActions.end())
        return "--azione vuole sopprimi, limita, origine, binario o ritardo";
    p.action = action->second;
    for (auto [text, minute] : {std::pair{&r.from, &filter.from}, std::pair{&r.to, &filter.to}}) {
        if (*text && !(*minute = clockMinute(**text)))
            return "l'orario " + quotedBriefly(**text) + " non è nella forma HH:MM";
    }
    if (r.categories) {
        for (std::size_t at = 0; at <= r.categories->size();) {
            const std::size_t comma = std::min(r.categories->find(',', at), r.categories->size());
            const std::string name(trimmedOf(r.categories->substr(at, comma - at), " "));
            if (!positionIn(kCategorie, name))
                return quotedBriefly(name) + " non è una categoria; le categorie sono " +
                       categoryNames();
            filter.categories.push_back(name);
            at = comma + 1;
        }
    }
    const auto share = r.share ? wholeNumber(*r.share) : std::optional<int>(100);
    if (!share || *share < 0 || *share > 100)
        return "--quota vuole una percentuale da 0 a 100";
    filter.sharePercent = *share;
    const auto seed = r.seed ? wholeNumber(*r.seed) : std::optional<int>(1);
    if (!seed || *seed < 0)
        return "--seme vuole un numero intero";
    filter.seed = p.seed = static_cast<std::uint64_t>(*seed);
    p.track = r.track.value_or("");
    if (!p.track.empty() && !slotOfTrackName(p.track))
        return quotedBriefly(p.track) + " non è un binario";
    if (r.track && p.action != Perturbation::Action::ChangeTrack)
        return "--binario vale solo con --azione binario";
    if (r.delays && p.action != Perturbation::Action::Delay)
        return "--ritardi vale solo con --azione ritardo";
    if (p.action == Perturbation::Action::Delay) {
        const auto shares = wholeNumbers(r.delays.value_or(""), 0, 100);
        if (!shares || shares->size() > 5)
            return "--ritardi vuole fino a cinque percentuali per gli indici da 0 a 4, come "
                   "«60,30,10»";
        if (const int sum = std::accumulate(shares->begin(), shares->end(), 0); sum != 100)
            return "le percentuali di --ritardi fanno " + std::to_string(sum) + ", non 100";
        p.delayShares = *shares;
    }
    return std::nullopt;
}

} // namespace

int perturbaCommand(const PerturbRequest& request, const CheckSettings& settings, std::ostream& out,
                    std::ostream& err) {
    TrainFilter filter;
    Perturbation perturbation;
    if (const auto fault = readRequest(request, filter, perturbation))
        return wrong(err, *fault);
    const auto opened = openDocument(request.scenario, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario& s = opened->scenario();
    if (!perturbation.track.empty() && !hasStationTrack(s, perturbation.track))
        return wrong(err, "il binario " + quotedBriefly(perturbation.track) +
                              " non è tra quelli della stazione");
    // The new day is a variant of the file: its editor's data go with it, naming it as the base.
    opened->document().data().baseDay = utf8Of(std::filesystem::absolute(pathOf(request.scenario)));
    const std::vector<PerturbationChange> changes =
        opened->document().perturbTrains(filteredTrains(s, filter), perturbation, settings);
    if (!saveDocument(*opened, request.output, err))
        return kExitUnreadable;
    for (const PerturbationChange& change : changes)
        out << change.text << "\n";
    out << (changes.empty()
                ? std::string("Nessun treno cambiato")
                : counted(static_cast<long>(changes.size()), "treno cambiato", "treni cambiati"))
        << " in " << request.output << "\n";
    return kExitOk;
}

ToolCommand perturbaTool() {
    auto run = [](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
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
    };
    return {
        "perturba",
        "  perturba FILE.zeb -o NUOVO.zeb --azione sopprimi|limita|origine|binario|ritardo\n"
        "       [--dalle HH:MM] [--alle HH:MM] [--categorie Regionale,…] [--quota 50] [--seme 7]\n"
        "       [--binario 5] [--ritardi 60,30,10]\n"
        "                                               un giorno perturbato dal normale\n",
        run,
        withMinutes(withOutput({
            {"azione", "", "Che fare dei treni: sopprimi, limita, origine, binario o ritardo.",
             "azione"},
            {"dalle", "", "Solo i treni da quest'ora.", "HH:MM"},
            {"alle", "", "Solo i treni fino a quest'ora.", "HH:MM"},
            {"categorie", "", "Le categorie dei treni, separate da virgole.", "categorie"},
            {"quota", "", "La percentuale dei treni scelti da prendere (predefinita 100).",
             "percento"},
            {"seme", "", "Il seme che sceglie i treni della quota e i ritardi.", "numero"},
            {"binario", "", "Il binario su cui spostare i treni (predefinito il primo libero).",
             "binario"},
            {"ritardi", "", "Le percentuali degli indici di ritardo da 0 a 4, come 60,30,10.",
             "ritardi"},
        }))};
}

} // namespace zeb
