#include "track_assignment/assigner.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <set>

namespace zeb::placement {

Coverage coverage(const std::vector<Span>& spans) {
    std::vector<std::pair<int, int>> events; // minute, +1 or -1, on two days
    for (const Span& span : spans) {
        const int length = std::min(span.end - span.start, kMinutesPerDay);
        for (int day : {0, kMinutesPerDay}) {
            events.push_back({span.start + day, 1});
            events.push_back({span.start + length + day, -1});
        }
    }
    std::sort(events.begin(), events.end()); // ends before starts at one minute
    Coverage result;
    int least = static_cast<int>(spans.size()) + 1;
    int now = 0;
    for (std::size_t i = 0; i < events.size(); ++i) {
        now += events[i].second;
        const bool lastAtMinute = i + 1 == events.size() || events[i + 1].first != events[i].first;
        if (!lastAtMinute || events[i].first < kMinutesPerDay ||
            events[i].first >= 2 * kMinutesPerDay)
            continue;
        result.most = std::max(result.most, now);
        if (now < least) {
            least = now;
            result.quietest = events[i].first - kMinutesPerDay;
        }
    }
    return result;
}

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
    Score total{static_cast<long>(unplaced.size()), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    for (const auto& [train, track] : trackOf_) {
        const Tier tier = tierOf(train, track);
        const bool ruled = standing(train, track) != TrackStanding::Free;
        total[1] += tier == ForbiddenTier ? 1 : 0;
        // Trains placed anew leave the tracks they had only as a tie; others, before all else.
        total[placedAnew_ ? 8 : 2] += track != ownTrackOf(train) && ownTrackOf(train) >= 0;
        // Weighing the delays, which of its preferred tracks a train takes yields to them.
        const bool weighRisk = clashes_.has_value();
        total[weighRisk ? 5 : 3] +=
            ruled && standing(train, track) != TrackStanding::FirstPreferred ? 1 : 0;
        total[weighRisk ? 3 : 4] += ruled && standing(train, track) > TrackStanding::Preferred;
        const Fit fit = fitOn(train, track);
        total[weighRisk ? 4 : 5] += fit.risk;
        total[6] += fit.close;
        total[7] += fit.shortfall;
        total[9] += track;
    }
    return total;
}

bool Assigner::search(std::vector<int>& unplaced, double seconds, double shareBefore) {
    SearchProblem problem;
    problem.tracks = static_cast<int>(tracks_.size());
    problem.buffer = options_.buffer;
    problem.unplacedCost = 100'000'000;
    problem.closeCost = kCloseCost;
    if (clashes_ && weighInSearch_)
        problem.pairRisk = [this](int a, int b) { return riskCost(riskWith(a, b)); };
    for (int train : movable_)
        problem.items.push_back(searchItem(train));
    const std::vector<int> items = movable_;
    std::vector<int> from;
    for (int train : items) {
        const auto on = trackOf_.find(train);
        from.push_back(on == trackOf_.end() ? -1 : on->second);
    }
    // The progress over the whole time limit, of which this search has `seconds`.
    std::function<bool(double)> progress;
    if (options_.progress)
        progress = [&](double share) {
            return options_.progress(shareBefore + share * seconds / options_.timeLimit);
        };
    const auto found = searchTracks(problem, seconds, progress);
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
    SearchItem item{span, {}, -1, train};
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
        const bool weigh = clashes_ && weighInSearch_;
        long cost =
            (weigh && tier == PreferredTier ? kSecondPreferredCost : kTierCost[tier]) + track;
        if (hadTrack && track != ownTrackOf(train))
            cost += placedAnew_ ? kMovedAnewCost : 1'000'000;
        cost += (weigh ? riskCost(fixed.risk) : 0) + kCloseCost * fixed.close + fixed.shortfall;
        item.options.push_back({track, cost});
    }
    return item;
}

int Assigner::tracksFor(const std::vector<int>& trains) const {
    std::vector<std::vector<Span>> extra;
    for (int train : trains) {
        const Span span = spanOf(train);
        auto fits = [&](const std::vector<Span>& on) {
            return std::none_of(on.begin(), on.end(),
                                [&](const Span& other) { return clash(span, other); });
        };
        const auto it = std::find_if(extra.begin(), extra.end(), fits);
        if (it != extra.end())
            it->push_back(span);
        else
            extra.push_back({span});
    }
    return static_cast<int>(extra.size());
}

} // namespace zeb::placement
