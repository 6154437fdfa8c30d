#include "track_assignment/track_assignment.h"

#include "model/counted.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"
#include "track_assignment/exact_search.h"
#include "track_assignment/spans.h"
#include "track_rules/rule_matching.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <set>
#include <tuple>

namespace zeb {

namespace {

// The most spans that meet at one moment of the circle, and a moment where the fewest meet.
struct Coverage {
    int most = 0;
    int quietest = 0; // a moment where the fewest spans meet
};
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

// The most spans that meet at one minute of the circle, and the first stretch of minutes where
// that many meet.
struct Stretch {
    int most = 0;
    int from = 0;
    int to = 0;
};
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
        stretch.to = (stretch.from + k) % kMinutesPerDay;
        if (meeting[static_cast<std::size_t>(stretch.to)] < stretch.most)
            break;
    }
    return stretch;
}

std::string lineOf(const Treno& t) {
    return t.provenienza + "\n" + t.destinazione;
}

// Where a track stands for a train, best first: the track it has, its rule's first preferred, the
// other preferred, a track its line uses (no rule), any track (no rule), one allowed when the
// preferred are full, one its rule forbids (only rather than a conflict).
enum Tier {
    Own,
    FirstPreferredTier,
    PreferredTier,
    LineTier,
    AnyTier,
    OverflowTier,
    ForbiddenTier
};

// How a train fits on a track: free of clashes, and how many of the track's trains would stand
// closer to it than the buffer, the closest how close.
struct Fit {
    bool free = true;
    int close = 0;
    int shortfall = 0; // minutes under the buffer, added up
};

// The goals of an assignment in their order, for the chosen trains: lower is better.
using Score = std::array<long, 8>;

class Assigner {
public:
    Assigner(const Scenario& s, const AssignmentOptions& options)
        : s_(s), options_(options), tracks_(stationTrackNames(s)), placed_(tracks_.size()),
          ruleOf_(rulesOfTrains(s, options.rules)) {
        for (const std::string& name : tracks_)
            allowed_.push_back(options.allowedTracks.empty() ||
                               std::find(options.allowedTracks.begin(), options.allowedTracks.end(),
                                         name) != options.allowedTracks.end());
        const bool numbered = std::any_of(tracks_.begin(), tracks_.end(), [](const auto& name) {
            return slotOfTrackName(name).value_or(kMaxChosenTracks) < kMaxChosenTracks;
        });
        stubsForEnds_ = options.stubsForEnds && numbered;
        for (const std::string& name : tracks_)
            stub_.push_back(slotOfTrackName(name).value_or(0) >= kMaxChosenTracks);
        for (int i = 0; i < s.totale_treni; ++i)
            ownTrack_.push_back(trackIndex(s.treni[i].binario));
        for (const Occupancy& o : trackOccupancies(s, options.settings, false, options.links)) {
            occupancy_[o.train] = o;
        }
        // Spans, kinds and lines by table position, for the many look-ups of the passes.
        spans_.resize(static_cast<std::size_t>(s.totale_treni));
        passing_.resize(static_cast<std::size_t>(s.totale_treni));
        lineOfTrain_.resize(static_cast<std::size_t>(s.totale_treni));
        std::map<std::string, int> lines;
        for (const auto& [train, o] : occupancy_) {
            spans_[static_cast<std::size_t>(train)] = {o.start,
                                                       o.end + options.settings.separation};
            passing_[static_cast<std::size_t>(train)] = o.kind == OccupancyKind::Passing;
            lineOfTrain_[static_cast<std::size_t>(train)] =
                lines
                    .try_emplace(lineOf(s.treni[static_cast<std::size_t>(train)]),
                                 static_cast<int>(lines.size()))
                    .first->second;
        }
        lineTracks_.assign(lines.size(), std::vector<int>(tracks_.size(), 0));
    }

