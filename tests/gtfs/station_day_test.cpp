#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/station_trips.h"
#include "gtfs/train_choice.h"

#include "gtfs/feed_source.h"
#include "gtfs/service_rules.h"
#include "gtfs/valle_feed.h"
#include "gtfs/valmora_import.h"
#include "model/track_slots.h"
#include "model/train_append.h"
#include "model/value_tables.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "scenario_file/test_files.h"
#include "timetable/test_trains.h"

#include <gtest/gtest.h>

#include <functional>

namespace zeb {
namespace {

using namespace test;
using namespace date::literals;

struct DayCase {
    const char* rule;
    std::function<void(FeedFiles&)> change;
    date::sys_days day;
    std::function<void(ImportChoice&)> choose;
    std::vector<std::string> trains;
};

const std::vector<DayCase>& dayCases() {
    auto none = [](FeedFiles&) {};
    auto all = [](ImportChoice&) {};
    auto buses = [](ImportChoice& c) { c.onlyTrains = false; };
    auto stopTimes = [](const char* from, const char* to) {
        return [=](FeedFiles& f) { test::edit(f, "stop_times.txt", from, to); };
    };
    static const std::vector<DayCase> cases = {
        {"a weekday, with the night train of the day before",
         none,
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233}},
        {"a day removed keeps the night train of the day before",
         none,
         2024_y / 3 / 7,
         all,
         {k2235}},
        {"a day added by calendar_dates, buses taken", none, 2024_y / 3 / 9, buses, {k2235, kBus}},
        {"rail services only", none, 2024_y / 3 / 9, all, {k2235}},
        {"calendar_dates alone",
         [](FeedFiles& f) { f.erase("calendar.txt"); },
         2024_y / 3 / 9,
         buses,
         {kBus}},
        {"nobody alights: a start, and no stop where nobody alights",
         [](FeedFiles& f) {
             test::edit(f, "stop_times.txt", "VAL1,2,0,0", "VAL1,2,0,1");
             test::edit(f, "stop_times.txt", "PIE,3,0,0", "PIE,3,0,1");
         },
         2024_y / 3 / 6,
         all,
         {k2235, "2231|Interregionale||Sudia|--:--|07:57|1|Rocca,.", k2233}},
        {"nobody boards: an end",
         stopTimes("VAL1,2,0,0", "VAL1,2,1,0"),
         2024_y / 3 / 6,
         all,
         {k2235, "2231|Interregionale|Nordia||07:55|--:--|1|" + kEnds, k2233}},
        {"a trip repeated is one train",
         [](FeedFiles& f) {
             f["trips.txt"] += "RE,FER,t1b,2231\n";
             f["stop_times.txt"] += "t1b,7:40:00,7:40:00,NORD,1,0,0\n"
                                    "t1b,7:55:00,7:57:00,VAL1,2,0,0\n"
                                    "t1b,8:10:00,8:10:00,PIE,3,0,0\n"
                                    "t1b,8:20:00,8:20:00,ROC,4,0,0\n"
                                    "t1b,8:40:00,8:40:00,SUD,5,0,0\n";
         },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233}},
        {"a train run as two trips, from its origin and from the station: the longer",
         [](FeedFiles& f) {
             f["trips.txt"] += "RE,FER,t1s,2231\n";
             f["stop_times.txt"] += "t1s,7:57:00,7:57:00,VAL2,1,0,0\n"
                                    "t1s,8:40:00,8:40:00,SUD,2,0,0\n";
         },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233}},
        {"rows of a trip apart from each other, beside a service no calendar knows",
         [](FeedFiles& f) {
             test::edit(f, "stop_times.txt", "t1,8:40:00,8:40:00,SUD,5,0,0\n", "");
             f["stop_times.txt"] += "t1,8:40:00,8:40:00,SUD,5,0,0\nt9,9:00:00,9:00:00,VAL1,1,0,0\n";
             f["trips.txt"] += "RE,NESSUNO,t9,2299\n";
         },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233}},
        {"a trip's rows written twice, apart: each stop once",
         [](FeedFiles& f) {
             const std::string& rows = f["stop_times.txt"];
             f["stop_times.txt"] +=
                 rows.substr(rows.find("t1,"), rows.find("t2,") - rows.find("t1,"));
         },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233}},
        {"a time window",
         none,
         2024_y / 3 / 6,
         [](ImportChoice& c) {
             c.fromMinute = 7 * 60;
             c.toMinute = 8 * 60;
         },
         {k2231}},
        {"a window across midnight",
         none,
         2024_y / 3 / 6,
         [](ImportChoice& c) {
             c.fromMinute = 23 * 60;
             c.toMinute = 60;
         },
         {k2235}},
        {"frequencies: a run per headway",
         [](FeedFiles& f) {
             f["frequencies.txt"] =
                 "trip_id,start_time,end_time,headway_secs\nt2,9:05:00,10:05:00,1800\n";
         },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233, "2233|Interregionale||Sudia|--:--|09:35|2|,.",
          "2233|Interregionale||Sudia|--:--|10:05|2|,."}},
        {"frequencies overlapping: each run once, where the rows of one headway meet",
         [](FeedFiles& f) {
             f["frequencies.txt"] = "trip_id,start_time,end_time,headway_secs\n"
                                    "t2,9:35:00,10:05:00,1800\nt2,9:05:00,9:35:00,1800\n"
                                    "t2,9:05:00,9:05:00,3600\n";
         },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233, "2233|Interregionale||Sudia|--:--|09:35|2|,.",
          "2233|Interregionale||Sudia|--:--|10:05|2|,."}},
        {"a station in another time zone",
         [](FeedFiles& f) {
             test::edit(f, "stops.txt", "platform_code\n", "platform_code,stop_timezone\n");
             test::edit(f, "stops.txt", "VAL,Valmora,1,,\n", "VAL,Valmora,1,,,Europe/London\n");
         },
         2024_y / 3 / 6,
         all,
         {"2231|Interregionale|Nordia|Sudia|06:55|06:57|1|Pieve,Rocca,.",
          "2233|Interregionale||Sudia|--:--|08:05|2|,.",
          "2235|Interregionale|Sudia||23:10|--:--||" + kEnds}},
        {"a name the file cannot hold loses just the accents it lacks",
         [](FeedFiles& f) { test::edit(f, "stops.txt", "NORD,Nordia", "NORD,Łódź Fabryczna"); },
         2024_y / 3 / 6,
         all,
         {k2235, "2231|Interregionale|Lódz Fabryczna|Sudia|07:55|07:57|1|Pieve,Rocca,.", k2233}},
        {"names cleaned at the door: controls, commas, blanks, undefined characters",
         [](FeedFiles& f) {
             test::edit(f, "stops.txt", "PIE,Pieve", "PIE,\"Pie\vve, Alta\"");
             test::edit(f, "stops.txt", "ROC,Rocca", "ROC,\" \"");
             test::edit(f, "stops.txt", "NORD,Nordia", std::string("NORD,No\xC2\x81r\0dia", 14));
         },
         2024_y / 3 / 6,
         all,
         {k2235,
          "2231|Interregionale|No r dia|Sudia|07:55|07:57|1|Pie ve - Alta,fermata senza nome,.",
          k2233}},
        {"spring forward: 00:45 of the Sunday's service is 23:45 of the Saturday",
         [](FeedFiles& f) {
             f["trips.txt"] += "RE,FES,t4,2237\n";
             f["stop_times.txt"] += "t4,0:45:00,0:45:00,VAL1,1,0,0\nt4,1:10:00,1:10:00,SUD,2,0,0\n";
             f["calendar_dates.txt"] += "FES,20240331,1\n";
         },
         2024_y / 3 / 30,
         all,
         {k2235, "2237|Interregionale||Sudia|--:--|23:45|1|,."}},
        {"the number from the trip_id where nothing else gives one",
         [](FeedFiles& f) { test::edit(f, "trips.txt", "t2,2233", "t2,"); },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, "t2|Interregionale||Sudia|--:--|09:05|2|,."}},
        {"the number as the headsign, the line as the short name",
         [](FeedFiles& f) {
             test::edit(f, "trips.txt", "trip_short_name", "trip_short_name,trip_headsign");
             test::edit(f, "trips.txt", "t1,2231", "t1,16,80231");
         },
         2024_y / 3 / 6,
         all,
         {k2235, "80231" + k2231.substr(4), k2233}},
        {"a short name with a kind and a line: its last digits",
         [](FeedFiles& f) { test::edit(f, "trips.txt", "t1,2231", "t1,RE_51 - 2231"); },
         2024_y / 3 / 6,
         all,
         {k2235, k2231, k2233}},
        {"no numbers: the line's, each train placed among those of its line",
         [](FeedFiles& f) {
             test::edit(f, "routes.txt", "RE,A,RE,", "RE,A,RE6,");
             for (const char* trip : {"t1,2231", "t2,2233", "t3,2235"})
                 test::edit(f, "trips.txt", trip, std::string(trip, 3));
         },
         2024_y / 3 / 6,
         all,
         {"6-1" + k2235.substr(4), "6-2" + k2231.substr(4), "6-3" + k2233.substr(4)}},
        {"a kind's category chosen by the user",
         none,
         2024_y / 3 / 6,
         [](ImportChoice& c) { c.categories["RE"] = 13; },
         {"2235|Regionale|Sudia||00:10|--:--||" + kEnds,
          "2231|Regionale|Nordia|Sudia|07:55|07:57|1|Pieve,Rocca,.",
          "2233|Regionale||Sudia|--:--|09:05|2|,."}},
    };
    return cases;
}

