#include "layout/occupancy_chart.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace zeb {

namespace {

// The minutes each bar of a row holds together with another: where two bars or more are held at
// once on the 24-hour circle, a bar across midnight taken as its evening and its morning.
void markOverlaps(std::vector<ChartBar>& bars, const std::vector<int>& row) {
    const auto pieces = [&](const Occupancy& o) {
        std::vector<std::pair<int, int>> out{{o.start, std::min(o.end, kMinutesPerDay)}};
        if (o.end > kMinutesPerDay)
            out.emplace_back(0, std::min(o.end - kMinutesPerDay, o.start));
        return out;
    };
    std::vector<std::pair<int, int>> events; // minute, +1 or -1; an end before a start
    for (int k : row) {
        for (const auto& [from, to] : pieces(bars[static_cast<std::size_t>(k)].occupancy)) {
            if (to > from) {
                events.emplace_back(from, 1);
                events.emplace_back(to, -1);
            }
        }
    }
    std::sort(events.begin(), events.end());
    std::vector<std::pair<int, int>> together;
    int held = 0;
    for (const auto& [minute, step] : events) {
        if (step < 0 && held == 2)
            together.back().second = minute;
        held += step;
        if (step > 0 && held == 2) {
            if (!together.empty() && together.back().second == minute)
                together.back().second = INT_MAX; // the span goes on
            else
                together.emplace_back(minute, INT_MAX);
        }
    }
    for (int k : row) {
        ChartBar& bar = bars[static_cast<std::size_t>(k)];
        for (const auto& [from, to] : pieces(bar.occupancy)) {
            // The morning of a bar across midnight is drawn past the midnight of its evening, so
            // that a bar's overlaps come in order.
            const int shift = from < bar.occupancy.start ? kMinutesPerDay : 0;
            auto span =
                std::lower_bound(together.begin(), together.end(), from,
                                 [](const auto& t, int minute) { return t.second <= minute; });
            for (; from < to && span != together.end() && span->first < to; ++span)
                bar.overlaps.emplace_back(std::max(span->first, from) + shift,
                                          std::min(span->second, to) + shift);
        }
    }
}

// Conflicts and overlaps on the rows of the station's own tracks, the first `trackRows`.
void markConflicts(std::vector<ChartBar>& bars, int trackRows, int separation) {
    std::vector<Occupancy> holding; // of the bars that hold their track
    std::vector<std::size_t> barOf;
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(trackRows));
    for (std::size_t k = 0; k < bars.size(); ++k) {
        if (bars[k].occupancy.cancelled)
            continue; // drawn, but holding nothing
        holding.push_back(bars[k].occupancy);
        barOf.push_back(k);
        rows[static_cast<std::size_t>(bars[k].row)].push_back(static_cast<int>(k));
    }
    for (const ConflictGroup& group : conflictGroups(holding, separation)) {
        for (int held : group.indices)
            bars[barOf[static_cast<std::size_t>(held)]].conflict = true;
    }
    for (const std::vector<int>& row : rows)
        markOverlaps(bars, row);
}

// The bars within the day: a hold across midnight gets a second bar for its morning, and each
// part the overlaps of its own hours.
void foldMidnight(std::vector<ChartBar>& bars) {
    const std::size_t count = bars.size();
    for (std::size_t k = 0; k < count; ++k) {
        ChartBar& evening = bars[k];
        evening.from = evening.occupancy.start;
        evening.to = std::min(evening.occupancy.end, kMinutesPerDay);
        if (evening.occupancy.end <= kMinutesPerDay)
            continue;
        ChartBar morning = evening;
        morning.from = 0;
        morning.to = std::min(evening.occupancy.end - kMinutesPerDay, evening.occupancy.start);
        morning.overlaps.clear();
        std::vector<std::pair<int, int>> before;
        for (const auto& [from, to] : evening.overlaps) {
            if (from < kMinutesPerDay)
                before.emplace_back(from, std::min(to, kMinutesPerDay));
            if (to > kMinutesPerDay)
                morning.overlaps.emplace_back(std::max(from, kMinutesPerDay) - kMinutesPerDay,
                                              to - kMinutesPerDay);
        }
        evening.overlaps = std::move(before);
        bars.push_back(std::move(morning));
    }
}

} // namespace

ChartContent chartContent(const Scenario& s, const CheckSettings& settings,
                          const TrainLinks& links) {
    ChartContent content;
    content.rows = stationTrackNames(s);

    std::vector<Occupancy> apart[2]; // without a track; on a track the station lacks
    for (Occupancy& o : trackOccupancies(s, settings, true, links)) {
        const auto track = std::find(content.rows.begin(), content.rows.end(), o.track);
        if (isCategoriaSenzaBinario(s.treni[o.train].categoria)) {
            apart[0].push_back(std::move(o));
        } else if (track == content.rows.end()) {
            apart[1].push_back(std::move(o));
        } else {
            content.bars.push_back({std::move(o), static_cast<int>(track - content.rows.begin())});
        }
    }
    markConflicts(content.bars, static_cast<int>(content.rows.size()), settings.separation);
    const char* apartRows[2] = {kRowWithoutTrack, kRowUnknownTrack};
    for (int a = 0; a < 2; ++a) {
        if (apart[a].empty())
            continue;
        content.rows.emplace_back(apartRows[a]);
        for (Occupancy& o : apart[a])
            content.bars.push_back({std::move(o), static_cast<int>(content.rows.size()) - 1});
    }

    foldMidnight(content.bars);
    layLanes(content, 0);

    content.startMinute = minuteOfDay(s.ora_inizio, s.min_inizio);
    int first = content.startMinute.value_or(kMinutesPerDay);
    int last = content.startMinute.value_or(0);
    for (const ChartBar& bar : content.bars) {
        first = std::min(first, bar.from);
        last = std::max(last, bar.to);
    }
    if (first >= last) { // nothing to show: the whole day
        first = 0;
        last = kMinutesPerDay;
    }
    content.firstMinute = first / 60 * 60;
    content.lastMinute = (last + 59) / 60 * 60;
    return content;
}

