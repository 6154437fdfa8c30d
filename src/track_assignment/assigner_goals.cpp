#include "track_assignment/assigner.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <set>

namespace zeb::placement {

Stretch busiestStretch(const std::vector<Span>& spans) {
    std::array<int, kMinutesPerDay + 1> change{};
    for (const Span& span : spans) {
        const int length = std::min(span.end - span.start, kMinutesPerDay);
        const int end = span.start + length;
        ++change[static_cast<std::size_t>(span.start)];
        --change[static_cast<std::size_t>(std::min(end, kMinutesPerDay))];
        if (end > kMinutesPerDay) { // across midnight: its morning too
            ++change[0];
            --change[static_cast<std::size_t>(end - kMinutesPerDay)];
        }
    }
    std::array<int, kMinutesPerDay> meeting{};
    for (int m = 0, now = 0; m < kMinutesPerDay; ++m)
        meeting[static_cast<std::size_t>(m)] = now += change[static_cast<std::size_t>(m)];
    Stretch stretch;
    for (int m = 0; m < kMinutesPerDay; ++m) {
        if (meeting[static_cast<std::size_t>(m)] > stretch.most) {
            stretch.most = meeting[static_cast<std::size_t>(m)];
            stretch.from = m;
        }
    }
    stretch.to = stretch.from;
    for (int k = 1; k <= kMinutesPerDay; ++k) {
        stretch.to = minuteOnClock(stretch.from + k);
        if (meeting[static_cast<std::size_t>(stretch.to)] < stretch.most)
            break;
    }
    return stretch;
}

std::vector<RuleShortfall> Assigner::shortfalls(const std::vector<int>& left) const {
    std::set<int> rules;
    for (int train : left) {
        if (const int rule = ruleOfUnit(train); rule >= 0)
            rules.insert(rule);
    }
    std::vector<RuleShortfall> out;
    for (const int rule : rules) {
        std::vector<Span> spans;
        for (const auto& [train, o] : occupancy_) {
            if (ruleOfUnit(train) == rule)
                spans.push_back(spanOf(train));
        }
        int tracks = 0;
        for (std::size_t t = 0; t < tracks_.size(); ++t)
            tracks += allowed_[t] && trackStanding(options_.rules[static_cast<std::size_t>(rule)],
                                                   tracks_[t]) != TrackStanding::Forbidden;
        if (const auto excess = busiestStretch(spans); excess.most > tracks)
            out.push_back({rule, excess.most - tracks, excess.from, excess.to});
    }
    return out;
}

int Assigner::ruleOfUnit(int train) const {
    for (int member : {train, occupancy_.at(train).leaving}) {
        const int rule = member < 0 ? -1 : ruleOf_[static_cast<std::size_t>(member)];
        if (rule >= 0)
            return rule;
    }
    return -1;
}

Score Assigner::score(const std::vector<int>& unplaced) const {
    Score total{static_cast<long>(unplaced.size()), 0, 0, 0, 0, 0, 0, 0, 0};
    for (const auto& [train, track] : trackOf_) {
        const Tier tier = tierOf(train, track);
        const bool ruled = standing(train, track) != TrackStanding::Free;
        total[1] += tier == ForbiddenTier ? 1 : 0;
        // Trains placed anew leave the tracks they had only as a tie; others, before all else.
        total[placedAnew_ ? 7 : 2] += track != ownTrackOf(train) && ownTrackOf(train) >= 0;
        total[3] += ruled && standing(train, track) != TrackStanding::FirstPreferred ? 1 : 0;
        total[4] += ruled && standing(train, track) > TrackStanding::Preferred ? 1 : 0;
        const Fit fit = fitOn(train, track);
        total[5] += fit.close;
        total[6] += fit.shortfall;
        total[8] += track;
    }
    return total;
}

bool Assigner::search(std::vector<int>& unplaced) {
    SearchProblem problem;
    problem.tracks = static_cast<int>(tracks_.size());
    problem.buffer = options_.buffer;
    problem.unplacedCost = 100'000'000;
    problem.closeCost = kCloseCost;
    for (int train : movable_)
        problem.items.push_back(searchItem(train));
    const std::vector<int> items = movable_;
    std::vector<int> from;
    for (int train : items) {
        const auto on = trackOf_.find(train);
        from.push_back(on == trackOf_.end() ? -1 : on->second);
    }
    const auto found = searchTracks(problem, options_.timeLimit, options_.progress);
    if (!found)
        return false;
    const Score before = score(unplaced);
    const auto snapshot = placement();
    for (std::size_t i = 0; i < items.size(); ++i)
        if (from[i] >= 0)
            take(items[i], from[i]);
    std::vector<int> left;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const int track = (*found)[i];
        if (track >= 0 && fitOn(items[i], track).free)
            put(items[i], track, true);
        else
            left.push_back(items[i]);
    }
    left = placeAll(left, true);
    if (score(left) < before) {
        unplaced = left;
        return true;
    }
    restore(snapshot);
    return false;
}

SearchItem Assigner::searchItem(int train) const {
    const Span span = spanOf(train);
    SearchItem item{span, {}, -1};
    const auto on = trackOf_.find(train);
    item.seed = on == trackOf_.end() ? -1 : on->second;
    const bool hadTrack = ownTrackOf(train) >= 0;
    for (int track = 0; track < static_cast<int>(tracks_.size()); ++track) {
        const Tier tier = tierOf(train, track);
        if (!mayUse(train, track) || tier == ForbiddenTier)
            continue;
        // A chosen train is placed by the search; the others stand where they are.
        const Fit fixed =
            fitAmong(train, track, [this](int other) { return !trackOf_.contains(other); });
        if (!fixed.free)
            continue;
        long cost = kTierCost[tier] + track;
        if (hadTrack && track != ownTrackOf(train))
            cost += placedAnew_ ? kMovedAnewCost : 1'000'000;
        cost += kCloseCost * fixed.close + fixed.shortfall;
        item.options.push_back({track, cost});
    }
    return item;
}

} // namespace zeb::placement
