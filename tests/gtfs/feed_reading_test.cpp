#include "gtfs/feed.h"
#include "gtfs/feed_source.h"
#include "gtfs/gtfs_error.h"
#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/station_trips.h"
#include "gtfs/valle_feed.h"
#include "scenario_file/test_files.h"

#include <gtest/gtest.h>
#include <zip.h>

#include <functional>

namespace zeb {
namespace {

using test::FeedFiles;

std::string loadError(const FeedSource& source) {
    try {
        const GtfsFeed feed = loadFeed(source);
        const date::sys_days day(date::year{2024} / 3 / 6);
        stationsOfDay(feed, day, true);
        readStationDay(feed, stationsNamed(feed, "Valmora").at(0), day);
    } catch (const GtfsError& error) {
        return error.message();
    }
    return "";
}

const std::string kUnreadTrip =
    "stop_times.txt, riga 10, colonna trip_id: la corsa «t3» ferma alla "
    "stazione, ma non è in trips.txt, di cui non si legge trips.txt, "
    "riga 4, colonna ";

TEST(GtfsFeedReading, ABrokenFeedNamesFileLineAndColumn) {
    auto stopTimes = [](std::string from, std::string to) {
        return [=](FeedFiles& f) { test::edit(f, "stop_times.txt", from, to); };
    };
    const std::vector<std::pair<std::function<void(FeedFiles&)>, std::string>> cases = {
        {[](FeedFiles& f) { f.erase("stops.txt"); }, "Nel feed manca il file stops.txt"},
        {[](FeedFiles& f) { test::edit(f, "stops.txt", "stop_id", "id"); },
         "stops.txt: manca la colonna stop_id"},
        {stopTimes("7:55:00,7:57", "7:61:00,7:57"),
         "stop_times.txt, riga 3, colonna arrival_time: «7:61:00» non è un orario H:MM:SS"},
        {stopTimes("7:55:00,7:57", "7:5" + std::string(1 << 20, '5') + ",7:57"),
         "stop_times.txt, riga 3, colonna arrival_time: «7:5" + std::string(37, '5') +
             "…» non è un orario H:MM:SS"}, // a value of a megabyte quoted briefly
        {stopTimes("t2,9:30", "zz,9:30"),
         "stop_times.txt, riga 8, colonna trip_id: la corsa «zz» non è in trips.txt"},
        {stopTimes("SUD,2", "XYZ,2"),
         "stop_times.txt, riga 8, colonna stop_id: la fermata «XYZ» non è in stops.txt"},
        // A row the day needs that cannot be read: its trip calls at the station.
        {[](FeedFiles& f) { test::edit(f, "trips.txt", "RE,FER,t3", "RE,FER,\"t3"); },
         kUnreadTrip + "trip_id: le virgolette aperte non si chiudono"},
        {[](FeedFiles& f) { test::edit(f, "trips.txt", "RE,FER,t3", "RE,\"FER\"x,t3"); },
         kUnreadTrip + "service_id: dopo le virgolette di chiusura manca la virgola"},
        {[](FeedFiles& f) { test::edit(f, "trips.txt", "RE,FER,t3", "XX,FER,t3"); },
         kUnreadTrip + "route_id: la linea «XX» non è in routes.txt"},
        {[](FeedFiles& f) { test::edit(f, "routes.txt", "RE,A,RE,Regionale", "RE,A,\"RE\"x,R"); },
         "La corsa «t1» ferma alla stazione, ma la sua linea non è in routes.txt, di cui non si "
         "legge routes.txt, riga 2, colonna route_short_name: dopo le virgolette di chiusura manca "
         "la virgola"},
        {[](FeedFiles& f) {
             f.erase("calendar.txt");
             f.erase("calendar_dates.txt");
         },
         "Nel feed mancano sia calendar.txt sia calendar_dates.txt: non si sa in quali giorni "
         "corrono i treni"},
        {[](FeedFiles& f) { test::edit(f, "calendar.txt", "20241231", "2024123"); },
         "calendar.txt, riga 2, colonna end_date: «2024123» non è una data AAAAMMGG"},
        {[](FeedFiles& f) { test::edit(f, "agency.txt", "Europe/Rome", "Mars/Base"); },
         "agency.txt, riga 2, colonna agency_timezone: «Mars/Base» non è un fuso orario "
         "conosciuto"},
        {[](FeedFiles& f) {
             f["frequencies.txt"] = "trip_id,start_time,end_time,headway_secs\n"
                                    "t2,9:00:00,10:00:00,0\n";
         },
         "frequencies.txt, riga 2, colonna headway_secs: l'intervallo deve dare da 1 a 1440 "
         "corse"},
        {[](FeedFiles& f) { f["stops.txt"] = ""; },
         "stops.txt: il file è vuoto, manca la riga delle intestazioni"},
    };
    for (const auto& [change, message] : cases) {
        FeedFiles files = test::valleFeed();
        change(files);
        EXPECT_EQ(loadError(*feedFromTexts(files)), message);
    }
}

// A zip of `files` under `folder` (none: at the root), written by libzip.
std::string zipOf(const FeedFiles& files, const std::string& folder, const std::string& path) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [name, text] : files) {
        zip_source_t* source = zip_source_buffer(archive, text.data(), text.size(), 0);
        zip_file_add(archive, (folder + name).c_str(), source, ZIP_FL_ENC_UTF_8);
    }
    zip_close(archive);
    return test::readBytes(path);
}

