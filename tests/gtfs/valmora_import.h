#pragma once

#include "gtfs/feed_source.h"
#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/train_choice.h"
#include "gtfs/valle_feed.h"
#include "timetable/test_trains.h"

#include <string>
#include <vector>

// Valmora's day imported from the small feed of the tests, its trains a line each.
namespace zeb::test {

inline std::string timeText(const std::string& ora, const std::string& minuti) {
    return ora + ":" + minuti;
}

// "numero|categoria|provenienza|destinazione|arrivo|partenza|binario|fermate".
inline std::string line(const Treno& t) {
    return t.numero + "|" + t.categoria + "|" + t.provenienza + "|" + t.destinazione + "|" +
           timeText(t.ora_arrivo, t.min_arrivo) + "|" + timeText(t.ora_partenza, t.min_partenza) +
           "|" + t.binario + "|" + t.fermate;
}

struct Imported {
    StationDay day;
    ChosenTrains chosen;
    std::vector<std::string> lines;
};

// Valmora's trains of `day` in a station with the tracks 1 and 2.
inline Imported importValmora(const test::FeedFiles& files, date::sys_days day,
                              const ImportChoice& choice = {}) {
    const auto source = feedFromTexts(files);
    const GtfsFeed feed = loadFeed(*source);
    Imported result;
    result.day = readStationDay(feed, stationsNamed(feed, "Valmora").at(0), day);
    result.chosen = chooseTrains(result.day, choice, test::stationWith({}));
    for (const Treno& t : result.chosen.trains)
        result.lines.push_back(line(t));
    return result;
}

inline const std::string kEnds = "Il treno termina nella stazione simulata,.";
inline const std::string k2235 = "2235|Interregionale|Sudia||00:10|--:--||" + kEnds;
inline const std::string k2231 = "2231|Interregionale|Nordia|Sudia|07:55|07:57|1|Pieve,Rocca,.";
inline const std::string k2233 = "2233|Interregionale||Sudia|--:--|09:05|2|,.";
inline const std::string kBus = "b1|Autobus||Pieve|--:--|12:00||,.";

} // namespace zeb::test