TEST(GtfsStationDay, EachRuleOnASmallFeed) {
    for (const DayCase& c : dayCases()) {
        SCOPED_TRACE(c.rule);
        FeedFiles files = test::valleFeed();
        c.change(files);
        ImportChoice choice;
        c.choose(choice);
        EXPECT_EQ(importValmora(files, c.day, choice).lines, c.trains);
    }
}

TEST(GtfsStationDay, WhatAnImportAppendsSavesAndReloadsToTheSameBytes) {
    for (const DayCase& c : dayCases()) {
        SCOPED_TRACE(c.rule);
        FeedFiles files = test::valleFeed();
        c.change(files);
        ImportChoice choice;
        c.choose(choice);
        Scenario s = test::stationWith({});
        Imported imported = importValmora(files, c.day, choice);
        ASSERT_FALSE(importRefusal(s, imported.chosen));
        appendTrains(s, imported.chosen.trains);
        const std::string bytes = scenarioFileBytes(s);
        Scenario reloaded;
        readScenario(reloaded, bytes);
        EXPECT_EQ(reloaded.totale_treni, static_cast<int>(imported.lines.size()));
        EXPECT_EQ(scenarioFileBytes(reloaded), bytes);
    }
}

// Each station of the list counts what an import of its whole day takes, whatever the rule.
TEST(GtfsStationDay, TheStationListCountsWhatEachImportTakes) {
    for (const DayCase& c : dayCases()) {
        SCOPED_TRACE(c.rule);
        FeedFiles files = test::valleFeed();
        c.change(files);
        ImportChoice choice;
        c.choose(choice);
        const ImportChoice wholeDay{choice.onlyTrains, {}, 0, 24 * 60 - 1, {}};
        const auto source = feedFromTexts(files);
        const GtfsFeed feed = loadFeed(*source);
        for (const StationCount& s : stationsOfDay(feed, c.day, choice.onlyTrains)) {
            const StationDay day = readStationDay(feed, s.stop, c.day);
            EXPECT_EQ(s.trains, chooseTrains(day, wholeDay, Scenario()).counted) << s.name;
        }
    }
}

