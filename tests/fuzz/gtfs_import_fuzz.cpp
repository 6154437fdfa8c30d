// libFuzzer target: arbitrary bytes as a GTFS feed, either a zip ("PK" first) or text files each
// headed by a line "@@ name.txt". Every text a station's day brings in must be one line of
// Windows-1252, and what it gives must be appended, saved, reloaded and saved again to the same
// bytes.
#include "fuzz/imported_texts.h"
#include "gtfs/feed_source.h"
#include "gtfs/gtfs_error.h"
#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/train_choice.h"
#include "model/track_slots.h"
#include "model/train_append.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

std::map<std::string, std::string> textFiles(std::string_view bytes) {
    std::map<std::string, std::string> files;
    std::string* current = nullptr;
    while (!bytes.empty()) {
        const auto end = bytes.find('\n');
        const std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.starts_with("@@ ")) {
            current = &files[std::string(line.substr(3))];
        } else if (current) {
            current->append(line).append("\n");
        }
    }
    return files;
}

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zeb::Scenario s;
    s.nome_stazione = "Fuzz";
    for (int slot = 0; slot < zeb::kMaxChosenTracks; ++slot)
        s.binari_scelti[static_cast<std::size_t>(slot)] = true;
    zeb::rebuildTrackTable(s);
    try {
        const auto source = bytes.starts_with("PK") ? zeb::feedFromZipBytes(std::string(bytes))
                                                    : zeb::feedFromTexts(textFiles(bytes));
        const zeb::GtfsFeed feed = zeb::loadFeed(*source);
        const date::sys_days day = zeb::defaultServiceDay(feed, feed.firstDay);
        const auto stations = zeb::stationsOfDay(feed, day, false);
        for (std::size_t i = 0; i < stations.size() && i < 3; ++i) {
            const zeb::StationDay stationDay = zeb::readStationDay(feed, stations[i].stop, day);
            zeb::ImportChoice choice;
            choice.onlyTrains = false;
            zeb::ChosenTrains chosen = zeb::chooseTrains(stationDay, choice, s);
            if (stations[i].trains != std::min<long>(chosen.counted, zeb::kMaxTrains + 1))
                fault("the station list counts other trains than the import takes",
                      stations[i].id + ": " + std::to_string(stations[i].trains) + " against " +
                          std::to_string(chosen.counted));
            for (const zeb::Treno& t : chosen.trains) {
                if (const std::string field = zeb::test::textNotClean(t); !field.empty())
                    fault("an imported text is not one line of Windows-1252", field);
            }
            if (!zeb::importRefusal(s, chosen))
                zeb::appendTrains(s, chosen.trains);
        }
    } catch (const zeb::GtfsError&) {
        return 0; // a refused feed is fine; crashes, leaks and hangs are not
    }
    std::string first;
    try {
        first = zeb::scenarioFileBytes(s);
    } catch (const zeb::ScenarioFileError& error) {
        fault("the writer refuses what the import accepted", error.message());
    }
    zeb::Scenario reloaded;
    try {
        zeb::readScenario(reloaded, first);
    } catch (const zeb::ScenarioFileError& error) {
        fault("a saved import does not load", error.message());
    }
    if (reloaded.totale_treni != s.totale_treni || zeb::scenarioFileBytes(reloaded) != first)
        fault("saving a reloaded import gives other bytes", "");
    return 0;
}
