#include "gtfs/day_runs.h"

#include <algorithm>
#include <cstdint>

namespace zeb {

namespace {

using Rows = std::vector<GtfsFrequency>::const_iterator;

// Marks in `runs` (from second `low`) every run of rows of one headway. Where the rows overlap
// more than they cover, the rows covering each second are counted instead, in steps of the
// headway, so that the work is that of the seconds spanned, not of the runs.
void markRuns(Rows from, Rows to, int low, std::vector<bool>& runs) {
    const int headway = from->headway;
    int first = from->start, last = from->end;
    std::int64_t count = 0;
    for (Rows row = from; row != to; ++row) {
        first = std::min(first, row->start);
        last = std::max(last, row->end);
        count += (row->end - row->start) / headway + 1;
    }
    if (count <= static_cast<std::int64_t>(last - first) + 1) {
        for (Rows row = from; row != to; ++row) {
            for (int start = row->start; start <= row->end; start += headway)
                runs[static_cast<std::size_t>(start - low)] = true;
        }
        return;
    }
    std::vector<int> covering(static_cast<std::size_t>(last - first) + 1, 0);
    for (Rows row = from; row != to; ++row) {
        ++covering[static_cast<std::size_t>(row->start - first)];
        const int after = row->start + (row->end - row->start) / headway * headway + headway;
        if (after <= last)
            --covering[static_cast<std::size_t>(after - first)];
    }
    const auto step = static_cast<std::size_t>(headway);
    for (std::size_t s = 0; s < covering.size(); ++s) {
        if (s >= step)
            covering[s] += covering[s - step];
        if (covering[s] > 0)
            runs[s + static_cast<std::size_t>(first - low)] = true;
    }
}

} // namespace

std::vector<int> runOffsets(const GtfsFeed& feed, int trip, const std::vector<TripRow>& rows) {
    const auto f = feed.frequencies.find(trip);
    if (f == feed.frequencies.end())
        return {0};
    const std::vector<GtfsFrequency>& frequencies = f->second; // by headway
    int low = frequencies.front().start, high = frequencies.front().end;
    for (const GtfsFrequency& frequency : frequencies) {
        low = std::min(low, frequency.start);
        high = std::max(high, frequency.end);
    }
    std::vector<bool> runs(static_cast<std::size_t>(high - low) + 1, false);
    for (Rows from = frequencies.begin(); from != frequencies.end();) {
        const Rows to = std::find_if(from, frequencies.end(), [&](const GtfsFrequency& row) {
            return row.headway != from->headway;
        });
        markRuns(from, to, low, runs);
        from = to;
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
