#include "gtfs/day_runs.h"

#include <algorithm>
#include <tuple>

namespace zeb {

std::vector<int> runOffsets(const GtfsFeed& feed, int trip, const std::vector<TripRow>& rows) {
    const auto f = feed.frequencies.find(trip);
    if (f == feed.frequencies.end())
        return {0};
    std::vector<GtfsFrequency> ordered = f->second;
    std::sort(ordered.begin(), ordered.end(), [](const GtfsFrequency& a, const GtfsFrequency& b) {
        return std::tuple(a.headway, a.start % a.headway, a.start) <
               std::tuple(b.headway, b.start % b.headway, b.start);
    });
    int low = ordered.front().start, high = ordered.front().end;
    for (const GtfsFrequency& frequency : ordered) {
        low = std::min(low, frequency.start);
        high = std::max(high, frequency.end);
    }
    std::vector<bool> runs(static_cast<std::size_t>(high - low) + 1, false);
    int marked = -1; // the last run marked of the class
    for (std::size_t i = 0; i < ordered.size(); ++i) {
        const GtfsFrequency& frequency = ordered[i];
        const bool sameClass =
            i > 0 && ordered[i - 1].headway == frequency.headway &&
            ordered[i - 1].start % frequency.headway == frequency.start % frequency.headway;
        if (!sameClass)
            marked = -1;
        int start = frequency.start;
        if (marked >= start)
            start = marked + frequency.headway; // the rows of a class overlap: go on from there
        for (; start <= frequency.end; start += frequency.headway) {
            runs[static_cast<std::size_t>(start - low)] = true;
            marked = start;
        }
    }
    const int first =
        rows.front().departure >= 0 ? rows.front().departure : std::max(rows.front().arrival, 0);
    std::vector<int> offsets;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        if (runs[i])
            offsets.push_back(low + static_cast<int>(i) - first);
    }
    return offsets;
}

} // namespace zeb
