// Feeds made to exhaust the GTFS reading, generated here (never stored): frequencies.txt with
// the same row repeated, two rows by turns, or distinct overlapping rows, one trip passing the
// station 20,000 times, and zips of 1 GB and 6 GB of one trip's rows. Each import (open, load, the
// station's day, the trains chosen) is set beside the time to inflate the feed's files and count
// their lines, and beside the time to inflate them and split their rows into values, with its
// peak memory measured in a process of its own.
#include "bare_scan.h"
#include "child_jobs.h"
#include "generated_text.h"

#include "gtfs/feed_source.h"
#include "gtfs/gtfs_error.h"
#include "gtfs/gtfs_table.h"
#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/train_choice.h"
#include "model/scenario.h"

#include <benchmark/benchmark.h>
#include <date/tz.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zeb::bench {
namespace {

const date::sys_days kDay = date::sys_days(date::year{2025} / 3 / 5);

// stop_times.txt made row by row as the zip is written, so that a 6 GB file never exists whole.
struct GeneratedTimes {
    std::uint64_t rows = 0;
    std::function<void(std::uint64_t row, std::string& out)> row; // rows of one fixed length
    std::uint64_t next = 0;
    std::string pending;
    std::size_t pendingAt = 0;
    zip_error_t error{};
};

const std::string kTimesHeader = "trip_id,arrival_time,departure_time,stop_id,stop_sequence,"
                                 "pickup_type,drop_off_type\n";

zip_int64_t generateTimes(void* state, void* data, zip_uint64_t length, zip_source_cmd_t command) {
    auto& g = *static_cast<GeneratedTimes*>(state);
    switch (command) {
    case ZIP_SOURCE_OPEN:
        g.next = 0;
        g.pending = kTimesHeader;
        g.pendingAt = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        zip_uint64_t done = 0;
        while (done < length) {
            if (g.pendingAt == g.pending.size()) {
                if (g.next == g.rows)
                    break;
                g.pending.clear();
                g.pendingAt = 0;
                for (int k = 0; k < 4096 && g.next < g.rows; ++k)
                    g.row(g.next++, g.pending);
            }
            const std::size_t take =
                std::min<std::size_t>(length - done, g.pending.size() - g.pendingAt);
            std::memcpy(static_cast<char*>(data) + done, g.pending.data() + g.pendingAt, take);
            g.pendingAt += take;
            done += take;
        }
        return static_cast<zip_int64_t>(done);
    }
    case ZIP_SOURCE_STAT: {
        std::string first;
        g.row(0, first);
        auto* stat = static_cast<zip_stat_t*>(data);
        zip_stat_init(stat);
        stat->size = kTimesHeader.size() + g.rows * first.size();
        stat->mtime = 0;
        stat->valid |= ZIP_STAT_SIZE | ZIP_STAT_MTIME;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR:
        return zip_error_to_data(&g.error, data, length);
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
    default:
        return 0;
    }
}

// A station STA on a route, its trip T1 running every day; `times` gives T1's rows.
struct BombFeed {
    const char* name;
    std::string frequencies; // "" for none
    GeneratedTimes times;
};

// T1's row `k` at STA when `atStation`, else at one of 50 stops, `seconds` into its day.
void tripRow(std::string& out, std::uint64_t k, bool atStation, std::uint64_t seconds) {
    char stop[8];
    std::snprintf(stop, sizeof stop, "S%02u", static_cast<unsigned>(k % 50));
    const auto h = static_cast<unsigned>(seconds / 3600 % 1000);
    const auto m = static_cast<unsigned>(seconds / 60 % 60);
    const auto s = static_cast<unsigned>(seconds % 60);
    appendLine(out, "T1,%03u:%02u:%02u,%03u:%02u:%02u,%s,%09llu,0,0\n", h, m, s, h, m, s,
               atStation ? "STA" : stop, static_cast<unsigned long long>(k % 1000000000));
}

// The same row `rows` times, two rows by turns, or distinct rows overlapping.
enum class Repeated { Same, ByTurns, Never };

std::string frequencyRows(long rows, Repeated repeated) {
    std::string text = "trip_id,start_time,end_time,headway_secs\n";
    for (long k = 0; k < rows; ++k) {
        const long start = repeated == Repeated::Same      ? 6 * 3600
                           : repeated == Repeated::ByTurns ? 6 * 3600 + k % 2 * 30
                                                           : k % (500 * 3600);
        const long end = start + 3600;
        appendLine(text, "T1,%ld:%02ld:%02ld,%ld:%02ld:%02ld,60\n", start / 3600, start / 60 % 60,
                   start % 60, end / 3600, end / 60 % 60, end % 60);
    }
    return text;
}

std::map<std::string, BombFeed> bombFeeds() {
    std::map<std::string, BombFeed> feeds;
    auto add = [&](const char* name, std::string frequencies, std::uint64_t rows,
                   std::function<void(std::uint64_t, std::string&)> row) {
        BombFeed& feed = feeds[name];
        feed.name = name;
        feed.frequencies = std::move(frequencies);
        feed.times.rows = rows;
        feed.times.row = std::move(row);
    };
    auto shortTrip = [](std::uint64_t k, std::string& out) {
        tripRow(out, k, k == 1, 6 * 3600 + k * 600);
    };
    add("frequenze-200000-uguali", frequencyRows(200'000, Repeated::Same), 3, shortTrip);
    add("frequenze-2000000-uguali", frequencyRows(2'000'000, Repeated::Same), 3, shortTrip);
    add("frequenze-2000000-alterne", frequencyRows(2'000'000, Repeated::ByTurns), 3, shortTrip);
    add("frequenze-200000-diverse", frequencyRows(200'000, Repeated::Never), 3, shortTrip);
    add("corsa-di-20000-passaggi", "", 40'000,
        [](std::uint64_t k, std::string& out) { tripRow(out, k, k % 2 == 1, k * 30); });
    // 40 bytes a row, the station every other row, a minute apart: 500 rows repeated (within
    // deflate's window, so that the zip is small) for 1 GB and 6 GB.
    auto pattern = std::make_shared<std::vector<std::string>>(500);
    for (std::uint64_t k = 0; k < pattern->size(); ++k)
        tripRow((*pattern)[k], k, k % 2 == 1, 6 * 3600 + k * 60);
    auto bombRow = [pattern](std::uint64_t k, std::string& out) {
        out += (*pattern)[k % pattern->size()];
    };
    add("corsa-di-1GB", "", (1ull << 30) / 40, bombRow);
    add("corsa-di-6GB", "", 6 * (1ull << 30) / 40, bombRow);
    return feeds;
}

BombFeed& bombFeed(const std::string& name) {
    static std::map<std::string, BombFeed> feeds = bombFeeds();
    return feeds.at(name);
}

std::string zipPath(const std::string& name) {
    return "/tmp/zebrano-bench-" + name + ".zip";
}

// Writes the feed's zip once per run.
const std::string& writtenFeed(const std::string& name) {
    static std::map<std::string, std::string> written;
    if (const auto it = written.find(name); it != written.end())
        return it->second;
    BombFeed& feed = bombFeed(name);
    std::map<std::string, std::string> files;
    files["agency.txt"] = "agency_id,agency_name,agency_url,agency_timezone\n"
                          "A,Prove,http://prove.example,Europe/Rome\n";
    std::string& stops = files["stops.txt"];
    stops = "stop_id,stop_name\nSTA,Stazione\n";
    for (int s = 0; s < 50; ++s)
        stops += "S" + std::string(s < 10 ? "0" : "") + std::to_string(s) + ",Fermata " +
                 std::to_string(s) + "\n";
    files["routes.txt"] = "route_id,agency_id,route_short_name,route_type\nR,A,R,2\n";
    files["calendar.txt"] =
        "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,"
        "end_date\nS,1,1,1,1,1,1,1,20250101,20251231\n";
    files["trips.txt"] = "route_id,service_id,trip_id,trip_short_name\nR,S,T1,100\n";
    if (!feed.frequencies.empty())
        files["frequencies.txt"] = feed.frequencies;
    const std::string path = zipPath(name);
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto& [file, text] : files)
        zip_file_add(archive, file.c_str(), zip_source_buffer(archive, text.data(), text.size(), 0),
                     ZIP_FL_OVERWRITE);
    zip_error_init(&feed.times.error);
    zip_file_add(archive, "stop_times.txt",
                 zip_source_function(archive, generateTimes, &feed.times), ZIP_FL_OVERWRITE);
    zip_close(archive);
    return written[name] = path;
}

const char* const kFeedFiles[] = {"agency.txt", "stops.txt",       "routes.txt",    "calendar.txt",
                                  "trips.txt",  "frequencies.txt", "stop_times.txt"};

// Seconds to inflate every file and split each of its rows into its values: what any reading of
// the rows costs before it makes anything of them.
double valuesSeconds(const std::string& path) {
    const auto start = std::chrono::steady_clock::now();
    const auto source = openFeed(path);
    std::size_t length = 0;
    for (const char* file : kFeedFiles) {
        if (!source->has(file))
            continue;
        GtfsTable table(*source, file);
        while (table.next()) {
            for (int k = 0; k < table.columns(); ++k)
                length += table.field(k).size();
        }
    }
    benchmark::DoNotOptimize(length);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct BombOutcome {
    long trains = 0;     // chosen, made or not
    std::string message; // the reading's error, if it stopped
};

// The scenario the trains go into is there before the import, as it is in the editor.
BombOutcome importBomb(const std::string& path, const Scenario& scenario) {
    BombOutcome outcome;
    try {
        const auto source = openFeed(path);
        const GtfsFeed feed = loadFeed(*source);
        const StationDay day = readStationDay(feed, stationsNamed(feed, "STA").at(0), kDay);
        const ChosenTrains chosen = chooseTrains(day, {}, scenario);
        outcome.trains = chosen.counted;
        for (const std::string& note : importNotes(day, chosen))
            outcome.message += note + "; ";
    } catch (const GtfsError& error) {
        outcome.message = error.message();
    }
    return outcome;
}

void GtfsBomb(benchmark::State& state, const std::string& name) {
    const std::string& path = writtenFeed(name);
    date::get_tzdb(); // read once a process, before its first import: not the feed's cost
    // Each time the best of three, the yardsticks' and the import's: the machine is shared.
    const std::vector<std::string> files(std::begin(kFeedFiles), std::end(kFeedFiles));
    double bare = 1e9, values = 1e9, seconds = 1e9;
    for (int run = 0; run < 3; ++run) {
        bare = std::min(bare, inflateAndCountSeconds(path, files));
        values = std::min(values, valuesSeconds(path));
    }
    BombOutcome outcome;
    const Scenario scenario;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        outcome = importBomb(path, scenario);
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(took);
        seconds = std::min(seconds, took);
    }
    state.counters["best_ms"] = seconds * 1000;
    state.counters["bare_s"] = bare;
    state.counters["x_scan"] = seconds / bare;
    state.counters["values_s"] = values;
    state.counters["x_values"] = seconds / values;
    state.counters["trains"] = static_cast<double>(outcome.trains);
    state.counters["peak_MB"] = peakMegabytesOf(("gtfs-bomb:" + name).c_str());
    state.SetLabel(outcome.message.substr(0, 120));
}

const int kRegistered = [] {
    for (const char* name :
         {"frequenze-200000-uguali", "frequenze-2000000-uguali", "frequenze-2000000-alterne",
          "frequenze-200000-diverse", "corsa-di-20000-passaggi", "corsa-di-1GB", "corsa-di-6GB"}) {
        benchmark::RegisterBenchmark((std::string("GtfsBomb/") + name).c_str(),
                                     [name](benchmark::State& state) { GtfsBomb(state, name); })
            ->UseManualTime()
            ->Iterations(3)
            ->Unit(benchmark::kMillisecond);
    }
    return 0;
}();

} // namespace

int gtfsBombJob(std::string_view name) {
    const BombOutcome outcome = importBomb(zipPath(std::string(name)), Scenario());
    return outcome.trains >= 0 ? 0 : 1;
}

} // namespace zeb::bench
