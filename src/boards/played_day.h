#pragma once

#include "model/scenario.h"
#include "model/train_links.h"
#include "timetable/delay_draw.h"
#include "timetable/occupancy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// How late the trains of a played day run: all on time; each as late as its delay index allows
// at most (0, 5, 30, 110, 230 minutes); or each late by a whole number of minutes drawn from 0 to
// that most by a seed.
enum class DelayMode { None, Most, Drawn };

// A train as the day plays it: its times here in minutes after the day's start (the scenario's
// start time), as due and as run.
struct PlayedTrain {
    int train = -1;
    std::optional<int> arrival{};   // as due
    std::optional<int> departure{}; // as due
    int arrivalDelay = 0;
    int departureDelay = 0; // a unit's second train leaves late where its first came in late
    bool cancelled = false;
    bool bus = false; // a category without a track, or the indication of a bus
    std::string track{};
    std::string baseTrack{}; // the base day's, where it differs; else empty
    std::optional<int> actualArrival() const;
    std::optional<int> actualDeparture() const;
};

struct PlayedDay {
    int startMinute = 0;             // the day's start, a minute of the day
    std::vector<PlayedTrain> trains; // in table order
    std::vector<Occupancy> holds;    // each track's holds as run, minutes after the day's start
};

struct PlaySettings {
    DelayMode delays = DelayMode::None;
    std::uint64_t seed = 1;
    CheckSettings check{};
};

// The day of `s` as played: its delays, a linked unit leaving no earlier than its first train's
// actual arrival and the least turnaround, each train's track against `base` where given.
PlayedDay playDay(const Scenario& s, const TrainLinks& links, const Scenario* base,
                  const PlaySettings& settings);

// A minute of the day as minutes after the day's start, and back.
int minuteOfPlay(const PlayedDay& day, int clockMinute);
int clockOfPlay(const PlayedDay& day, int playMinute);

} // namespace zeb
