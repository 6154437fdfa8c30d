#include "gtfs/day_runs.h"

#include "gtfs/feed_source.h"
#include "gtfs/valle_feed.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <tuple>
#include <vector>

namespace zeb {
namespace {

std::string clockText(int seconds) {
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, seconds / 60 % 60,
                  seconds % 60);
    return text;
}

// The runs of a trip's frequencies are the seconds some row reaches, each once and in order,
// however its rows overlap, repeat, or mix their headways; rows repeated apart are kept once.
TEST(GtfsDayRuns, EachRunOnceWhateverTheRows) {
    struct Case {
        const char* name;
        int rows;
        std::vector<int> headways;
        int spread;  // the seconds the rows start within
        int longest; // the most runs a row has
        bool exact;  // rows end on a run, so that many repeat
    };
    const std::vector<Case> cases = {
        {"a few rows apart", 5, {600, 1800}, 86400, 4, false},
        {"one headway, overlapping more than covering", 3000, {60}, 7200, 60, false},
        {"headways mixed, overlapping", 3000, {1, 7, 60, 61}, 20000, 300, false},
        {"rows repeated apart, more than are kept at once", 100000, {60, 90}, 200, 40, true},
    };
    std::mt19937 random(7);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string text = "trip_id,start_time,end_time,headway_secs\n";
        std::set<int> expected;
        std::set<std::tuple<int, int, int>> distinct;
        for (int r = 0; r < c.rows; ++r) {
            const int headway =
                c.headways[static_cast<std::size_t>(below(static_cast<int>(c.headways.size())))];
            const int start = below(c.spread);
            const int end = start + below(c.longest) * headway + (c.exact ? 0 : below(headway));
            text += "t2," + clockText(start) + "," + clockText(end) + "," +
                    std::to_string(headway) + "\n";
            for (int s = start; s <= end; s += headway)
                expected.insert(s);
            distinct.emplace(headway, start, end);
        }
        test::FeedFiles files = test::valleFeed();
        files["frequencies.txt"] = text;
        const auto source = feedFromTexts(files);
        const GtfsFeed feed = loadFeed(*source);
        const int trip = feed.tripIndex.find("t2");
        EXPECT_EQ(feed.frequencies.at(trip).size(), distinct.size());
        // A trip leaving its first stop at 0:00:00: its runs' offsets are their seconds.
        const std::vector<TripRow> rows = {{0, 1, -1, 0, true, true}};
        EXPECT_EQ(runOffsets(feed, trip, rows), std::vector<int>(expected.begin(), expected.end()));
    }
}

// Each trip keeps its own rows, however they come between rows of a trip trips.txt could not
// read, and a row of one trip the same as another's is the other's too.
TEST(GtfsDayRuns, EachTripKeepsItsRowsBesideUnreadableTrips) {
    test::FeedFiles files = test::valleFeed();
    files["trips.txt"] += "RE,FER,\"broken,9999\n";
    files["frequencies.txt"] = "trip_id,start_time,end_time,headway_secs\n"
                               "t1,7:40:00,8:40:00,1800\n"
                               "broken,7:40:00,8:40:00,1800\n"
                               "t1,9:40:00,10:40:00,1800\n"
                               "t2,9:05:00,10:05:00,1800\n"
                               "broken,7:40:00,8:40:00,1800\n"
                               "t2,9:40:00,10:40:00,1800\n";
    const auto source = feedFromTexts(files);
    const GtfsFeed feed = loadFeed(*source);
    ASSERT_FALSE(feed.skippedTrips.empty());
    auto rowsOf = [&](const char* trip) {
        std::vector<std::pair<int, int>> rows;
        for (const GtfsFrequency& f : feed.frequencies.at(feed.tripIndex.find(trip)))
            rows.emplace_back(f.start / 60, f.end / 60);
        return rows;
    };
    using Rows = std::vector<std::pair<int, int>>;
    EXPECT_EQ(rowsOf("t1"), (Rows{{460, 520}, {580, 640}}));
    EXPECT_EQ(rowsOf("t2"), (Rows{{545, 605}, {580, 640}}));
}

// The times of a call's runs on a day are those each run has timed alone, on days the clocks
// change and days they do not, in a zone of its own or none, whatever the seconds between runs.
TEST(GtfsDayRuns, TheRunsOfADayAreTimedAsEachAlone) {
    GtfsFeed feed;
    feed.stops.push_back(GtfsStop{});
    feed.stops[0].station = 0;
    struct Case {
        const char* zone; // "" for none
        date::sys_days day;
    };
    using namespace date::literals;
    const std::vector<Case> cases = {{"Europe/Rome", date::sys_days(2025_y / 3 / 30)},
                                     {"Europe/Rome", date::sys_days(2025_y / 10 / 26)},
                                     {"America/New_York", date::sys_days(2025_y / 3 / 9)},
                                     {"Australia/Lord_Howe", date::sys_days(2025_y / 4 / 6)},
                                     {"Asia/Kolkata", date::sys_days(2025_y / 6 / 1)},
                                     {"", date::sys_days(2025_y / 6 / 1)}};
    std::mt19937 random(17);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.zone) + " " + date::format("%F", c.day));
        GtfsRoute route;
        route.zone = *c.zone ? findZone(c.zone) : nullptr;
        for (int round = 0; round < 6; ++round) {
            std::vector<int> offsets;
            for (int at = static_cast<int>(random() % 200); at < 60 * 3600;
                 at += 1 + static_cast<int>(random() % (round % 2 ? 7 : 900)))
                offsets.push_back(at);
            TripRow row{0,  1,    static_cast<int>(random() % 30 * 3600 + random() % 3600),
                        -1, true, true};
            row.departure = row.arrival + static_cast<int>(random() % 400);
            const auto mask = static_cast<std::uint16_t>(random() % (1 << kCandidateDays));
            std::vector<RunTimes> found;
            DayRuns(feed, c.day).forEachRun(route, mask, row, offsets, [&](const RunTimes& t) {
                found.push_back(t);
            });
            std::vector<RunTimes> alone;
            ServiceClock service;
            auto local = [&](date::sys_seconds t) {
                return route.zone ? route.zone->to_local(t)
                                  : date::local_seconds(t.time_since_epoch());
            };
            for (int k = 0; k < kCandidateDays; ++k) {
                if ((mask >> k & 1) == 0)
                    continue;
                const auto start = service.dayStart(route.zone, c.day + date::days{k - kDaysBack});
                for (const int run : offsets) {
                    const auto at = local(start + std::chrono::seconds(row.arrival + run));
                    const auto out = local(start + std::chrono::seconds(row.departure + run));
                    if (date::floor<date::days>(at).time_since_epoch() != c.day.time_since_epoch())
                        continue;
                    auto minute = [](date::local_seconds t) {
                        return static_cast<int>((t - date::floor<date::days>(t)).count() / 60);
                    };
                    alone.push_back({minute(at), minute(at), minute(out), k - kDaysBack});
                }
            }
            ASSERT_EQ(found, alone);
        }
    }
}

} // namespace
} // namespace zeb
