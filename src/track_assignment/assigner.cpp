#include "track_assignment/assigner.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"

#include <algorithm>

namespace zeb::placement {

namespace {

std::string lineOf(const Treno& t) {
    return t.provenienza + "\n" + t.destinazione;
}

} // namespace

Assigner::Assigner(const Scenario& s, const AssignmentOptions& options)
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
    placedAnew_ = options.which == TrainsToAssign::All;
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
        spans_[static_cast<std::size_t>(train)] = {o.start, o.end + options.settings.separation};
        passing_[static_cast<std::size_t>(train)] = o.kind == OccupancyKind::Passing;
        lineOfTrain_[static_cast<std::size_t>(train)] =
            lines
                .try_emplace(lineOf(s.treni[static_cast<std::size_t>(train)]),
                             static_cast<int>(lines.size()))
                .first->second;
    }
    lineTracks_.assign(lines.size(), std::vector<int>(tracks_.size(), 0));
    if (options.riduciRischio) {
        std::vector<Occupancy> holds;
        for (const auto& [train, o] : occupancy_)
            holds.push_back(o);
        clashes_.emplace(s, holds, riskSettings());
        if (clashes_->none()) // no train may run late: the assignment without them
            clashes_.reset();
    }
}

Assignment Assigner::run() {
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

    const auto empty = placement();
    const std::vector<int> order = byStart(movable_, cover.quietest);
    result.unplaced = firstPass(order, empty, result.shortfalls);
    if (clashes_)
        weighFirstPass(order, empty, result);
    if (options_.timeLimit > 0 && !movable_.empty()) {
        // Every goal but the tie of track numbers met already: nothing to look for.
        const Score first = score(result.unplaced);
        result.searchNeedless = std::all_of(first.begin(), first.begin() + kTieGoals,
                                            [](long goal) { return goal == 0; });
        result.searched = !result.searchNeedless;
        if (result.searched)
            result.improved = clashes_ ? searchWithRisk(result.unplaced, first)
                                       : search(result.unplaced, options_.timeLimit, 0);
    } else if (clashes_) {
        lowerRisk(kQuickDescentSeconds);
    }
    std::sort(result.unplaced.begin(), result.unplaced.end());
    result.moreTracks = tracksFor(result.unplaced);
    result.changes = changes();
    Scenario after = s_;
    applyAssignment(after, result);
    result.conflictsAfter = stationConflicts(after, options_.settings, options_.links);
    if (options_.riduciRischio) {
        result.riskMeasured = true;
        result.riskBefore = measureDelayRisk(s_, options_.links, riskSettings()).expectedClashes;
        result.riskAfter = measureDelayRisk(after, options_.links, riskSettings()).expectedClashes;
    }
    return result;
}

std::vector<int> Assigner::firstPass(const std::vector<int>& order, const Placement& empty,
                                     std::vector<RuleShortfall>& shortfallsFound) {
    // Within the rules first; what does not fit there is said, then put on any free track
    // rather than left in conflict.
    std::vector<int> left = placeAll(order, false);
    shortfallsFound = shortfalls(left);
    std::vector<int> unplaced = placeAll(left, true);
    if (!unplaced.empty() && !options_.rules.empty())
        placeByTimeWhereFewerAreLeft(order, empty, unplaced);
    return unplaced;
}

