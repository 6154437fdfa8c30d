#include "delay_risk/delay_risk.h"

#include "boards/played_day.h"
#include "model/clock.h"
#include "model/track_slots.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace zeb {

namespace {

// What a run needs of a train: the clock minutes of its ends (-1 where it lacks one) and the most
// its index allows.
struct TrainDraw {
    int arrival = -1;
    int departure = -1;
    int most = 0;
};

// A hold moved by its first train's start delay and its last train's end delay.
struct Hold {
    int first; // train whose delay moves the start
    int last;  // train whose delay moves the end
    int track; // a station track's slot
    int start; // clock minute
    int length;
    bool startOnArrival; // the start moves with the arrival, else with the departure
    bool endOnDeparture; // the end moves with the departure, else with the arrival
};

struct Link {
    int arriving;
    int leaving;
    int gap; // minutes from the arrival to the departure as written
};

struct RunDelays {
    std::vector<int> arrival;
    std::vector<int> departure;
};

class RiskRunner {
public:
    RiskRunner(const Scenario& s, const TrainLinks& links, const DelayRiskSettings& settings)
        : s_(s), settings_(settings) {
        for (int i = 0; i < s.totale_treni; ++i) {
            const Treno& t = s.treni[i];
            TrainDraw draw;
            if (hasArrival(t))
                draw.arrival = arrivalMinute(t).value_or(-1);
            if (hasDeparture(t))
                draw.departure = departureMinute(t).value_or(-1);
            draw.most = isCancelled(t) ? 0 : mostDelayOf(t);
            draws_.push_back(draw);
        }
        for (const Occupancy& o : stationTrackOccupancies(s, settings.check, links)) {
            const int last = o.leaving >= 0 ? o.leaving : o.train;
            const auto slot = slotOfTrackName(o.track);
            holds_.push_back({o.train, last, slot.value_or(0), o.start, o.end - o.start,
                              draws_[static_cast<std::size_t>(o.train)].arrival >= 0,
                              draws_[static_cast<std::size_t>(last)].departure >= 0});
            if (o.leaving >= 0) {
                const TrainDraw& a = draws_[static_cast<std::size_t>(o.train)];
                const TrainDraw& d = draws_[static_cast<std::size_t>(o.leaving)];
                if (a.arrival >= 0 && d.departure >= 0)
                    links_.push_back({o.train, o.leaving, minutesAfter(a.arrival, d.departure)});
            }
        }
    }

    const std::vector<Hold>& holds() const { return holds_; }

    // The clashing pairs of holds in the run drawn with `seed`, each once, as indices.
    std::vector<std::pair<int, int>> clashes(std::uint64_t seed) {
        const RunDelays delays = drawDelays(seed);
        std::vector<Moved> moved;
        moved.reserve(holds_.size() * 2);
        for (std::size_t k = 0; k < holds_.size(); ++k) {
            const Hold& h = holds_[k];
            const auto f = static_cast<std::size_t>(h.first);
            const auto l = static_cast<std::size_t>(h.last);
            const int startDelay = h.startOnArrival ? delays.arrival[f] : delays.departure[f];
            const int endDelay = h.endOnDeparture ? delays.departure[l] : delays.arrival[l];
            const int start = minuteOnClock(h.start + startDelay);
            const int end = start + h.length + endDelay - startDelay;
            for (int day : {0, kMinutesPerDay})
                moved.push_back({h.track, start + day, end + day, static_cast<int>(k)});
        }
        std::sort(moved.begin(), moved.end(), [](const Moved& a, const Moved& b) {
            return a.track != b.track ? a.track < b.track : a.start < b.start;
        });
        std::vector<std::pair<int, int>> found;
        const int separation = settings_.check.separation;
        for (std::size_t a = 0; a < moved.size(); ++a) {
            if (moved[a].start >= kMinutesPerDay)
                continue;
            for (std::size_t b = a + 1; b < moved.size() && moved[b].track == moved[a].track &&
                                        moved[b].start < moved[a].end + separation;
                 ++b) {
                if (moved[b].hold != moved[a].hold &&
                    tooClose(moved[a].start, moved[a].end, moved[b].start, moved[b].end,
                             separation))
                    found.emplace_back(std::min(moved[a].hold, moved[b].hold),
                                       std::max(moved[a].hold, moved[b].hold));
            }
        }
        std::sort(found.begin(), found.end());
        found.erase(std::unique(found.begin(), found.end()), found.end());
        return found;
    }

private:
    struct Moved {
        int track;
        int start;
        int end;
        int hold;
    };

