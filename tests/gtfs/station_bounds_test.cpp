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

using test::FeedFiles;
using test::Imported;
using test::importValmora;
using namespace test;
using namespace date::literals;

// The same feed written as other tools write it gives the same trains.
TEST(GtfsStationDay, TheWayAFeedIsWrittenDoesNotMatter) {
    const auto expected = importValmora(test::valleFeed(), 2024_y / 3 / 6).lines;
    auto eachLine = [](std::string text, auto change) {
        std::string out;
        for (std::size_t at = 0; at < text.size();) {
            const auto end = text.find('\n', at);
            out += change(text.substr(at, end - at));
            at = end + 1;
        }
        return out;
    };
    auto quoted = [](const std::string& row) {
        std::string out = "\"";
        for (char c : row)
            out += c == ',' ? std::string("\",\"") : std::string(1, c);
        return out + "\"\n";
    };
    auto reversed = [](const std::string& row) {
        std::vector<std::string> fields{""};
        for (char c : row)
            c == ',' ? fields.emplace_back() : (fields.back() += c);
        std::string out = ",extra"; // an unknown column first, empty in every row
        for (auto it = fields.rbegin(); it != fields.rend(); ++it)
            out += "," + *it;
        return out.substr(1) + "\n";
    };
    const std::vector<std::pair<const char*, std::function<std::string(std::string)>>> ways = {
        {"CR LF", [&](std::string t) { return eachLine(t, [](auto r) { return r + "\r\n"; }); }},
        {"byte-order mark", [](std::string t) { return "\xEF\xBB\xBF" + t; }},
        {"every field quoted", [&](std::string t) { return eachLine(t, quoted); }},
        {"columns reversed, one unknown", [&](std::string t) { return eachLine(t, reversed); }},
        {"blank lines",
         [&](std::string t) { return eachLine(t, [](auto r) { return r + "\n\n"; }); }},
    };
    for (const auto& [way, write] : ways) {
        SCOPED_TRACE(way);
        FeedFiles files = test::valleFeed();
        for (auto& [name, text] : files)
            text = write(text);
        EXPECT_EQ(importValmora(files, 2024_y / 3 / 6).lines, expected);
    }
}

TEST(GtfsStationDay, TheStationListCountsWhatAnImportTakes) {
    const auto source = feedFromTexts(test::valleFeed());
    const GtfsFeed feed = loadFeed(*source);
    std::string listed;
    for (const StationCount& s : stationsOfDay(feed, 2024_y / 3 / 6, true))
        listed += s.id + ";" + s.name + ";" + std::to_string(s.trains) + "\n";
    EXPECT_EQ(listed, "SUD;Sudia;3\nVAL;Valmora;3\nNORD;Nordia;1\nPIE;Pieve;1\nROC;Rocca;1\n");
    EXPECT_EQ(stationsNamed(feed, "VAL2"), stationsNamed(feed, "valm")); // a child's id
    EXPECT_EQ(stationsNamed(feed, "i").size(), 3u);                      // Nordia, Pieve, Sudia
    // Letter case and accents aside, and by the start of a name before anywhere in it.
    FeedFiles files = test::valleFeed();
    test::edit(files, "stops.txt", "NORD,Nordia", "NORD,Nòrdia Alta");
    test::edit(files, "stops.txt", "ROC,Rocca", "ROC,Alta Rocca");
    const auto accented = feedFromTexts(files);
    const GtfsFeed named = loadFeed(*accented);
    const std::vector<int> nordia = stationsNamed(named, "NORDIA ALTA");
    ASSERT_EQ(nordia.size(), 1u);
    EXPECT_EQ(named.stops[static_cast<std::size_t>(nordia[0])].id, "NORD");
    EXPECT_EQ(stationsNamed(named, "nòrdia"), nordia);
    EXPECT_EQ(stationsNamed(named, "alta").size(), 1u) << "Alta Rocca starts so";
}

// A row of frequencies.txt repeated 200,000 times costs what one row costs; a station with more
// calls than a scenario holds is counted as "più di 2001", never as a number that overflowed.
TEST(GtfsStationDay, FrequenciesRepeatedOrTooManyStayBounded) {
    FeedFiles files = test::valleFeed();
    std::string rows = "trip_id,start_time,end_time,headway_secs\n";
    for (int k = 0; k < 200000; ++k)
        rows += "t2,9:05:00,10:05:00,1800\n";
    files["frequencies.txt"] = rows;
    EXPECT_EQ(importValmora(files, 2024_y / 3 / 6).lines.size(), 5u); // 2233 three times
    files["frequencies.txt"] = "trip_id,start_time,end_time,headway_secs\n"
                               "t2,0:00:00,23:59:00,60\nt1,0:00:30,23:59:30,60\n";
    const auto source = feedFromTexts(files);
    const GtfsFeed feed = loadFeed(*source);
    for (const StationCount& s : stationsOfDay(feed, 2024_y / 3 / 6, true)) {
        if (s.id == "VAL") {
            EXPECT_EQ(s.trainsText(), "più di 2001");
        }
    }
}

