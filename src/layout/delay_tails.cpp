#include "delay_risk/delay_risk.h"
#include "layout/occupancy_chart.h"
#include "model/clock.h"
#include "timetable/delay_draw.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <map>

namespace zeb {

namespace {

// The most minutes a hold's end may move: its last train's own most, or for a unit the most its
// first train's lateness passes on past the stand as written.
int mostEndDelay(const Scenario& s, const Occupancy& o, const CheckSettings& settings) {
    const Treno& last = s.treni[o.leaving >= 0 ? o.leaving : o.train];
    int most = mostDelayOf(last);
    if (o.leaving >= 0) {
        const Treno& first = s.treni[o.train];
        const auto in = arrivalMinute(first);
        const auto out = departureMinute(last);
        if (in && out)
            most = std::max(most, mostDelayOf(first) + settings.leastTurnaround -
                                      minutesAfter(*in, *out));
    }
    return most;
}

} // namespace

void addDelayTails(ChartContent& content, const Scenario& s, const CheckSettings& settings,
                   const DelayRisk* risk) {
    std::map<int, double> shares;
    if (risk != nullptr) {
        for (const TrainRisk& train : risk->trains)
            shares[train.train] = train.share;
    }
    for (ChartBar& bar : content.bars) {
        const Occupancy& o = bar.occupancy;
        if (o.cancelled)
            continue;
        const int endOnDay = o.end > kMinutesPerDay ? o.end - kMinutesPerDay : o.end;
        if (bar.to == endOnDay)
            bar.tail = mostEndDelay(s, o, settings);
        if (const auto share = shares.find(o.train); share != shares.end())
            bar.risk = share->second;
    }
}

} // namespace zeb