TEST(GtfsServiceRules, NumbersKindsTracksAndCategories) {
    struct NumberCase {
        GtfsTrip trip;
        GtfsRoute route;
        std::string number;
        std::string kind;
        const char* category;
    };
    const std::vector<NumberCase> numbers = {
        {{"t", "2231", 0, 0}, {"RE", "", 2}, "2231", "RE", "Interregionale"},
        {{"t", "ICE 1672", 0, 0}, {"", "", 101}, "1672", "ICE", "Eurostar"},
        {{"t", "", 0, 0}, {"", "ICE 1672", 2}, "1672", "ICE", "Eurostar"},
        {{"t", "", 0, 0}, {"S12", "Linea", 2}, "12", "S", "Suburbano"},
        {{"t9", "", 0, 0}, {"", "Local", 2}, "t9", "Local", "Regionale"},
        {{"t", "", 0, 0}, {"", "Navetta", 715}, "t", "Navetta", "Autobus"},
        {{"t", "", 0, 0}, {"", "Notte", 105}, "t", "Notte", "Intercity Notte"},
        {{"t", "RE_54 - 392", 0, 0}, {"", "", 2}, "392", "RE", "Interregionale"},
        {{"t", "AVE-TGV 9701", 0, 0}, {"", "", 2}, "9701", "AVE", "Eurostar"},
        {{"t", "AVLO 6161", 0, 0}, {"", "", 2}, "6161", "AVLO", "Eurostar"},
        {{"t", "", 0, 0}, {"EUROMED", "", 2}, "t", "EUROMED", "Eurostar"},
        {{"t", "", 0, 0}, {"", "Intercités 4512", 2}, "4512", "Intercités", "Intercity"},
        {{"t", "", 0, 0}, {"", "TLK 38170", 2}, "38170", "TLK", "Intercity"},
    };
    for (const NumberCase& c : numbers) {
        SCOPED_TRACE(c.number);
        EXPECT_EQ(trainNumber(c.trip, c.route).text, c.number);
        EXPECT_EQ(serviceKind(c.trip, c.route), c.kind);
        EXPECT_EQ(kCategorie[static_cast<std::size_t>(defaultCategory(c.kind, c.route.type))],
                  c.category);
    }
    const std::vector<std::pair<const char*, std::optional<int>>> platforms = {
        {"5", 4},       {"Gleis 5", 4},   {"Binario 5", 4}, {"Bin. 5", 4},
        {"Track 5", 4}, {"Voie 5", 4},    {"5a", 4},        {"NB", {}},
        {"24", {}},     {"1 Tronco", 23}, {"123", {}},      {"", {}},
    };
    for (const auto& [code, slot] : platforms)
        EXPECT_EQ(trackSlotOfPlatform(code), slot) << code;
}

} // namespace
} // namespace zeb
