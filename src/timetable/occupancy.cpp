#include "timetable/occupancy.h"

#include "model/track_slots.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <climits>
#include <set>

namespace zeb {

std::string occupancyLabel(const Scenario& s, const Occupancy& o) {
    return o.leaving < 0 ? s.treni[o.train].numero : unitLabel(s, {o.train, o.leaving});
}

std::vector<Occupancy> trackOccupancies(const Scenario& s, const CheckSettings& settings,
                                        bool everyTrain, const TrainLinks& links) {
    // The units that hold: the second train of each is in the first's occupancy.
    std::vector<int> leavingOf(static_cast<std::size_t>(s.totale_treni), -1);
    std::vector<bool> inUnit(static_cast<std::size_t>(s.totale_treni), false);
    for (const TrainLink& link : links) {
        if (linkState(s, link, settings) != LinkState::Holds ||
            inUnit[static_cast<std::size_t>(link.arriving)] ||
            inUnit[static_cast<std::size_t>(link.leaving)])
            continue;
        leavingOf[static_cast<std::size_t>(link.arriving)] = link.leaving;
        inUnit[static_cast<std::size_t>(link.arriving)] = true;
        inUnit[static_cast<std::size_t>(link.leaving)] = true;
    }
    std::vector<Occupancy> out;
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        if (!holdsATrack(t) && !everyTrain)
            continue;
        if (const int leaving = leavingOf[static_cast<std::size_t>(i)]; leaving >= 0) {
            const int start = *arrivalMinute(t);
            out.push_back({i, t.binario, start, start + *standingMinutes(s, {i, leaving}),
                           OccupancyKind::Turnaround, false, leaving});
            continue;
        }
        if (inUnit[static_cast<std::size_t>(i)])
            continue; // the second train of a unit
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
        out.push_back({i, t.binario, start, end, kind, isCancelled(t)});
    }
    return out;
}

std::vector<Occupancy> stationTrackOccupancies(const Scenario& s, const CheckSettings& settings,
                                               const TrainLinks& links) {
    std::vector<Occupancy> occupancies = trackOccupancies(s, settings, false, links);
    std::erase_if(occupancies, [&](const Occupancy& o) { return !hasStationTrack(s, o.track); });
    return occupancies;
}

bool tooClose(int startA, int endA, int startB, int endB, int separation) {
    for (int shift : {-kMinutesPerDay, 0, kMinutesPerDay}) {
        if (startA < endB + shift + separation && startB + shift < endA + separation)
            return true;
    }
    return false;
}

namespace {

// The groups of one track's occupancies, `sorted` by start: from a cut where nothing is held
// (the first start that no earlier occupancy, nor one running past midnight, reaches), a new
// group begins wherever a start is past every end so far plus the separation.
void groupTrack(const std::vector<Occupancy>& all, const std::vector<int>& sorted, int separation,
                std::vector<ConflictGroup>& groups) {
    const std::size_t n = sorted.size();
    auto at = [&](std::size_t k) -> const Occupancy& {
        return all[static_cast<std::size_t>(sorted[k])];
    };
    int reach = INT_MIN;
    for (std::size_t k = 0; k < n; ++k)
        reach = std::max(reach, at(k).end + separation - kMinutesPerDay);
    std::size_t cut = n;
    for (std::size_t k = 0; k < n; ++k) {
        if (at(k).start >= reach) {
            cut = k;
            break;
        }
        reach = std::max(reach, at(k).end + separation);
    }
    ConflictGroup group;
    int groupReach = INT_MIN;
    auto close = [&] {
        if (group.held.size() >= 2)
            groups.push_back(std::move(group));
        group = {};
    };
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t from = cut == n ? k : (cut + k) % n; // the whole circle held: one group
        Occupancy o = at(from);
        if (cut != n && cut + k >= n) {
            o.start += kMinutesPerDay;
            o.end += kMinutesPerDay;
        }
        if (cut != n && !group.held.empty() && o.start >= groupReach)
            close();
        groupReach =
            group.held.empty() ? o.end + separation : std::max(groupReach, o.end + separation);
        group.held.push_back(o);
        group.indices.push_back(sorted[from]);
    }
    close();
}

} // namespace

std::vector<ConflictGroup> conflictGroups(const std::vector<Occupancy>& occupancies,
                                          int separation) {
    std::vector<int> order(occupancies.size());
    for (std::size_t k = 0; k < order.size(); ++k)
        order[k] = static_cast<int>(k);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const Occupancy& x = occupancies[static_cast<std::size_t>(a)];
        const Occupancy& y = occupancies[static_cast<std::size_t>(b)];
        return x.track != y.track ? x.track < y.track : x.start < y.start;
    });
    std::vector<ConflictGroup> groups;
    for (std::size_t first = 0; first < order.size();) {
        std::size_t last = first;
        const std::string& track = occupancies[static_cast<std::size_t>(order[first])].track;
        while (last < order.size() &&
               occupancies[static_cast<std::size_t>(order[last])].track == track)
            ++last;
        groupTrack(
            occupancies,
            {order.begin() + static_cast<long>(first), order.begin() + static_cast<long>(last)},
            separation, groups);
        first = last;
    }
    return groups;
}

std::vector<Conflict> trackConflicts(const std::vector<Occupancy>& occupancies, int separation) {
    // Each occupancy is compared with those that start before it ends plus the separation,
    // among all of them and their copies a day later.
    struct Entry {
        int occupancy;
        int start;
        int end;
    };
    std::vector<Entry> line;
    line.reserve(occupancies.size() * 2);
    for (int day : {0, kMinutesPerDay}) {
        for (std::size_t k = 0; k < occupancies.size(); ++k)
            line.push_back(
                {static_cast<int>(k), occupancies[k].start + day, occupancies[k].end + day});
    }
    std::stable_sort(line.begin(), line.end(), [&](const Entry& a, const Entry& b) {
        const auto& ta = occupancies[static_cast<std::size_t>(a.occupancy)].track;
        const auto& tb = occupancies[static_cast<std::size_t>(b.occupancy)].track;
        return ta != tb ? ta < tb : a.start < b.start;
    });
    std::vector<Conflict> conflicts;
    std::set<std::pair<int, int>> reported;
    for (std::size_t a = 0; a < line.size(); ++a) {
        if (line[a].start >= kMinutesPerDay)
            continue;
        const Occupancy& first = occupancies[static_cast<std::size_t>(line[a].occupancy)];
        for (std::size_t b = a + 1; b < line.size() && line[b].start < line[a].end + separation;
             ++b) {
            const Occupancy& second = occupancies[static_cast<std::size_t>(line[b].occupancy)];
            if (second.track != first.track)
                break;
            if (second.train == first.train)
                continue;
            if (reported.insert(std::minmax(first.train, second.train)).second)
                conflicts.push_back({line[a].occupancy, line[b].occupancy, line[b].start,
                                     line[a].end, std::min(line[a].end, line[b].end)});
        }
    }
    return conflicts;
}

} // namespace zeb