    Assignment run() {
        Assignment result;
        result.conflictsBefore = stationConflicts(s_, options_.settings, options_.links);
        movable_ = movableTrains();
        std::vector<Span> all;
        for (const auto& [train, o] : occupancy_) {
            const bool moves = std::binary_search(movable_.begin(), movable_.end(), train);
            const int track = ownTrackOf(train);
            if (moves || track >= 0)
                all.push_back(spanOf(train));
            if (!moves && track >= 0)
                put(train, track, false);
        }
        const Coverage cover = coverage(all);
        result.lowerBound = cover.most;

        // Within the rules first; what does not fit there is said, then put on any free track
        // rather than left in conflict.
        const auto empty = std::tuple(placed_, trackOf_, lineTracks_);
        const std::vector<int> order = byStart(movable_, cover.quietest);
        std::vector<int> left = placeAll(order, false);
        result.shortfalls = shortfalls(left);
        result.unplaced = placeAll(left, true);
        if (!result.unplaced.empty() && !options_.rules.empty())
            placeByTimeWhereFewerAreLeft(order, empty, result.unplaced);
        if (options_.timeLimit > 0 && !movable_.empty()) {
            // Every goal but the tie of track numbers met already: nothing to look for.
            const Score first = score(result.unplaced);
            result.searchNeedless =
                std::all_of(first.begin(), first.end() - 1, [](long goal) { return goal == 0; });
            result.searched = !result.searchNeedless;
            if (result.searched)
                result.improved = search(result.unplaced);
        }
        std::sort(result.unplaced.begin(), result.unplaced.end());
        result.moreTracks = tracksFor(result.unplaced);
        result.changes = changes();
        Scenario after = s_;
        applyAssignment(after, result);
        result.conflictsAfter = stationConflicts(after, options_.settings, options_.links);
        return result;
    }

private:
    // From the quietest moment round the day by start, those across it first: a greedy pass by
    // start is optimal for intervals on a line, and the cut makes the circle nearly one.
    std::vector<int> byStart(std::vector<int> order, int quietest) const {
        auto key = [&](int train) {
            const Span span = spanOf(train);
            const int from = (span.start - quietest + kMinutesPerDay) % kMinutesPerDay;
            const bool across = from + (span.end - span.start) > kMinutesPerDay;
            return across ? from - kMinutesPerDay : from;
        };
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
        return order;
    }

    // The trains deferred to the second pass may find their time taken by later trains: where
    // placing every train by its time, on a forbidden track rather than none, leaves fewer
    // without a track, that goes first, the rules after.
    void
    placeByTimeWhereFewerAreLeft(const std::vector<int>& order,
                                 const std::tuple<std::vector<std::vector<int>>, std::map<int, int>,
                                                  std::vector<std::vector<int>>>& empty,
                                 std::vector<int>& unplaced) {
        const Score withinRulesFirst = score(unplaced);
        const auto ruled = std::tuple(placed_, trackOf_, lineTracks_);
        std::tie(placed_, trackOf_, lineTracks_) = empty;
        std::vector<int> left = placeAll(order, true);
        if (score(left) < withinRulesFirst)
            unplaced = std::move(left);
        else
            std::tie(placed_, trackOf_, lineTracks_) = ruled;
    }

    // Places the trains in order on their best free track; a train that fits nowhere takes a
    // track whose one blocking train can move to another. Returns those left without.
    std::vector<int> placeAll(const std::vector<int>& order, bool forbiddenToo) {
        std::vector<int> unplaced;
        for (int train : order) {
            if (const auto track = bestTrack(train, -1, forbiddenToo))
                put(train, *track, true);
            else
                unplaced.push_back(train);
        }
        std::vector<int> left;
        for (int train : unplaced) {
            if (!placeByMovingOne(train, forbiddenToo))
                left.push_back(train);
        }
        return left;
    }

