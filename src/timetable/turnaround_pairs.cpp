#include "timetable/turnaround_pairs.h"

#include "model/counted.h"
#include "timetable/train_links.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <map>

namespace zeb {

namespace {

// Origins and destinations compared as a person reads them: letter case aside.
std::string folded(const std::string& text) {
    std::string out = text;
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

bool sameCategory(const Treno& a, const Treno& b) {
    return folded(a.categoria) == folded(b.categoria);
}

bool goesBack(const Treno& arriving, const Treno& leaving) {
    return folded(leaving.destinazione) == folded(arriving.provenienza);
}

struct PairWindow {
    int least = 0;
    int longest = 0;
};

// Pairs each of `arrivals` in turn with the best of `free` within the window (of its category
// alone where `sameCategoryOnly`): going back where it came from, then the earliest. Returns the
// arrivals left without a departure.
std::vector<int> pairOnTrack(const Scenario& s, PairWindow window, bool sameCategoryOnly,
                             const std::vector<int>& arrivals, std::vector<int>& free,
                             TurnaroundPairs& pairs) {
    std::vector<int> unpaired;
    for (int a : arrivals) {
        auto best = free.end();
        std::pair<bool, int> bestKey{true, 0};
        for (auto b = free.begin(); b != free.end(); ++b) {
            const int wait = *standingMinutes(s, {a, *b});
            if (wait < window.least || wait > window.longest ||
                (sameCategoryOnly && !sameCategory(s.treni[a], s.treni[*b])))
                continue;
            const std::pair<bool, int> key{!goesBack(s.treni[a], s.treni[*b]), wait};
            if (best == free.end() || key < bestKey) {
                best = b;
                bestKey = key;
            }
        }
        if (best == free.end()) {
            unpaired.push_back(a);
            continue;
        }
        pairs.links.push_back({a, *best});
        free.erase(best);
    }
    return unpaired;
}

} // namespace

TurnaroundPairs pairTurnarounds(const Scenario& s, const CheckSettings& settings, int longestWait,
                                const TrainLinks& existing) {
    std::vector<bool> linked(static_cast<std::size_t>(s.totale_treni), false);
    for (const TrainLink& link : existing) {
        for (int train : {link.arriving, link.leaving}) {
            if (train >= 0 && train < s.totale_treni)
                linked[static_cast<std::size_t>(train)] = true;
        }
    }
    // The trains free to pair, by track: those that end here in the order of their arrivals.
    std::map<std::string, std::vector<int>> ending, starting;
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        if (linked[static_cast<std::size_t>(i)] || isCancelled(t))
            continue;
        if (endsHere(t) && arrivalMinute(t))
            ending[t.binario].push_back(i);
        else if (startsHere(t) && departureMinute(t))
            starting[t.binario].push_back(i);
    }
    TurnaroundPairs pairs;
    for (auto& [track, arrivals] : ending) {
        std::stable_sort(arrivals.begin(), arrivals.end(), [&](int a, int b) {
            return *arrivalMinute(s.treni[a]) < *arrivalMinute(s.treni[b]);
        });
        // Units of one category first, so that a late arrival keeps its own kind's departure;
        // then the rest, whatever their category.
        const PairWindow window{settings.leastTurnaround, longestWait};
        std::vector<int> unpaired = pairOnTrack(s, window, true, arrivals, starting[track], pairs);
        unpaired = pairOnTrack(s, window, false, unpaired, starting[track], pairs);
        pairs.singleEnding.insert(pairs.singleEnding.end(), unpaired.begin(), unpaired.end());
    }
    for (const auto& [track, free] : starting)
        pairs.singleStarting.insert(pairs.singleStarting.end(), free.begin(), free.end());
    auto byTime = [&](int a, int b) {
        return std::pair(firstMinuteOf(s.treni[a]), a) < std::pair(firstMinuteOf(s.treni[b]), b);
    };
    std::sort(pairs.singleEnding.begin(), pairs.singleEnding.end(), byTime);
    std::sort(pairs.singleStarting.begin(), pairs.singleStarting.end(), byTime);
    std::sort(pairs.links.begin(), pairs.links.end(), [&](const TrainLink& x, const TrainLink& y) {
        return byTime(x.arriving, y.arriving);
    });
    return pairs;
}

std::string linkLine(const Scenario& s, const TrainLink& link) {
    const Treno& first = s.treni[link.arriving];
    const Treno& second = s.treni[link.leaving];
    const auto arrival = arrivalMinute(first);
    const auto departure = departureMinute(second);
    return first.numero + " → " + second.numero + ", " +
           (first.binario.empty() ? std::string("senza binario") : "binario " + first.binario) +
           ", " + (arrival ? clockText(*arrival) : "--:--") + " → " +
           (departure ? clockText(*departure) : "--:--") +
           (sameCategory(first, second) ? "" : ", " + first.categoria + " → " + second.categoria);
}

std::string pairChangesText(const Scenario& s, const TrainLinks& links) {
    long otherCategory = 0, notBack = 0;
    for (const TrainLink& link : links) {
        otherCategory += !sameCategory(s.treni[link.arriving], s.treni[link.leaving]);
        notBack += !goesBack(s.treni[link.arriving], s.treni[link.leaving]);
    }
    std::string text;
    if (otherCategory > 0)
        text = counted(otherCategory, "cambia categoria", "cambiano categoria");
    if (notBack > 0)
        text += (text.empty() ? "" : " e ") +
                counted(notBack, "non torna da dove arriva", "non tornano da dove arrivano");
    return text;
}

std::vector<int> linkCandidates(const Scenario& s, const TrainLinks& links, int train,
                                LinkSide side) {
    const bool onward = side == LinkSide::Onward;
    if (train < 0 || train >= s.totale_treni)
        return {};
    if (!(onward ? endsHere : startsHere)(s.treni[train]))
        return {};
    struct Candidate {
        bool taken;
        bool otherTrack;
        int wait;
        int train;
        auto operator<=>(const Candidate&) const = default;
    };
    std::vector<Candidate> found;
    for (int i = 0; i < s.totale_treni; ++i) {
        if (i == train || !(onward ? startsHere : endsHere)(s.treni[i]))
            continue;
        const TrainLink link = onward ? TrainLink{train, i} : TrainLink{i, train};
        found.push_back({displacedLink(links, train, side, i).has_value(),
                         s.treni[i].binario != s.treni[train].binario,
                         standingMinutes(s, link).value_or(kMinutesPerDay), i});
    }
    std::sort(found.begin(), found.end());
    std::vector<int> trains;
    for (const Candidate& candidate : found)
        trains.push_back(candidate.train);
    return trains;
}

std::optional<TrainLink> displacedLink(const TrainLinks& links, int train, LinkSide side,
                                       int other) {
    const bool onward = side == LinkSide::Onward;
    for (const TrainLink& link : links) {
        if ((onward ? link.leaving : link.arriving) == other &&
            (onward ? link.arriving : link.leaving) != train)
            return link;
    }
    return std::nullopt;
}

TrainLinks relinked(const TrainLinks& links, int train, LinkSide side, std::optional<int> other) {
    const bool onward = side == LinkSide::Onward;
    TrainLinks kept;
    for (const TrainLink& link : links) {
        const bool sameSide = (onward ? link.arriving : link.leaving) == train;
        const bool otherTaken = other && (onward ? link.leaving : link.arriving) == *other;
        if (!sameSide && !otherTaken)
            kept.push_back(link);
    }
    if (!other)
        return kept;
    return withLinks(kept, {onward ? TrainLink{train, *other} : TrainLink{*other, train}});
}

int unitPartner(const TrainLinks& links, int train) {
    for (const TrainLink& link : links) {
        if (link.arriving == train)
            return link.leaving;
        if (link.leaving == train)
            return link.arriving;
    }
    return -1;
}

std::string unitLabels(const Scenario& s, const TrainLinks& links, std::size_t shown) {
    std::vector<std::string> labels;
    for (const TrainLink& link : links)
        labels.push_back(unitLabel(s, link));
    return firstNames(labels, shown);
}

TrainLinks brokenLinks(const Scenario& before, const Scenario& after, const TrainLinks& links,
                       const CheckSettings& settings) {
    TrainLinks broken;
    for (const TrainLink& link : links) {
        if (linkState(before, link, settings) == LinkState::Holds &&
            linkState(after, link, settings) != LinkState::Holds)
            broken.push_back(link);
    }
    return broken;
}

TrainLinks withLinks(TrainLinks existing, const TrainLinks& added) {
    for (const TrainLink& link : added) {
        const bool taken =
            std::any_of(existing.begin(), existing.end(), [&](const TrainLink& other) {
                return other.arriving == link.arriving || other.leaving == link.leaving;
            });
        if (!taken)
            existing.push_back(link);
    }
    std::sort(existing.begin(), existing.end());
    return existing;
}

} // namespace zeb
