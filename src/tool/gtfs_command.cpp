#include "tool/gtfs_command.h"

#include "companion/editor_data.h"
#include "document/assignment_setup.h"
#include "gtfs/gtfs_error.h"
#include "gtfs/kind_categories.h"
#include "gtfs/present_trains.h"
#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/train_choice.h"
#include "model/counted.h"
#include "model/quoted_text.h"
#include "model/train_append.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "tool/iso_dates.h"
#include "tool/option_values.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"
#include "track_assignment/track_assignment.h"

#include <charconv>
#include <map>
#include <new>
#include <ostream>

namespace zeb {

namespace {

int wrong(std::ostream& err, const std::string& what) {
    err << "zebrano-tool gtfs: " << what << "\n";
    return kExitUnreadable;
}

// The one station `name` stands for, or nullopt with why on `err`: none, or several, listed.
std::optional<int> theStationNamed(const GtfsFeed& feed, const std::string& name,
                                   std::ostream& err) {
    const std::vector<int> found = stationsNamed(feed, name);
    if (found.size() == 1)
        return found.front();
    if (found.empty()) {
        wrong(err, "nessuna stazione del feed si chiama " + quotedBriefly(name));
        return std::nullopt;
    }
    std::string names;
    for (int stop : found) {
        const GtfsStop& s = feed.stops[static_cast<std::size_t>(stop)];
        names += "\n  " + s.id + ";" + s.name;
    }
    wrong(err, quotedBriefly(name) + " indica " +
                   counted(static_cast<long>(found.size()), "stazione", "stazioni") +
                   ", sceglierne una:" + names);
    return std::nullopt;
}

// The tracks chosen for the trainless trains, as `assegna` says it.
std::string assignedText(const Scenario& s, const Assignment& assignment) {
    std::string text = counted(static_cast<long>(assignment.changes.size()), "binario assegnato",
                               "binari assegnati") +
                       "\n";
    if (const std::string unplaced = unplacedText(s, assignment); !unplaced.empty())
        text += unplaced + "\n";
    return text + assignmentSummary(assignment) + "\n";
}

// What became of the trains BASE held already, a line, or nothing.
std::string presentText(long replaced, long present, std::optional<PresentTrains> how) {
    if (replaced > 0)
        return counted(replaced, "treno già presente sostituito", "treni già presenti sostituiti") +
               "\n";
    if (present > 0 && how == PresentTrains::AddNew)
        return counted(present, "treno già presente lasciato fuori",
                       "treni già presenti lasciati fuori") +
               "\n";
    return {};
}

// The station's day appended to BASE and written, as the command asks.
int importDay(const GtfsToolRequest& request, const GtfsFeed& feed, const ImportChoice& choice,
              date::sys_days day, std::optional<PresentTrains> how, std::ostream& out,
              std::ostream& err) {
    const auto station = theStationNamed(feed, *request.station, err);
    if (!station)
        return kExitUnreadable;
    const auto opened = openDocument(*request.base, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario& base = opened->scenario();
    const StationDay stationDay = readStationDay(feed, *station, day);
    ChosenTrains chosen = chooseTrains(stationDay, choice, base);
    const std::string where = stationDay.stationName + " il " + isoText(day);
    if (chosen.trains.empty()) {
        const auto validity = outsideFeed(feed, day);
        err << "Nessun treno ferma a " << where
            << (validity ? " (" + *validity + ")" : std::string()) << "; nulla è stato scritto\n";
        return kExitProblems;
    }
    const std::vector<std::string> notes = importNotes(stationDay, chosen);
    std::vector<StoredLink> units = storedLinks(chosen.trains, chosen.links);
    SettledImport settled =
        settleImport(base, std::move(chosen), how.value_or(PresentTrains::AddAll));
    const long present = settled.present;
    if (present > 0 && !how) {
        err << counted(present, "treno", "treni") << " di " << where << " "
            << (present == 1 ? "è già" : "sono già")
            << " nello scenario (stesso numero, provenienza e orari): --gia-presenti nuovi, "
               "sostituisci o tutti dice che farne; nulla è stato scritto\n";
        return kExitProblems;
    }
    // The trains that come without a track get theirs as the editor's import gives them.
    const DayImported done = opened->document().importDay(
        {isoText(day), std::move(settled), std::move(units), nullptr,
         request.assign ? std::optional(opened->data().settings) : std::nullopt});
    if (done.refusal) {
        err << *done.refusal << "\n";
        return kExitProblems;
    }
    if (!saveDocument(*opened, *request.output, err))
        return kExitUnreadable;
    out << counted(base.totale_treni - done.first, "treno importato", "treni importati") << " da "
        << where << ", " << counted(base.totale_treni, "treno", "treni") << " in "
        << *request.output << "\n";
    out << presentText(done.replaced, present, how);
    if (done.newLinks > 0)
        out << counted(static_cast<long>(done.newLinks), "rotazione collegata",
                       "rotazioni collegate")
            << " (block_id)\n";
    for (const std::string& note : notes)
        out << note << "\n";
    if (!request.assign && !done.trackless.empty())
        out << counted(static_cast<long>(done.trackless.size()), "treno", "treni")
            << " senza binario: --assegna ne sceglie i binari\n";
    if (done.tracks && !done.trackless.empty())
        out << assignedText(base, *done.tracks);
    return kExitOk;
}

// `--gia-presenti` and `--categorie` into `how` and `choice`, or why they cannot be.
std::optional<std::string> readPlannersChoices(const GtfsToolRequest& request, ImportChoice& choice,
                                               std::optional<PresentTrains>& how) {
    if (request.present) {
        static const std::map<std::string, PresentTrains> kWays = {
            {"nuovi", PresentTrains::AddNew},
            {"sostituisci", PresentTrains::Replace},
            {"tutti", PresentTrains::AddAll}};
        const auto way = kWays.find(*request.present);
        if (way == kWays.end())
            return "--gia-presenti vuole nuovi, sostituisci o tutti, non " +
                   quotedBriefly(*request.present);
        how = way->second;
    }
    if (request.categories) {
        try {
            for (const auto& [kind, category] :
                 readKindCategories(readScenarioFile(*request.categories)))
                choice.categories[kind] = category;
        } catch (const ScenarioFileError& error) {
            return *request.categories + ": " + error.message();
        } catch (const GtfsError& error) {
            return *request.categories + ", " + error.message();
        }
    }
    return std::nullopt;
}

// The feed's stations with their trains on `day`, the day said first.
int listStations(const GtfsFeed& feed, date::sys_days day, bool onlyTrains, std::ostream& out,
                 std::ostream& err) {
    if (const auto validity = outsideFeed(feed, day)) {
        err << "Nessun treno il " << isoText(day) << ": " << *validity << "\n";
        return kExitProblems;
    }
    err << "Treni di " << dayText(day)
        << (onlyTrains ? ", le stazioni senza treni lasciate fuori" : "") << "\n";
    for (const StationCount& station : stationsOfDay(feed, day, onlyTrains))
        out << station.id << ";" << station.name << ";" << station.trainsText() << "\n";
    return kExitOk;
}

} // namespace

int gtfsCommand(const GtfsToolRequest& request, date::sys_days today, std::ostream& out,
                std::ostream& err) {
    std::optional<date::sys_days> day;
    if (request.date && !(day = isoDate(*request.date)))
        return wrong(err, isoDateFault(*request.date));
    ImportChoice choice;
    choice.onlyTrains = !request.buses;
    choice.linkBlocks = !request.noLinks;
    if (request.types) {
        const auto types = wholeNumbers(*request.types, 0);
        if (!types)
            return wrong(err, "--tipi vuole tipi di linea GTFS separati da virgole, come «0,2», "
                              "non " +
                                  quotedBriefly(*request.types));
        choice.routeTypes = *types;
    }
    for (auto [text, minute] :
         {std::pair{&request.from, &choice.fromMinute}, std::pair{&request.to, &choice.toMinute}}) {
        if (!*text)
            continue;
        const auto value = clockMinute(**text);
        if (!value)
            return wrong(err, "l'orario " + quotedBriefly(**text) + " non è nella forma HH:MM");
        *minute = *value;
    }
    std::optional<PresentTrains> how;
    if (const auto fault = readPlannersChoices(request, choice, how))
        return wrong(err, *fault);
    if (!request.listStations && (!request.station || !day || !request.base || !request.output))
        return wrong(err, "servono --stazioni, oppure --stazione, --data, --scenario e -o");

    try {
        const auto source = openFeed(request.feed);
        const GtfsFeed feed = loadFeed(*source);
        if (request.listStations)
            return listStations(feed, day.value_or(defaultServiceDay(feed, today)),
                                choice.onlyTrains, out, err);
        return importDay(request, feed, choice, *day, how, out, err);
    } catch (const GtfsError& error) {
        err << error.message() << "\n";
        return kExitUnreadable;
    } catch (const std::bad_alloc&) {
        err << "La memoria non basta per leggere questo feed; nulla è stato scritto\n";
        return kExitUnreadable;
    }
}

namespace {

const std::vector<ToolOption> kGtfsOptions = withOutput({
    {"stazioni", "", "Elenca le stazioni del feed con i loro treni.", ""},
    {"stazione", "", "La stazione da importare: il suo stop_id o il suo nome.", "stazione"},
    {"data", "", "Il giorno da importare (predefinito il più trafficato da oggi).", "AAAA-MM-GG"},
    {"dalle", "", "Solo i treni da quest'ora.", "HH:MM"},
    {"alle", "", "Solo i treni fino a quest'ora.", "HH:MM"},
    {"autobus", "", "Anche gli autobus e gli altri servizi non ferroviari.", ""},
    {"tipi", "",
     "I tipi di linea GTFS da prendere, separati da virgole: 0 i tram-treni, 2 i treni "
     "(predefiniti i treni).",
     "tipi"},
    {"scenario", "", "Lo scenario a cui aggiungere i treni.", "file"},
    {"assegna", "", "I binari scelti per i treni importati senza binario.", ""},
    {"categorie", "", "Un CSV di righe tipo;categoria: le categorie dei tipi di servizio del feed.",
     "categorie"},
    {"gia-presenti", "",
     "Che fare dei treni già nello scenario: nuovi (solo gli altri), sostituisci o tutti.", "modo"},
    {"collega", "",
     "Collega le corse di uno stesso block_id che terminano e ripartono qui (predefinito).", ""},
    {"non-collegare", "", "Non collega le corse di uno stesso block_id.", ""},
});

int gtfs(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const GtfsToolRequest request{.feed = arguments.file,
                                  .listStations = arguments.has("stazioni"),
                                  .date = arguments.value("data"),
                                  .station = arguments.value("stazione"),
                                  .from = arguments.value("dalle"),
                                  .to = arguments.value("alle"),
                                  .buses = arguments.has("autobus"),
                                  .types = arguments.value("tipi"),
                                  .base = arguments.value("scenario"),
                                  .output = arguments.value("output"),
                                  .assign = arguments.has("assegna"),
                                  .categories = arguments.value("categorie"),
                                  .present = arguments.value("gia-presenti"),
                                  .noLinks = arguments.has("non-collegare")};
    return gtfsCommand(request, arguments.today, out, err);
}

} // namespace

ToolCommand gtfsTool() {
    return {"gtfs",
            "  gtfs FEED --stazioni [--data AAAA-MM-GG]     le stazioni del feed, le più "
            "trafficate prima\n"
            "  gtfs FEED --stazione ID_O_NOME --data AAAA-MM-GG [--dalle HH:MM] [--alle HH:MM]\n"
            "       [--autobus | --tipi 0,2] [--categorie FILE.csv] [--assegna]\n"
            "       [--gia-presenti nuovi|sostituisci|tutti] [--collega | --non-collegare]\n"
            "       --scenario BASE.zeb -o NUOVO.zeb\n"
            "                                               i treni di quel giorno aggiunti a "
            "BASE\n",
            gtfs, kGtfsOptions};
}

} // namespace zeb
