#include "timetable/occupancy_chart.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <cmath>

namespace zeb {

ChartContent chartContent(const Scenario& s, const CheckSettings& settings) {
    ChartContent content;
    content.rows = stationTrackNames(s);

    std::vector<Occupancy> onTracks; // bar k is onTracks[k], in its track's row
    std::vector<Occupancy> apart[2]; // without a track; on a track the station lacks
    for (Occupancy& o : trackOccupancies(s, settings, true)) {
        const auto track = std::find(content.rows.begin(), content.rows.end(), o.track);
        if (isCategoriaSenzaBinario(s.treni[o.train].categoria)) {
            apart[0].push_back(std::move(o));
        } else if (track == content.rows.end()) {
            apart[1].push_back(std::move(o));
        } else {
            content.bars.push_back({o, static_cast<int>(track - content.rows.begin())});
            onTracks.push_back(std::move(o));
        }
    }
    for (const Conflict& c : trackConflicts(onTracks, settings.separation)) {
        for (int k : {c.first, c.second}) {
            ChartBar& bar = content.bars[static_cast<std::size_t>(k)];
            bar.conflict = true;
            if (c.secondStart < c.overlapEnd) {
                // The overlap in the bar's own day: the second bar may be the next day's copy.
                const int shift = k == c.second && c.secondStart >= kMinutesPerDay &&
                                          bar.occupancy.start < kMinutesPerDay
                                      ? kMinutesPerDay
                                      : 0;
                bar.overlaps.emplace_back(c.secondStart - shift, c.overlapEnd - shift);
            }
        }
    }
    const char* apartRows[2] = {kRowWithoutTrack, kRowUnknownTrack};
    for (int a = 0; a < 2; ++a) {
        if (apart[a].empty())
            continue;
        content.rows.emplace_back(apartRows[a]);
        for (Occupancy& o : apart[a])
            content.bars.push_back({std::move(o), static_cast<int>(content.rows.size()) - 1});
    }

    // Lanes: each bar takes the first lane of its row free at its start.
    content.lanes.assign(content.rows.size(), 1);
    std::vector<std::size_t> order(content.bars.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return content.bars[a].occupancy.start < content.bars[b].occupancy.start;
    });
    std::vector<std::vector<int>> laneEnds(content.rows.size());
    for (std::size_t k : order) {
        ChartBar& bar = content.bars[k];
        auto& ends = laneEnds[static_cast<std::size_t>(bar.row)];
        const auto free = std::find_if(ends.begin(), ends.end(),
                                       [&](int end) { return end < bar.occupancy.start; });
        bar.lane = static_cast<int>(free - ends.begin());
        const int end = std::max(bar.occupancy.end, bar.occupancy.start + 1);
        if (free == ends.end())
            ends.push_back(end);
        else
            *free = end;
        content.lanes[static_cast<std::size_t>(bar.row)] = static_cast<int>(ends.size());
    }

    content.startMinute = minuteOfDay(s.ora_inizio, s.min_inizio);
    int first = content.startMinute.value_or(kMinutesPerDay);
    int last = content.startMinute.value_or(0);
    for (const ChartBar& bar : content.bars) {
        first = std::min(first, bar.occupancy.start);
        last = std::max(last, bar.occupancy.end);
    }
    if (first >= last) { // nothing to show: the whole day
        first = 0;
        last = kMinutesPerDay;
    }
    content.firstMinute = first / 60 * 60;
    content.lastMinute = (last + 59) / 60 * 60;
    return content;
}

int ChartMapping::rowAt(double py) const {
    if (py < axisHeight)
        return -1;
    return static_cast<int>(std::floor((py - axisHeight) / rowHeight));
}

ChartMapping mappingFor(const ChartContent& content, double pixelsPerMinute) {
    ChartMapping mapping;
    mapping.firstMinute = content.firstMinute;
    mapping.lastMinute = content.lastMinute;
    mapping.pixelsPerMinute = pixelsPerMinute;
    return mapping;
}

BarBox barBox(const ChartContent& content, const ChartMapping& mapping, const ChartBar& bar) {
    const double lanes = content.lanes[static_cast<std::size_t>(bar.row)];
    const double height = (mapping.rowHeight - 6) / lanes;
    const double left = mapping.x(bar.occupancy.start);
    // A bar of no length is still drawn 3 pixels wide, so that it can be seen and pointed at.
    return {left, mapping.rowTop(bar.row) + 3 + bar.lane * height,
            std::max(3.0, mapping.x(bar.occupancy.end) - left), height};
}

std::vector<ChartPage> chartPages(const ChartContent& content, int hours) {
    const int span = std::max(1, hours) * 60;
    std::vector<ChartPage> pages;
    for (int first = content.firstMinute; first < content.lastMinute || pages.empty();
         first += span)
        pages.push_back({first, first + span});
    return pages;
}

std::optional<int> barAt(const ChartContent& content, const ChartMapping& mapping, double px,
                         double py) {
    for (int k = static_cast<int>(content.bars.size()) - 1; k >= 0; --k) {
        const BarBox box = barBox(content, mapping, content.bars[static_cast<std::size_t>(k)]);
        if (px >= box.left && px <= box.left + box.width && py >= box.top &&
            py <= box.top + box.height)
            return k;
    }
    return std::nullopt;
}

} // namespace zeb
