#include "track_assignment/spans.h"
#include "track_assignment/track_assignment.h"

#include "timetable/train_times.h"

#include <algorithm>

namespace zeb {

std::vector<int> clashesAfterMove(const Scenario& s, const CheckSettings& settings, int train,
                                  const std::string& track, int minutes, const TrainLinks& links) {
    const std::vector<Occupancy> occupancies = trackOccupancies(s, settings, false, links);
    const auto moved =
        std::find_if(occupancies.begin(), occupancies.end(),
                     [&](const Occupancy& o) { return o.train == train || o.leaving == train; });
    if (moved == occupancies.end())
        return {};
    // A unit's hold stretches or shrinks with the train moved; a train's moves whole.
    int start = moved->start + (moved->leaving == train ? 0 : minutes);
    int end = moved->end + (moved->leaving < 0 || moved->leaving == train ? minutes : 0);
    if (end < start)
        return {}; // a unit that would leave before it arrives: the checker says so
    const int day = minuteOnClock(start) - start;
    start += day;
    end += day;
    const Span span{start, end + settings.separation};
    std::vector<int> clashes;
    for (const Occupancy& o : occupancies) {
        if (o.train != moved->train && o.track == track &&
            clash(span, {o.start, o.end + settings.separation}))
            clashes.push_back(o.train);
    }
    return clashes;
}

} // namespace zeb