TEST(GtfsFeedReading, ZipsAtTheRootOrInAFolderWithMacJunk) {
    test::TempFolder folder;
    FeedFiles junk = test::valleFeed();
    FeedFiles withJunk;
    for (const auto& [name, text] : junk)
        withJunk["__MACOSX/feed/._" + name] = "\x00\x05\x16\x07 resource fork";
    for (const auto& [name, text] : junk)
        withJunk["feed/" + name] = text;
    const std::vector<std::string> zips = {
        zipOf(test::valleFeed(), "", folder.file("root.zip")),
        zipOf(withJunk, "", folder.file("folder.zip")),
    };
    for (const std::string& bytes : zips) {
        const auto source = feedFromZipBytes(bytes);
        EXPECT_EQ(loadError(*source), "");
        EXPECT_EQ(loadFeed(*source).stops.size(), 8u);
    }
    EXPECT_EQ(loadFeed(*openFeed(folder.file("folder.zip"))).trips.size(), 4u);

    const std::string bomb = test::declaringSize(zips[0], "stops.txt", 0xFFFFFFF0u);
    EXPECT_EQ(loadError(*feedFromZipBytes(bomb)),
              "stops.txt: il file è troppo grande (4095 MB, al massimo 512 MB)");
    const std::string shortened = test::declaringSize(zips[0], "stops.txt", 10);
    EXPECT_NE(loadError(*feedFromZipBytes(shortened)).find("stops.txt: il file nello zip"),
              std::string::npos);

    // Two feeds in one zip are never read as one.
    auto refusalOf = [](const auto& reading) {
        try {
            reading();
        } catch (const GtfsError& error) {
            return error.message();
        }
        return std::string();
    };
    auto refusal = [&](const std::string& bytes) {
        return refusalOf([&] { feedFromZipBytes(bytes); });
    };
    FeedFiles two;
    for (const auto& [name, text] : junk) {
        two["nuovo/" + name] = text;
        two["vecchio/" + name] = text;
    }
    EXPECT_EQ(refusal(zipOf(two, "", folder.file("two.zip"))),
              "Lo zip contiene i file di più orari («nuovo», «vecchio»): estrarre quello voluto "
              "e scegliere il suo stops.txt");
    two["stops.txt"] = junk.at("stops.txt");
    EXPECT_NE(refusal(zipOf(two, "", folder.file("two.zip")))
                  .find("(la cartella principale, «nuovo», «vecchio»)"),
              std::string::npos);

    test::writeBytes(folder.file("not.zip"), "stop_id\n");
    EXPECT_NE(loadError(*feedFromTexts({})).find("Nel feed manca il file"), std::string::npos);
    EXPECT_NE(refusalOf([&] { openFeed(folder.file("not.zip")); }).find("non è un archivio zip"),
              std::string::npos);
    EXPECT_THROW(openFeed(folder.file("missing.zip")), GtfsError);
    // A folder's stops.txt stands for the folder.
    for (const auto& [name, text] : junk)
        test::writeBytes(folder.file(name), text);
    EXPECT_EQ(loadFeed(*openFeed(folder.file("stops.txt"))).trips.size(), 4u);
}

} // namespace
} // namespace zeb