// A trip passing the station every minute for two days keeps its stops once, however many
// trains it makes; a trip longer than any timetable is left out, with a note, whole.
TEST(GtfsStationDay, ATripsRowsCostWhatTheyAreNotWhatTheyMultiply) {
    FeedFiles files = test::valleFeed();
    std::string& rows = files["stop_times.txt"];
    for (int k = 0; k < 6000; ++k) {
        char row[64];
        const int at = k * 30;
        std::snprintf(row, sizeof row, "t9,%d:%02d:%02d,%d:%02d:%02d,%s,%d,0,0\n", at / 3600,
                      at / 60 % 60, at % 60, at / 3600, at / 60 % 60, at % 60,
                      k % 2 ? "VAL1" : "PIE", k + 1);
        rows += row;
    }
    files["trips.txt"] += "RE,FER,t9,9999\n";
    Imported imported = importValmora(files, 2024_y / 3 / 6);
    // A train a minute (those of the days before repeat them) and the trip's end, two days before.
    EXPECT_EQ(imported.chosen.counted, 3 + 24 * 60 + 1);
    std::size_t listed = 0;
    for (const auto& list : imported.day.stopLists)
        listed += list.size();
    EXPECT_LT(listed, 6000u);
    const auto first = std::find_if(imported.lines.begin(), imported.lines.end(),
                                    [](const std::string& l) { return l.starts_with("9999|"); });
    ASSERT_NE(first, imported.lines.end());
    EXPECT_TRUE(
        first->starts_with("9999|Interregionale|Pieve|Valmora|00:00|00:00|1|Pieve,Valmora,Pieve,"));

    std::string& more = files["stop_times.txt"];
    for (std::size_t k = 6000; k <= kMaxTripRows; ++k)
        more += "t9,47:59:00,47:59:00,PIE," + std::to_string(k + 1) + ",0,0\n";
    imported = importValmora(files, 2024_y / 3 / 6);
    EXPECT_EQ(imported.lines, (std::vector<std::string>{k2235, k2231, k2233}));
    EXPECT_EQ(importNotes(imported.day, imported.chosen),
              (std::vector<std::string>{"1 corsa con più di 100000 fermate lasciata fuori"}));
}

TEST(GtfsStationDay, NotesNameWhatChangedAndCountSharedNumbers) {
    const std::vector<std::pair<std::function<void(FeedFiles&)>, std::vector<std::string>>> cases =
        {
            {[](FeedFiles&) {}, {}},
            {[](FeedFiles& f) {
                 test::edit(f, "stops.txt", "NORD,Nordia", "NORD,Łódź Fabryczna");
                 test::edit(f, "trips.txt", "t2,2233", "t2,2231");
             },
             {"1 nome scritto con le sole lettere che il file scenario può contenere: Łódź "
              "Fabryczna → Lódz Fabryczna",
              "2 treni portano un numero che anche un altro treno importato porta"}},
            {[](FeedFiles& f) {
                 test::edit(f, "routes.txt", "BUS,A,,Servizio", "BUS,A,,\"Servizio\" \"");
                 f["trips.txt"] += "\"XX,FES,b2,\n"; // to the end of the file
             },
             {"2 righe illeggibili saltate, di corse e linee che il giorno non usa: routes.txt, "
              "riga "
              "3, colonna route_long_name: dopo le virgolette di chiusura manca la virgola, "
              "trips.txt, riga 6, colonna route_id: le virgolette aperte non si chiudono"}},
        };
    for (const auto& [change, notes] : cases) {
        FeedFiles files = test::valleFeed();
        change(files);
        const Imported imported = importValmora(files, 2024_y / 3 / 6);
        EXPECT_EQ(importNotes(imported.day, imported.chosen), notes);
    }
}

TEST(GtfsStationDay, DefaultDayIsTheBusiestFromToday) {
    const auto source = feedFromTexts(test::valleFeed());
    const GtfsFeed feed = loadFeed(*source);
    EXPECT_EQ(defaultServiceDay(feed, 2024_y / 3 / 6), date::sys_days(2024_y / 3 / 6));
    EXPECT_EQ(defaultServiceDay(feed, 2024_y / 3 / 9), date::sys_days(2024_y / 3 / 11));
    EXPECT_EQ(defaultServiceDay(feed, 2030_y / 1 / 1), date::sys_days(2024_y / 1 / 1));
}

TEST(GtfsStationDay, TheFeedsStationAndTracksBecomeTheStationData) {
    Imported imported = importValmora(test::valleFeed(), 2024_y / 3 / 6);
    Scenario s = test::stationWith({});
    useFeedStation(s, imported.day);
    EXPECT_EQ(s.nome_stazione, "Valmora");
    EXPECT_EQ(stationTrackNames(s), (std::vector<std::string>{"1", "2"}));
    // A feed without platform codes names the station and leaves the tracks the user chose.
    imported.day.platformSlots.clear();
    imported.day.stationName = "Altrove";
    s.binari_scelti[5] = true;
    rebuildTrackTable(s);
    useFeedStation(s, imported.day);
    EXPECT_EQ(s.nome_stazione, "Altrove");
    EXPECT_EQ(stationTrackNames(s), (std::vector<std::string>{"1", "2", "6"}));
    EXPECT_EQ(imported.chosen.kinds.size(), 1u);
    EXPECT_EQ(imported.chosen.kinds[0].kind + " " + std::to_string(imported.chosen.kinds[0].trains),
              "RE 3");
}

TEST(GtfsStationDay, TooManyTrainsAreRefusedWhole) {
    Scenario s = test::stationWith({});
    s.totale_treni = kMaxTrains - 2;
    const auto refusal = importRefusal(s, importValmora(test::valleFeed(), 2024_y / 3 / 6).chosen);
    ASSERT_TRUE(refusal);
    EXPECT_NE(refusal->find("fermano 3 treni, ma nello scenario ce ne stanno ancora 2"),
              std::string::npos);
}

} // namespace
} // namespace zeb
