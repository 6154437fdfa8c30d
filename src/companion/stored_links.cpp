#include "companion/stored_links.h"

#include "timetable/train_times.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace zeb {

namespace {

StoredTrain storedArriving(const Treno& t) {
    const auto minute = arrivalMinute(t);
    return {t.numero, t.provenienza, minute ? clockText(*minute) : std::string()};
}

StoredTrain storedLeaving(const Treno& t) {
    const auto minute = departureMinute(t);
    return {t.numero, t.destinazione, minute ? clockText(*minute) : std::string()};
}

// The train of `candidates` the file means: the best match of time and place, where one is best.
std::optional<int> bestMatch(const Scenario& s, const std::vector<int>& candidates,
                             const StoredTrain& wanted, bool arriving) {
    const std::optional<int> minute = clockMinute(wanted.time);
    int best = -1;
    int bestScore = -1;
    bool tie = false;
    for (int i : candidates) {
        const Treno& t = s.treni[i];
        const auto here = arriving ? arrivalMinute(t) : departureMinute(t);
        const bool sameTime = here ? here == minute : wanted.time.empty();
        const int score = (sameTime ? 2 : 0) +
                          ((arriving ? t.provenienza : t.destinazione) == wanted.place ? 1 : 0);
        if (score > bestScore) {
            best = i;
            bestScore = score;
            tie = false;
        } else if (score == bestScore) {
            tie = true;
        }
    }
    if (best < 0 || tie)
        return std::nullopt;
    return best;
}

} // namespace

StoredLink storedLink(const Treno& arriving, const Treno& leaving) {
    return {storedArriving(arriving), storedLeaving(leaving)};
}

namespace {

// The links among `count` trains that `trainAt` gives, as the file names them.
template <class TrainAt>
std::vector<StoredLink> storedAmong(int count, const TrainAt& trainAt, const TrainLinks& links) {
    std::vector<StoredLink> stored;
    stored.reserve(links.size());
    for (const TrainLink& link : links) {
        if (link.arriving < 0 || link.arriving >= count || link.leaving < 0 ||
            link.leaving >= count)
            continue;
        stored.push_back(storedLink(trainAt(link.arriving), trainAt(link.leaving)));
    }
    return stored;
}

} // namespace

std::vector<StoredLink> storedLinks(const Scenario& s, const TrainLinks& links) {
    return storedAmong(
        s.totale_treni, [&](int i) -> const Treno& { return s.treni[i]; }, links);
}

std::vector<StoredLink> storedLinks(const std::vector<Treno>& trains, const TrainLinks& links) {
    return storedAmong(
        static_cast<int>(trains.size()),
        [&](int i) -> const Treno& { return trains[static_cast<std::size_t>(i)]; }, links);
}

FoundLinks findLinks(const Scenario& s, const std::vector<StoredLink>& stored) {
    std::unordered_map<std::string_view, std::vector<int>> ending, starting;
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        if (endsHere(t))
            ending[t.numero].push_back(i);
        if (startsHere(t))
            starting[t.numero].push_back(i);
    }
    FoundLinks found;
    std::vector<bool> arrivingTaken(static_cast<std::size_t>(s.totale_treni), false);
    std::vector<bool> leavingTaken(static_cast<std::size_t>(s.totale_treni), false);
    for (const StoredLink& link : stored) {
        static const std::vector<int> none;
        auto numbered = [&](const auto& trains, const std::string& number) -> const auto& {
            const auto found = trains.find(number);
            return found == trains.end() ? none : found->second;
        };
        const auto first =
            bestMatch(s, numbered(ending, link.arriving.number), link.arriving, true);
        const auto second =
            bestMatch(s, numbered(starting, link.leaving.number), link.leaving, false);
        if (!first || !second || arrivingTaken[static_cast<std::size_t>(*first)] ||
            leavingTaken[static_cast<std::size_t>(*second)]) {
            ++found.ignored;
            continue;
        }
        arrivingTaken[static_cast<std::size_t>(*first)] = true;
        leavingTaken[static_cast<std::size_t>(*second)] = true;
        found.links.push_back({*first, *second});
    }
    std::sort(found.links.begin(), found.links.end());
    return found;
}

} // namespace zeb