    std::vector<TrackChange> changes() const {
        std::vector<TrackChange> out;
        for (const auto& [train, track] : trackOf_) {
            const int leaving = occupancy_.at(train).leaving;
            for (int moved : {train, leaving}) {
                if (moved < 0)
                    continue;
                const std::string& from = s_.treni[static_cast<std::size_t>(moved)].binario;
                if (tracks_[static_cast<std::size_t>(track)] != from)
                    out.push_back({moved, trackIndex(from) >= 0 ? from : std::string(),
                                   tracks_[static_cast<std::size_t>(track)]});
            }
        }
        std::sort(out.begin(), out.end(),
                  [](const TrackChange& a, const TrackChange& b) { return a.train < b.train; });
        return out;
    }

public:
    // The trains the options let it move, a unit by its first: in table order.
    std::vector<int> chosenTrains() const { return movableTrains(); }

private:
    std::vector<int> movableTrains() const {
        std::vector<int> chosen;
        const auto conflicting = conflictingTrains();
        for (const auto& [train, o] : occupancy_) {
            const Treno& t = s_.treni[static_cast<std::size_t>(train)];
            bool take = !options_.keepAssigned;
            switch (options_.which) {
            case TrainsToAssign::WithoutTrack:
                take = take || trackIndex(t.binario) < 0;
                break;
            case TrainsToAssign::InConflict:
                take = take || std::binary_search(conflicting.begin(), conflicting.end(), train);
                break;
            case TrainsToAssign::Selected:
                take = take || std::any_of(options_.selected.begin(), options_.selected.end(),
                                           [&](int chosen) {
                                               return chosen == train || chosen == o.leaving;
                                           });
                break;
            case TrainsToAssign::All:
                take = true;
                break;
            }
            if (take)
                chosen.push_back(train);
        }
        return chosen; // in table order, as the map keeps them
    }

    std::vector<int> conflictingTrains() const {
        const std::vector<Occupancy> onTracks =
            stationTrackOccupancies(s_, options_.settings, options_.links);
        std::vector<int> trains;
        for (const ConflictGroup& group : conflictGroups(onTracks, options_.settings.separation)) {
            for (const Occupancy& o : group.held)
                trains.push_back(o.train);
        }
        std::sort(trains.begin(), trains.end());
        return trains;
    }

    int trackIndex(const std::string& name) const {
        const auto it = std::find(tracks_.begin(), tracks_.end(), name);
        return it == tracks_.end() ? -1 : static_cast<int>(it - tracks_.begin());
    }

    std::size_t lineOfTrainAt(int train) const {
        return static_cast<std::size_t>(lineOfTrain_[static_cast<std::size_t>(train)]);
    }

    const Span& spanOf(int train) const { return spans_[static_cast<std::size_t>(train)]; }
    // The station's track a train has, as an index of tracks_; -1 for none.
    int ownTrackOf(int train) const { return ownTrack_[static_cast<std::size_t>(train)]; }

    bool mayUse(int train, int track) const {
        const auto at = static_cast<std::size_t>(track);
        return allowed_[at] &&
               !(stub_[at] && stubsForEnds_ && passing_[static_cast<std::size_t>(train)]);
    }

    // How the rules of a train (both trains of a unit) see a track: the worse of the two.
    TrackStanding standing(int train, int track) const {
        TrackStanding worst = TrackStanding::Free;
        if (options_.rules.empty())
            return worst;
        for (int member : {train, occupancy_.at(train).leaving}) {
            const int rule = member < 0 ? -1 : ruleOf_[static_cast<std::size_t>(member)];
            if (rule < 0)
                continue;
            const TrackStanding own = trackStanding(options_.rules[static_cast<std::size_t>(rule)],
                                                    tracks_[static_cast<std::size_t>(track)]);
            worst = worst == TrackStanding::Free ? own : std::max(worst, own);
        }
        return worst;
    }

    Tier tierOf(int train, int track) const {
        const TrackStanding rule = standing(train, track);
        if (rule == TrackStanding::Forbidden)
            return ForbiddenTier;
        if (track == ownTrackOf(train))
            return Own;
        switch (rule) {
        case TrackStanding::FirstPreferred:
            return FirstPreferredTier;
        case TrackStanding::Preferred:
            return PreferredTier;
        case TrackStanding::Allowed:
            return OverflowTier;
        default:
            break;
        }
        return options_.sameLine &&
                       lineTracks_[lineOfTrainAt(train)][static_cast<std::size_t>(track)] > 0
                   ? LineTier
                   : AnyTier;
    }

