#include "delay_risk/delay_runs.h"

#include "model/clock.h"
#include "timetable/delay_draw.h"
#include "timetable/train_times.h"

#include <algorithm>

namespace zeb {

DelayRuns::DelayRuns(const Scenario& s, const std::vector<Occupancy>& holds,
                     const DelayRiskSettings& settings)
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
    for (const Occupancy& o : holds) {
        const int last = o.leaving >= 0 ? o.leaving : o.train;
        holds_.push_back({o.train, last, o.start, o.end - o.start,
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

std::vector<MovedHold> DelayRuns::moved(std::uint64_t seed) const {
    const Delays delays = drawDelays(seed);
    std::vector<MovedHold> out;
    out.reserve(holds_.size());
    for (const Hold& h : holds_) {
        const auto f = static_cast<std::size_t>(h.first);
        const auto l = static_cast<std::size_t>(h.last);
        const int startDelay = h.startOnArrival ? delays.arrival[f] : delays.departure[f];
        const int endDelay = h.endOnDeparture ? delays.departure[l] : delays.arrival[l];
        const int start = minuteOnClock(h.start + startDelay);
        out.push_back({start, start + h.length + endDelay - startDelay});
    }
    return out;
}

DelayRuns::Delays DelayRuns::drawDelays(std::uint64_t seed) const {
    Delays delays{std::vector<int>(draws_.size()), std::vector<int>(draws_.size())};
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

} // namespace zeb