std::vector<int> Assigner::byStart(std::vector<int> order, int quietest) const {
    auto key = [&](int train) {
        const Span span = spanOf(train);
        const int from = minutesAfter(quietest, span.start);
        const bool across = from + (span.end - span.start) > kMinutesPerDay;
        return across ? from - kMinutesPerDay : from;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    return order;
}

void Assigner::placeByTimeWhereFewerAreLeft(const std::vector<int>& order, const Placement& empty,
                                            std::vector<int>& unplaced) {
    const Score withinRulesFirst = score(unplaced);
    const auto ruled = placement();
    restore(empty);
    std::vector<int> left = placeAll(order, true);
    if (score(left) < withinRulesFirst)
        unplaced = std::move(left);
    else
        restore(ruled);
}

std::vector<int> Assigner::placeAll(const std::vector<int>& order, bool forbiddenToo) {
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

std::vector<TrackChange> Assigner::changes() const {
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

std::vector<int> Assigner::movableTrains() const {
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
                                       [train = train, leaving = o.leaving](int chosen) {
                                           return chosen == train || chosen == leaving;
                                       });
            break;
        case TrainsToAssign::OutsideRules:
            take = take || (ownTrackOf(train) >= 0 &&
                            standing(train, ownTrackOf(train)) == TrackStanding::Forbidden);
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

std::vector<int> Assigner::conflictingTrains() const {
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

int Assigner::trackIndex(const std::string& name) const {
    const auto it = std::find(tracks_.begin(), tracks_.end(), name);
    return it == tracks_.end() ? -1 : static_cast<int>(it - tracks_.begin());
}

std::size_t Assigner::lineOfTrainAt(int train) const {
    return static_cast<std::size_t>(lineOfTrain_[static_cast<std::size_t>(train)]);
}

bool Assigner::mayUse(int train, int track) const {
    const auto at = static_cast<std::size_t>(track);
    return allowed_[at] &&
           !(stub_[at] && stubsForEnds_ && passing_[static_cast<std::size_t>(train)]);
}

TrackStanding Assigner::standing(int train, int track) const {
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

Tier Assigner::tierOf(int train, int track) const {
    const TrackStanding rule = standing(train, track);
    if (rule == TrackStanding::Forbidden)
        return ForbiddenTier;
    if (track == ownTrackOf(train) && !placedAnew_)
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

Fit Assigner::fitOn(int train, int track) const {
    return fitAmong(train, track, [train](int other) { return other != train; });
}

std::vector<int> Assigner::preferences(int train) const {
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

std::optional<int> Assigner::bestTrack(int train, int except, bool forbiddenToo) const {
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
    // A line's track and any other are alike before the risk, the line coming after the buffer;
    // so are a rule's preferred tracks where the delays are weighed.
    std::optional<int> best;
    std::array<int, 6> bestKey{};
    for (const auto& [tier, at, track] : candidates) {
        const bool weigh = clashes_ && weighInFirstPass_;
        int rank = tier == AnyTier ? LineTier : tier;
        if (weigh && tier == PreferredTier)
            rank = FirstPreferredTier;
        if (best && rank > bestKey[0])
            break;
        Fit fit = fitOn(train, track);
        fit.risk = weigh ? fit.risk : 0;
        const std::array<int, 6> key{rank, fit.risk, tier, fit.close, fit.shortfall, at};
        if (fit.free && (!best || key < bestKey)) {
            best = track;
            bestKey = key;
        }
        if (fit.free && fit.risk == 0 && fit.close == 0)
            break;
    }
    return best;
}

std::vector<int> Assigner::blockers(int train, int track) const {
    std::vector<int> out;
    const Span span = spanOf(train);
    for (int other : placed_[static_cast<std::size_t>(track)]) {
        if (other != train && clash(span, spanOf(other)))
            out.push_back(other);
    }
    return out;
}

void Assigner::put(int train, int track, bool movable) {
    placed_[static_cast<std::size_t>(track)].push_back(train);
    if (movable)
        trackOf_[train] = track;
    ++lineTracks_[lineOfTrainAt(train)][static_cast<std::size_t>(track)];
}

void Assigner::take(int train, int track) {
    auto& on = placed_[static_cast<std::size_t>(track)];
    on.erase(std::find(on.begin(), on.end(), train));
    trackOf_.erase(train);
    --lineTracks_[lineOfTrainAt(train)][static_cast<std::size_t>(track)];
}

bool Assigner::placeByMovingOne(int train, bool forbiddenToo) {
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

} // namespace zeb::placement