    // Whether `train` fits on `track` and how close it would stand to the trains there.
    Fit fitOn(int train, int track) const {
        return fitAmong(train, track, [train](int other) { return other != train; });
    }

    // The same among the trains on `track` that `counts` takes.
    template <typename Counts> Fit fitAmong(int train, int track, Counts counts) const {
        Fit fit;
        const Span span = spanOf(train);
        for (int other : placed_[static_cast<std::size_t>(track)]) {
            if (!counts(other))
                continue;
            const Span& on = spanOf(other);
            if (clash(span, on))
                return {false, 0, 0};
            if (options_.buffer <= 0)
                continue;
            const int gap = gapAround(span, on);
            if (gap < options_.buffer) {
                ++fit.close;
                fit.shortfall += options_.buffer - gap;
            }
        }
        return fit;
    }

    // The tracks to try for a train in the order that breaks ties: the one it has, those of its
    // line (the most used first), then the station's order.
    std::vector<int> preferences(int train) const {
        std::vector<int> order;
        const int own = ownTrackOf(train);
        if (own >= 0)
            order.push_back(own);
        if (options_.sameLine) {
            const std::vector<int>& line = lineTracks_[lineOfTrainAt(train)];
            std::vector<std::pair<int, int>> used; // -count, track
            for (std::size_t track = 0; track < line.size(); ++track) {
                if (line[track] > 0)
                    used.push_back({-line[track], static_cast<int>(track)});
            }
            std::sort(used.begin(), used.end());
            for (const auto& [count, track] : used)
                order.push_back(track);
        }
        for (int track = 0; track < static_cast<int>(tracks_.size()); ++track)
            order.push_back(track);
        return order;
    }

    // The best free track for a train: the best tier, then the fewest trains closer than the
    // buffer and the least under it, then the order of preferences().
    std::optional<int> bestTrack(int train, int except, bool forbiddenToo) const {
        // The candidates by tier, then preference: the first free one without a close neighbour
        // is the best, and a worse tier never beats a free track of a better one.
        std::vector<std::array<int, 3>> candidates; // tier, place in the preferences, track
        std::vector<bool> seen(tracks_.size(), false);
        const std::vector<int> order = preferences(train);
        for (std::size_t at = 0; at < order.size(); ++at) {
            const int track = order[at];
            if (seen[static_cast<std::size_t>(track)] || track == except || !mayUse(train, track))
                continue;
            seen[static_cast<std::size_t>(track)] = true;
            const Tier tier = tierOf(train, track);
            if (tier != ForbiddenTier || forbiddenToo)
                candidates.push_back({tier, static_cast<int>(at), track});
        }
        std::sort(candidates.begin(), candidates.end());
        std::optional<int> best;
        std::array<int, 4> bestKey{};
        for (const auto& [tier, at, track] : candidates) {
            if (best && tier > bestKey[0])
                break;
            const Fit fit = fitOn(train, track);
            const std::array<int, 4> key{tier, fit.close, fit.shortfall, at};
            if (fit.free && (!best || key < bestKey)) {
                best = track;
                bestKey = key;
            }
            if (fit.free && fit.close == 0)
                break;
        }
        return best;
    }

    // The trains on `track` that clash with `train`.
    std::vector<int> blockers(int train, int track) const {
        std::vector<int> out;
        const Span span = spanOf(train);
        for (int other : placed_[static_cast<std::size_t>(track)]) {
            if (other != train && clash(span, spanOf(other)))
                out.push_back(other);
        }
        return out;
    }

    void put(int train, int track, bool movable) {
        placed_[static_cast<std::size_t>(track)].push_back(train);
        if (movable)
            trackOf_[train] = track;
        ++lineTracks_[lineOfTrainAt(train)][static_cast<std::size_t>(track)];
    }

    void take(int train, int track) {
        auto& on = placed_[static_cast<std::size_t>(track)];
        on.erase(std::find(on.begin(), on.end(), train));
        trackOf_.erase(train);
        --lineTracks_[lineOfTrainAt(train)][static_cast<std::size_t>(track)];
    }

