#include "timetable/occupancy.h"

#include "model/value_tables.h"
#include "timetable/train_times.h"

namespace zeb {

std::vector<Occupancy> trackOccupancies(const Scenario& s, const CheckSettings& settings) {
    std::vector<Occupancy> out;
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        if (isCategoriaSenzaBinario(t.categoria))
            continue;
        const int arrival = arrivalMinute(t).value_or(-1);
        const int departure = departureMinute(t).value_or(-1);
        int start = 0;
        int end = 0;
        OccupancyKind kind{};
        if (hasArrival(t) && hasDeparture(t)) {
            if (arrival < 0 || departure < 0)
                continue;
            kind = OccupancyKind::Passing;
            start = arrival;
            end = departure < arrival ? departure + kMinutesPerDay : departure; // next day
        } else if (hasArrival(t)) {
            if (arrival < 0)
                continue;
            kind = OccupancyKind::Terminating;
            start = arrival;
            end = start + settings.turnaround;
        } else if (hasDeparture(t)) {
            if (departure < 0)
                continue;
            kind = OccupancyKind::Starting;
            start = departure - settings.preparation;
            end = departure;
            if (start < 0) {
                start += kMinutesPerDay;
                end += kMinutesPerDay;
            }
        } else {
            continue; // neither end: it holds nothing
        }
        out.push_back({i, t.binario, start, end, kind});
    }
    return out;
}

} // namespace zeb