// Lanes: each bar takes the first lane of its row free at its start.
void layLanes(ChartContent& content, int reach) {
    layLanes(content, std::vector<int>(content.bars.size(), reach));
}

std::vector<int> numberReach(const Scenario& s, const ChartContent& content,
                             const std::function<double(const std::string&)>& width,
                             double pixelsPerMinute, int most) {
    std::vector<int> reach;
    reach.reserve(content.bars.size());
    for (const ChartBar& bar : content.bars) {
        const double number = width(occupancyLabel(s, bar.occupancy));
        const double onBar = (std::max(bar.to, bar.from + 1) - bar.from) * pixelsPerMinute;
        reach.push_back(
            number + 4 < onBar
                ? 0
                : std::min(most, static_cast<int>(std::ceil((number + 3) / pixelsPerMinute))));
    }
    return reach;
}

void layLanes(ChartContent& content, const std::vector<int>& reach) {
    content.lanes.assign(content.rows.size(), 1);
    std::vector<std::size_t> order(content.bars.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = k;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return content.bars[a].from < content.bars[b].from;
    });
    std::vector<std::vector<int>> laneEnds(content.rows.size());
    for (std::size_t k : order) {
        ChartBar& bar = content.bars[k];
        auto& ends = laneEnds[static_cast<std::size_t>(bar.row)];
        const auto free =
            std::find_if(ends.begin(), ends.end(), [&](int end) { return end < bar.from; });
        bar.lane = static_cast<int>(free - ends.begin());
        bar.reach = reach[k];
        const int end = std::max(bar.to, bar.from + 1) + bar.reach;
        if (free == ends.end())
            ends.push_back(end);
        else
            *free = end;
        content.lanes[static_cast<std::size_t>(bar.row)] = static_cast<int>(ends.size());
    }
}

double ChartMapping::rowOffset(int row) const {
    if (rowOffsets.empty())
        return row * rowHeight;
    return rowOffsets[static_cast<std::size_t>(
        std::clamp(row, 0, static_cast<int>(rowOffsets.size()) - 1))];
}

int ChartMapping::rowAt(double py) const {
    if (py < axisHeight)
        return -1;
    const double offset = py - axisHeight + scrollY;
    if (rowOffsets.empty())
        return static_cast<int>(std::floor(offset / rowHeight));
    return static_cast<int>(std::upper_bound(rowOffsets.begin(), rowOffsets.end(), offset) -
                            rowOffsets.begin()) -
           1;
}

void fitRowsToLanes(ChartMapping& mapping, const ChartContent& content, double laneHeight,
                    double least) {
    mapping.rowOffsets.assign(1, 0.0);
    for (int lanes : content.lanes)
        mapping.rowOffsets.push_back(mapping.rowOffsets.back() +
                                     std::max(least, lanes * laneHeight));
}

int axisStep(double pixelsPerMinute, double labelRoom) {
    for (int step : {15, 30, 60, 120, 180, 240, 360}) {
        if (step * pixelsPerMinute >= labelRoom)
            return step;
    }
    return 720;
}

int busiestWindow(const ChartContent& content, int minutes) {
    std::vector<int> starts;
    std::vector<int> ends;
    for (const ChartBar& bar : content.bars) {
        starts.push_back(bar.from);
        ends.push_back(std::max(bar.to, bar.from + 1));
    }
    std::sort(starts.begin(), starts.end());
    std::sort(ends.begin(), ends.end());
    int best = content.firstMinute;
    long most = -1;
    for (int first = content.firstMinute;
         first == content.firstMinute || first + minutes <= content.lastMinute; first += 15) {
        // Bars starting before the window's end, less those over before it begins.
        const long reach = std::lower_bound(starts.begin(), starts.end(), first + minutes) -
                           starts.begin() -
                           (std::upper_bound(ends.begin(), ends.end(), first) - ends.begin());
        if (reach > most) {
            most = reach;
            best = first;
        }
    }
    return best;
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
    const double row = mapping.heightOf(bar.row);
    const double margin = std::min(3.0, row / 8);
    const double height = (row - 2 * margin) / lanes;
    const double left = mapping.x(bar.from);
    // A bar of no length is still drawn 3 pixels wide, so that it can be seen and pointed at.
    return {left, mapping.rowTop(bar.row) + margin + bar.lane * height,
            std::max(3.0, mapping.x(bar.to) - left), height};
}

std::vector<ChartPage> chartPages(const ChartContent& content, int hours) {
    const int span = std::max(1, hours) * 60;
    std::vector<ChartPage> pages;
    for (int first = content.firstMinute; first < content.lastMinute || pages.empty();
         first += span)
        pages.push_back({first, std::min(first + span, content.lastMinute)});
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