    // Places `train` on a track whose one blocking train (a movable one) fits elsewhere.
    bool placeByMovingOne(int train, bool forbiddenToo) {
        for (int track : preferences(train)) {
            if (!mayUse(train, track) || (!forbiddenToo && tierOf(train, track) == ForbiddenTier))
                continue;
            const std::vector<int> blocking = blockers(train, track);
            if (blocking.size() != 1 || !trackOf_.contains(blocking.front()))
                continue;
            const int other = blocking.front();
            take(other, track);
            put(train, track, true);
            if (const auto elsewhere = bestTrack(other, track, forbiddenToo)) {
                put(other, *elsewhere, true);
                return true;
            }
            take(train, track);
            put(other, track, true);
        }
        return false;
    }

    // Tracks a set of trains would need among themselves, by the same greedy pass.
    int tracksFor(const std::vector<int>& trains) const {
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

    // The rules among those of `left` whose trains cannot all fit on their tracks: the most of
    // them that meet at one moment (widened by the separation) past the tracks the rule may use,
    // and when that many meet first. Trains left because others took their tracks are no
    // shortfall of the rule's.
    std::vector<RuleShortfall> shortfalls(const std::vector<int>& left) const {
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
                tracks +=
                    allowed_[t] && trackStanding(options_.rules[static_cast<std::size_t>(rule)],
                                                 tracks_[t]) != TrackStanding::Forbidden;
            if (const auto excess = busiestStretch(spans); excess.most > tracks)
                out.push_back({rule, excess.most - tracks, excess.from, excess.to});
        }
        return out;
    }

    // The rule of a train, or of the first of its unit that has one; -1 for none.
    int ruleOfUnit(int train) const {
        for (int member : {train, occupancy_.at(train).leaving}) {
            const int rule = member < 0 ? -1 : ruleOf_[static_cast<std::size_t>(member)];
            if (rule >= 0)
                return rule;
        }
        return -1;
    }

    // The goals of the placement now, over the chosen trains and the gaps of every track.
    Score score(const std::vector<int>& unplaced) const {
        Score total{static_cast<long>(unplaced.size()), 0, 0, 0, 0, 0, 0, 0};
        for (const auto& [train, track] : trackOf_) {
            const Tier tier = tierOf(train, track);
            const bool ruled = standing(train, track) != TrackStanding::Free;
            total[1] += tier == ForbiddenTier ? 1 : 0;
            total[2] += tier != Own && ownTrackOf(train) >= 0 ? 1 : 0;
            total[3] += ruled && standing(train, track) != TrackStanding::FirstPreferred ? 1 : 0;
            total[4] += ruled && standing(train, track) > TrackStanding::Preferred ? 1 : 0;
            const Fit fit = fitOn(train, track);
            total[5] += fit.close;
            total[6] += fit.shortfall;
            total[7] += track;
        }
        return total;
    }

    // The exact search from the first pass's tracks: kept where it does better, goal by goal.
    bool search(std::vector<int>& unplaced) {
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
        const auto snapshot = std::tuple(placed_, trackOf_, lineTracks_);
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
        std::tie(placed_, trackOf_, lineTracks_) = snapshot;
        return false;
    }

    // A chosen train as the search sees it: the tracks its rule allows and the trains that stay
    // leave free, each with the cost of its goals.
    SearchItem searchItem(int train) const {
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
            if (hadTrack && tier != Own)
                cost += 1'000'000;
            cost += kCloseCost * fixed.close + fixed.shortfall;
            item.options.push_back({track, cost});
        }
        return item;
    }

    static constexpr std::array<long, 7> kTierCost = {0, 0, 1000, 0, 30, 2000, 0};
    static constexpr long kCloseCost = 100; // a close pair, beside a minute under the buffer

    const Scenario& s_;
    const AssignmentOptions& options_;
    std::vector<std::string> tracks_;
    std::vector<bool> allowed_;
    std::vector<bool> stub_; // by track
    bool stubsForEnds_ = false;
    std::map<int, Occupancy> occupancy_;   // trains with valid times, by table position
    std::vector<std::vector<int>> placed_; // trains on each track
    std::map<int, int> trackOf_;           // movable train → track given
    std::vector<int> movable_;             // the chosen trains, in table order
    std::vector<Span> spans_;              // by table position
    std::vector<bool> passing_;            // likewise
    std::vector<int> lineOfTrain_;
    std::vector<int> ruleOf_;                  // likewise; -1 for no rule
    std::vector<int> ownTrack_;                // likewise
    std::vector<std::vector<int>> lineTracks_; // line → trains on each track
};

} // namespace

