// The boards of a played day: a day of 2001 trains with linked units and drawn delays, one minute
// (what the slider asks for each step) and every minute of the day (what playing it costs).
#include "boards/announcements.h"
#include "timetable/turnaround_pairs.h"
#include "track_assignment/ruled_days.h"

#include <benchmark/benchmark.h>

#include <random>

namespace zeb::bench {
namespace {

struct BusyDay {
    Scenario s;
    TrainLinks links;
};

const BusyDay& busyDay() {
    static const BusyDay day = [] {
        std::mt19937 random(7);
        BusyDay busy{test::ruledDay(kMaxTrains, kMaxChosenTracks, random).s, {}};
        busy.links = pairTurnarounds(busy.s, {}).links;
        return busy;
    }();
    return day;
}

// A change of the scenario or of the delays: the day played again, with its announcements.
void PlayedDayOf2001(benchmark::State& state) {
    const BusyDay& day = busyDay();
    std::size_t said = 0;
    for (auto _ : state) {
        const PlayedDay played =
            playDay(day.s, day.links, nullptr, {.delays = DelayMode::Drawn, .seed = 3});
        said = announcements(day.s, played, {}).size();
        benchmark::DoNotOptimize(said);
    }
    state.counters["trains"] = day.s.totale_treni;
    state.counters["announcements"] = static_cast<double>(said);
}

// A step of the slider: both boards and every track's indicator at one minute.
void BoardsOfOneMinute(benchmark::State& state) {
    const BusyDay& day = busyDay();
    const PlayedDay played =
        playDay(day.s, day.links, nullptr, {.delays = DelayMode::Drawn, .seed = 3});
    const BoardSettings settings;
    int minute = 0;
    for (auto _ : state) {
        minute = (minute + 97) % (24 * 60);
        const std::size_t rows = departuresBoard(day.s, played, minute, settings).rows.size() +
                                 arrivalsBoard(day.s, played, minute, settings).rows.size() +
                                 trackDisplays(day.s, played, minute, settings).size();
        benchmark::DoNotOptimize(rows);
    }
}

// Every minute of the day, the day played once.
void BoardsOfEveryMinute(benchmark::State& state) {
    const BusyDay& day = busyDay();
    const BoardSettings settings;
    for (auto _ : state) {
        const PlayedDay played =
            playDay(day.s, day.links, nullptr, {.delays = DelayMode::Drawn, .seed = 3});
        std::size_t rows = 0;
        for (int minute = 0; minute < 24 * 60; ++minute)
            rows += departuresBoard(day.s, played, minute, settings).rows.size() +
                    arrivalsBoard(day.s, played, minute, settings).rows.size() +
                    trackDisplays(day.s, played, minute, settings).size();
        benchmark::DoNotOptimize(rows);
    }
}

BENCHMARK(PlayedDayOf2001)->Unit(benchmark::kMillisecond);
BENCHMARK(BoardsOfOneMinute)->Unit(benchmark::kMillisecond);
BENCHMARK(BoardsOfEveryMinute)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zeb::bench
