// The GTFS import on a generated national feed: 3 million stop_times (about 150 MB inflated), a
// busy station of 1,500 calls on a weekday. Each figure is set beside the time to inflate
// stop_times.txt and count its lines once, measured in the same run.
#include "bare_scan.h"
#include "child_jobs.h"
#include "generated_text.h"

#include "gtfs/feed_source.h"
#include "gtfs/station_day.h"
#include "gtfs/station_list.h"
#include "gtfs/train_choice.h"
#include "model/track_slots.h"

#include <benchmark/benchmark.h>
#include <zip.h>

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace zeb::bench {
namespace {

constexpr int kTrips = 100'000;
constexpr int kStopsPerTrip = 30;
constexpr int kStops = 5'000;
constexpr int kHubTrips = 1'500; // weekday trips through the hub

const date::sys_days kWeekday = date::sys_days(date::year{2025} / 3 / 5);

// Writes the feed once per run; trips 0..kHubTrips-1 call at the hub on weekdays, every tenth
// trip of the rest at weekends.
const std::string& feedPath() {
    static const std::string path = [] {
        const std::string file = "/tmp/zebrano-bench-feed.zip";
        std::map<std::string, std::string> files;
        files["agency.txt"] = "agency_id,agency_name,agency_url,agency_timezone\n"
                              "A,Ferrovie Nazionali,http://fn.example,Europe/Rome\n";
        std::string& stops = files["stops.txt"];
        stops = "stop_id,stop_name,location_type,parent_station,platform_code\nHUB,Nodo "
                "Centrale,1,,\n";
        for (int p = 1; p <= 20; ++p)
            appendLine(stops, "HUB%d,Nodo Centrale,0,HUB,%d\n", p, p);
        for (int s = 0; s < kStops; ++s)
            appendLine(stops, "S%d,Località %d,,,\n", s, s);
        files["routes.txt"] = "route_id,agency_id,route_short_name,route_long_name,route_type\n"
                              "R,A,R,Regionale,2\nIC,A,IC,Intercity,2\n";
        files["calendar.txt"] =
            "service_id,monday,tuesday,wednesday,thursday,friday,saturday,sunday,start_date,"
            "end_date\nFER,1,1,1,1,1,0,0,20250101,20251231\nFES,0,0,0,0,0,1,1,20250101,20251231\n";
        std::string& trips = files["trips.txt"];
        trips = "route_id,service_id,trip_id,trip_short_name\n";
        std::string& times = files["stop_times.txt"];
        times = "trip_id,arrival_time,departure_time,stop_id,stop_sequence,pickup_type,"
                "drop_off_type\n";
        times.reserve(155u << 20);
        for (int t = 0; t < kTrips; ++t) {
            const bool weekday = t < kHubTrips || t % 3 != 0;
            appendLine(trips, "%s,%s,T%d,%d\n", t % 4 == 0 ? "IC" : "R", weekday ? "FER" : "FES", t,
                       10000 + t);
            const bool hub = t < kHubTrips || (!weekday && t % 10 == 0);
            const int start = 4 * 3600 + (t * 37) % (20 * 3600);
            for (int k = 0; k < kStopsPerTrip; ++k) {
                const int at = start + k * 240;
                const bool atHub = hub && k == kStopsPerTrip / 2;
                appendLine(times, "T%d,%d:%02d:%02d,%d:%02d:%02d,%s%d,%d,0,0\n", t, at / 3600,
                           at / 60 % 60, at % 60, (at + 60) / 3600, (at + 60) / 60 % 60,
                           (at + 60) % 60, atHub ? "HUB" : "S",
                           atHub ? 1 + t % 20 : (t * 7 + k * 13) % kStops, k + 1);
            }
        }
        int error = 0;
        zip_t* archive = zip_open(file.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
        for (const auto& [name, text] : files)
            zip_file_add(archive, name.c_str(),
                         zip_source_buffer(archive, text.data(), text.size(), 0), ZIP_FL_OVERWRITE);
        zip_close(archive);
        return file;
    }();
    return path;
}

// Seconds to inflate stop_times.txt and count its lines, the least any reading of it costs.
double bareScanSeconds() {
    static const double seconds = [] {
        double best = 1e9;
        for (int run = 0; run < 3; ++run)
            best = std::min(best, inflateAndCountSeconds(feedPath(), {"stop_times.txt"}));
        return best;
    }();
    return seconds;
}

Scenario stationOfTwentyTracks() {
    Scenario s;
    for (int slot = 0; slot < 20; ++slot)
        s.binari_scelti[static_cast<std::size_t>(slot)] = true;
    rebuildTrackTable(s);
    return s;
}

// The hub's weekday, from opening the feed to the trains as stored.
std::size_t importHub() {
    const auto source = openFeed(feedPath());
    const GtfsFeed feed = loadFeed(*source);
    const StationDay day = readStationDay(feed, stationsNamed(feed, "HUB").at(0), kWeekday);
    return chooseTrains(day, {}, stationOfTwentyTracks()).trains.size();
}

} // namespace

// The hub's weekday imported alone, for its peak memory.
int gtfsImportJob() {
    return importHub() == kHubTrips ? 0 : 1;
}

namespace {

void GtfsBareScan(benchmark::State& state) {
    for (auto _ : state)
        state.SetIterationTime(bareScanSeconds());
}

// Runs `work` timed by hand, and sets "x_scan": its time over the bare scan's.
template <typename Work> void timedAgainstScan(benchmark::State& state, Work work) {
    const double bare = bareScanSeconds();
    double total = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        state.SetIterationTime(seconds);
        total += seconds;
    }
    state.counters["x_scan"] = total / static_cast<double>(state.iterations()) / bare;
}

void GtfsImportStation(benchmark::State& state) {
    std::size_t trains = 0;
    timedAgainstScan(state, [&] { trains = importHub(); });
    state.counters["trains"] = static_cast<double>(trains);
    state.counters["peak_MB"] = peakMegabytesOf("gtfs-import");
}

void GtfsListStations(benchmark::State& state) {
    const auto source = openFeed(feedPath());
    const GtfsFeed feed = loadFeed(*source);
    std::size_t stations = 0;
    timedAgainstScan(state, [&] { stations = stationsOfDay(feed, kWeekday, true).size(); });
    state.counters["stations"] = static_cast<double>(stations);
}

BENCHMARK(GtfsBareScan)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(GtfsImportStation)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(GtfsListStations)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zeb::bench