namespace {

Assignment assignedTracks(const Scenario& s, const AssignmentOptions& options) {
    if (options.links.empty())
        return Assigner(s, options).run();
    // A unit on two tracks is taken as on the arriving train's, so that it is one occupancy.
    Scenario unified = s;
    for (const TrainLink& link : options.links) {
        if (linkState(s, link, options.settings) != LinkState::OtherTracks)
            continue;
        unified.treni[static_cast<std::size_t>(link.leaving)].binario =
            s.treni[static_cast<std::size_t>(link.arriving)].binario;
    }
    // A unit the choice leaves alone stays on its two tracks, said apart: no train the choice
    // leaves alone is moved.
    const std::vector<int> chosen = Assigner(unified, options).chosenTrains();
    TrainLinks split;
    for (const TrainLink& link : options.links) {
        if (linkState(s, link, options.settings) == LinkState::OtherTracks &&
            !std::binary_search(chosen.begin(), chosen.end(), link.arriving)) {
            unified.treni[static_cast<std::size_t>(link.leaving)].binario =
                s.treni[static_cast<std::size_t>(link.leaving)].binario;
            split.push_back(link);
        }
    }
    Assignment result = Assigner(unified, options).run();
    result.splitUnits = std::move(split);
    result.conflictsBefore = stationConflicts(s, options.settings, options.links);
    // The second trains that the unification moved: from the track they really had.
    for (int i = 0; i < s.totale_treni; ++i) {
        const std::string& had = s.treni[i].binario;
        if (had == unified.treni[i].binario)
            continue;
        auto change = std::find_if(result.changes.begin(), result.changes.end(),
                                   [&](const TrackChange& c) { return c.train == i; });
        const std::string from = hasStationTrack(s, had) ? had : std::string();
        if (change == result.changes.end())
            result.changes.push_back({i, from, unified.treni[i].binario});
        else
            change->from = from;
    }
    std::erase_if(result.changes, [&](const TrackChange& c) {
        return s.treni[static_cast<std::size_t>(c.train)].binario == c.to;
    });
    std::sort(result.changes.begin(), result.changes.end(),
              [](const TrackChange& a, const TrackChange& b) { return a.train < b.train; });
    return result;
}

} // namespace

Assignment assignTracks(const Scenario& s, const AssignmentOptions& options) {
    Assignment result = assignedTracks(s, options);
    if (options.rules.empty() && options.buffer <= 0)
        return result;
    result.before = trackQuality(s, options.settings, options.links, options.rules, options.buffer);
    Scenario after = s;
    applyAssignment(after, result);
    result.after =
        trackQuality(after, options.settings, options.links, options.rules, options.buffer);
    return result;
}

void applyAssignment(Scenario& s, const Assignment& assignment) {
    for (const TrackChange& change : assignment.changes)
        s.treni[static_cast<std::size_t>(change.train)].binario = change.to;
}

int stationConflicts(const Scenario& s, const CheckSettings& settings, const TrainLinks& links) {
    return static_cast<int>(
        trackConflicts(stationTrackOccupancies(s, settings, links), settings.separation).size());
}

std::vector<int> tracklessTrains(const Scenario& s, int first) {
    std::vector<int> trains;
    for (int i = std::max(first, 0); i < s.totale_treni; ++i) {
        if (lacksStationTrack(s, s.treni[i]))
            trains.push_back(i);
    }
    return trains;
}

} // namespace zeb