    RunDelays drawDelays(std::uint64_t seed) const {
        RunDelays delays{std::vector<int>(draws_.size()), std::vector<int>(draws_.size())};
        for (std::size_t i = 0; i < draws_.size(); ++i) {
            const TrainDraw& d = draws_[i];
            const std::string& number = s_.treni[static_cast<int>(i)].numero;
            auto drawn = [&](int scheduled) {
                return settings_.most ? d.most : drawnDelay(seed, number, scheduled, d.most);
            };
            // A train that calls here leaves as late as it came, or as its own draw says.
            if (d.arrival >= 0)
                delays.arrival[i] = delays.departure[i] = drawn(d.arrival);
            else if (d.departure >= 0)
                delays.departure[i] = drawn(d.departure);
        }
        // A unit's second train waits for its first: late in, late out.
        for (const Link& link : links_) {
            int& leaving = delays.departure[static_cast<std::size_t>(link.leaving)];
            const int ready = delays.arrival[static_cast<std::size_t>(link.arriving)] +
                              settings_.check.leastTurnaround - link.gap;
            leaving = std::max(leaving, ready);
        }
        return delays;
    }

    const Scenario& s_;
    const DelayRiskSettings& settings_;
    std::vector<TrainDraw> draws_;
    std::vector<Hold> holds_;
    std::vector<Link> links_;
};

} // namespace

DelayRisk measureDelayRisk(const Scenario& s, const TrainLinks& links,
                           const DelayRiskSettings& settings, const RiskProgress& progress) {
    RiskRunner runner(s, links, settings);
    const std::vector<Hold>& holds = runner.holds();
    DelayRisk risk;
    risk.runs = settings.most ? 1 : std::max(settings.runs, 1);
    std::map<std::pair<int, int>, int> pairRuns; // holds' pair → runs it clashes in
    std::vector<int> trainRuns(holds.size());    // hold → runs it clashes in
    std::map<int, int> trackRuns;                // slot → runs with a clash on it
    long clashes = 0;
    int clashing = 0;
    std::vector<int> heldThisRun(holds.size(), -1);
    std::map<int, int> trackThisRun;
    for (int run = 0; run < risk.runs; ++run) {
        if (progress && run % 50 == 0 && !progress(run, risk.runs)) {
            risk.cancelled = true;
            return risk;
        }
        const auto found = runner.clashes(settings.seed + static_cast<std::uint64_t>(run));
        clashes += static_cast<long>(found.size());
        clashing += found.empty() ? 0 : 1;
        for (const auto& [a, b] : found) {
            ++pairRuns[{a, b}];
            for (int hold : {a, b}) {
                if (heldThisRun[static_cast<std::size_t>(hold)] != run) {
                    heldThisRun[static_cast<std::size_t>(hold)] = run;
                    ++trainRuns[static_cast<std::size_t>(hold)];
                }
            }
            const int track = holds[static_cast<std::size_t>(a)].track;
            if (trackThisRun[track] != run + 1) {
                trackThisRun[track] = run + 1;
                ++trackRuns[track];
            }
        }
    }
    if (progress)
        progress(risk.runs, risk.runs);
    const double runs = risk.runs;
    risk.expectedClashes = static_cast<double>(clashes) / runs;
    risk.clashingRuns = clashing / runs;
    for (const auto& [pair, count] : pairRuns) {
        const Hold& a = holds[static_cast<std::size_t>(pair.first)];
        const Hold& b = holds[static_cast<std::size_t>(pair.second)];
        risk.pairs.push_back({std::min(a.first, b.first), std::max(a.first, b.first),
                              trackName(a.track), count / runs});
    }
    std::stable_sort(risk.pairs.begin(), risk.pairs.end(),
                     [](const RiskyPair& x, const RiskyPair& y) { return x.share > y.share; });
    for (std::size_t k = 0; k < holds.size(); ++k) {
        TrainRisk train{holds[k].first, trainRuns[k] / runs, {}};
        for (const RiskyPair& pair : risk.pairs) {
            if (pair.first == train.train || pair.second == train.train)
                train.with.push_back(pair.first == train.train ? pair.second : pair.first);
        }
        if (holds[k].last != holds[k].first) // a unit's second train shares its lot
            risk.trains.push_back({holds[k].last, train.share, train.with});
        risk.trains.push_back(std::move(train));
    }
    std::stable_sort(risk.trains.begin(), risk.trains.end(),
                     [](const TrainRisk& x, const TrainRisk& y) { return x.share > y.share; });
    for (const auto& [track, count] : trackRuns)
        risk.tracks.emplace_back(trackName(track), count / runs);
    return risk;
}

std::string percentText(double share) {
    int percent = static_cast<int>(std::lround(share * 100));
    if (percent == 0 && share > 0)
        percent = 1;
    if (percent == 100 && share < 1)
        percent = 99;
    return std::to_string(percent) + " %";
}

} // namespace zeb
