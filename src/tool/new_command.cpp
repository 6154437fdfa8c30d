#include "tool/new_command.h"

#include "companion/editor_data.h"
#include "model/counted.h"
#include "model/quoted_text.h"
#include "model/track_slots.h"
#include "timetable/train_times.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"

#include <ostream>

namespace zeb {

namespace {

int wrong(std::ostream& err, const std::string& what) {
    err << "zebrano-tool nuovo: " << what << "\n";
    return kExitUnreadable;
}

} // namespace

int nuovoCommand(const NewScenarioRequest& request, std::ostream& out, std::ostream& err) {
    if (request.station.empty())
        return wrong(err, "manca il nome della stazione (--stazione NOME)");
    const std::string start = request.start.value_or("06:00");
    const auto minute = clockMinute(start);
    if (!minute)
        return wrong(err, "l'ora di inizio " + quotedBriefly(start) + " non è nella forma HH:MM");
    ToolDocument created;
    Scenario* s = &created.scenario();
    s->nome_stazione = request.station;
    const std::string clock = clockText(*minute); // "06:30"
    s->ora_inizio = clock.substr(0, 2);
    s->min_inizio = clock.substr(3, 2);
    std::string name;
    for (std::size_t at = 0; at <= request.tracks.size(); ++at) {
        const char c = at < request.tracks.size() ? request.tracks[at] : ' ';
        if (c != ' ' && c != ',') {
            name += c;
            continue;
        }
        if (name.empty())
            continue;
        const auto slot = slotOfTrackName(name);
        if (!slot)
            return wrong(err, quotedBriefly(name) +
                                  " non è un binario: i binari sono da 1 a 23 e da "
                                  "1tronco a 3tronco");
        if (!s->binari_scelti[static_cast<std::size_t>(*slot)]) {
            s->binari_scelti[static_cast<std::size_t>(*slot)] = true;
            ++s->conta_binari;
        }
        name.clear();
    }
    if (s->conta_binari == 0)
        return wrong(err, "servono i binari della stazione (--binari \"1 2 3 4\")");
    if (s->conta_binari > kMaxChosenTracks)
        return wrong(err,
                     "una stazione ha al massimo " + std::to_string(kMaxChosenTracks) + " binari");
    rebuildTrackTable(*s);
    created.document().replaced();
    if (!saveDocument(created, request.output, err))
        return kExitUnreadable;
    out << "Stazione " << s->nome_stazione << " con "
        << counted(s->conta_binari, "binario", "binari") << ", inizio alle " << clockText(*minute)
        << ", in " << request.output << "\n";
    return kExitOk;
}

ToolCommand nuovoTool() {
    auto run = [](const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
        const auto output = arguments.value("output");
        if (!output || !arguments.has("stazione") || !arguments.has("binari"))
            return usageError(err,
                              "nuovo vuole --stazione NOME, --binari \"1 2 3 4\" e -o FILE.zeb");
        return nuovoCommand({.station = *arguments.value("stazione"),
                             .tracks = *arguments.value("binari"),
                             .start = arguments.value("inizio"),
                             .output = *output},
                            out, err);
    };
    return {
        "nuovo",
        "  nuovo --stazione NOME --binari \"1 2 3 4\" [--inizio 06:00] -o FILE.zeb\n"
        "                                               uno scenario vuoto della stazione\n",
        run,
        withOutput(
            {{"stazione", "", "Il nome della stazione.", "stazione"},
             {"binari", "", "I binari della stazione, separati da spazi o virgole.", "binari"},
             {"inizio", "", "L'ora di inizio della simulazione (predefinita 06:00).", "HH:MM"}}),
        false};
}

} // namespace zeb
