#include "variants/perturbation.h"

#include "model/track_slots.h"
#include "model/value_tables.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "track_rules/rule_matching.h"

#include <algorithm>
#include <optional>

namespace zeb {

namespace {

// The time of an end the train no longer has, as the editor leaves it: "--:--".
void dropTime(Treno& t, TrainEnd end) {
    const auto fields = fieldsOf(t, end);
    fields.ora.assign(2, '-');
    fields.minuti.assign(2, '-');
}

// A number from the seed and a train's position, the same on every machine (splitmix64).
std::uint64_t drawn(std::uint64_t seed, int train) {
    std::uint64_t z = seed + 0x9E3779B97F4A7C15ull * static_cast<std::uint64_t>(train + 1);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

// Whether the train is at the station at some minute of the window, both ends included, round
// the clock: from its arrival (or departure) to its departure (or arrival). A train whose times
// are not valid is in no window; without a window every train is.
bool presentInWindow(const Treno& t, const TrainFilter& f) {
    if (!f.from && !f.to)
        return true;
    const int first = firstMinuteOf(t);
    if (first < 0)
        return false;
    const int last = hasDeparture(t) ? departureMinute(t).value_or(first) : first;
    const int from = f.from.value_or(0), to = f.to.value_or(kMinutesPerDay - 1);
    auto after = [](int a, int b) { return minutesAfter(a, b); };
    return after(first, from) <= after(first, last) || after(from, first) <= after(from, to);
}

// The holds of every track, kept as trains move, so that a train's first free track is found in
// one look along each track.
class TrackHolds {
public:
    TrackHolds(const Scenario& s, const CheckSettings& settings, const TrainLinks& links)
        : separation_(settings.separation), holds_(trackOccupancies(s, settings, false, links)) {}

    // The first of `tracks` where the hold of `train` (its unit's) clashes with no other; "".
    std::string firstFree(int train, const std::vector<std::string>& tracks) const {
        const Occupancy* own = holdOf(train);
        if (own == nullptr)
            return {};
        for (const std::string& track : tracks) {
            const bool free = std::none_of(holds_.begin(), holds_.end(), [&](const Occupancy& o) {
                return &o != own && o.track == track &&
                       tooClose(own->start, own->end, o.start, o.end, separation_);
            });
            if (free)
                return track;
        }
        return {};
    }

    void moved(int train, const std::string& track) {
        for (Occupancy& o : holds_) {
            if (o.train == train || o.leaving == train)
                o.track = track;
        }
    }

private:
    const Occupancy* holdOf(int train) const {
        const auto found = std::find_if(holds_.begin(), holds_.end(), [&](const Occupancy& o) {
            return o.train == train || o.leaving == train;
        });
        return found == holds_.end() ? nullptr : &*found;
    }

    int separation_;
    std::vector<Occupancy> holds_;
};

// The station's tracks in the order a train of rule `rule` takes them: its preferred, then those
// it allows; every track in order for a train no rule takes.
std::vector<std::string> tracksByRule(const std::vector<std::string>& tracks,
                                      const TrackRules& rules, int rule) {
    if (rule < 0)
        return tracks;
    std::vector<std::pair<TrackStanding, std::string>> ranked;
    for (const std::string& track : tracks) {
        const TrackStanding standing = trackStanding(rules[static_cast<std::size_t>(rule)], track);
        if (standing != TrackStanding::Forbidden)
            ranked.push_back({standing, track});
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> ordered;
    for (auto& [standing, track] : ranked)
        ordered.push_back(std::move(track));
    return ordered;
}

// Train `train` to track `to` (none: it stays), and with it the other train of its unit; each
// train moved is said, "2231 07:45: binario 3 → 5".
void moveToTrack(Scenario& s, int train, const std::string& to, const TrainLinks& links,
                 std::vector<PerturbationChange>& changes) {
    if (to.empty() || isCategoriaSenzaBinario(s.treni[static_cast<std::size_t>(train)].categoria))
        return;
    for (int moved : {train, unitPartner(links, train)}) {
        if (moved < 0)
            continue;
        Treno& t = s.treni[static_cast<std::size_t>(moved)];
        if (t.binario == to)
            continue;
        changes.push_back({moved, numberAndTime(t) + ": binario " +
                                      (t.binario.empty() ? std::string("nessuno") : t.binario) +
                                      " → " + to});
        t.binario = to;
    }
}

} // namespace

std::vector<int> filteredTrains(const Scenario& s, const TrainFilter& filter) {
    const std::string place = lowered(filter.place);
    std::vector<int> trains;
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[static_cast<std::size_t>(i)];
        const bool category = filter.categories.empty() ||
                              std::find(filter.categories.begin(), filter.categories.end(),
                                        t.categoria) != filter.categories.end();
        const bool where = place.empty() ||
                           lowered(t.provenienza).find(place) != std::string::npos ||
                           lowered(t.destinazione).find(place) != std::string::npos;
        if (category && where && (filter.track.empty() || t.binario == filter.track) &&
            presentInWindow(t, filter))
            trains.push_back(i);
    }
    // The share, rounded, of the trains chosen: those the seed draws lowest.
    const auto kept = static_cast<std::size_t>(
        (trains.size() * static_cast<std::size_t>(std::clamp(filter.sharePercent, 0, 100)) + 50) /
        100);
    std::stable_sort(trains.begin(), trains.end(),
                     [&](int a, int b) { return drawn(filter.seed, a) < drawn(filter.seed, b); });
    trains.resize(kept);
    std::sort(trains.begin(), trains.end());
    return trains;
}

std::vector<PerturbationChange> perturb(Scenario& s, const std::vector<int>& trains,
                                        const Perturbation& p, const CheckSettings& settings,
                                        const TrainLinks& links, const TrackRules& rules) {
    using Action = Perturbation::Action;
    std::vector<PerturbationChange> changes;
    std::optional<TrackHolds> holds;
    const std::vector<std::string> tracks = stationTrackNames(s);
    const std::vector<int> ruleOf = rulesOfTrains(s, rules);
    for (int i : trains) {
        Treno& t = s.treni[static_cast<std::size_t>(i)];
        const std::string train = numberAndTime(t);
        auto said = [&](const std::string& what) { changes.push_back({i, train + ": " + what}); };
        if (isCancelled(t))
            continue; // it no longer runs
        switch (p.action) {
        case Action::Cancel:
            t.codice_sussidiaria.assign(1, '1'); // not = "1", which GCC 12 warns of wrongly
            t.sussidiaria = std::string(kSussidiarie[1]);
            said("soppresso");
            break;
        case Action::EndHere:
            if (!hasArrival(t) || !hasDeparture(t))
                break;
            said("termina qui invece di proseguire per " + t.destinazione);
            t.destinazione.clear();
            dropTime(t, TrainEnd::Departure);
            t.fermate = std::string(kTerminaQui) + std::string(kFineFermate);
            break;
        case Action::StartHere:
            if (!hasArrival(t) || !hasDeparture(t))
                break;
            said("parte da qui invece di venire da " + t.provenienza);
            t.provenienza.clear();
            dropTime(t, TrainEnd::Arrival);
            break;
        case Action::ChangeTrack: {
            if (!holds)
                holds.emplace(s, settings, links);
            const std::string to =
                p.track.empty()
                    ? holds->firstFree(
                          i, tracksByRule(tracks, rules, ruleOf[static_cast<std::size_t>(i)]))
                    : p.track;
            moveToTrack(s, i, to, links, changes);
            if (!to.empty())
                holds->moved(i, to);
            break;
        }
        case Action::Delay: {
            // The index whose shares, added up in order, first pass the train's draw.
            const int draw = static_cast<int>(drawn(p.seed ^ 0xD1B54A32D192ED03ull, i) % 100);
            int index = 0, sum = 0;
            for (std::size_t k = 0; k < p.delayShares.size() && k < 5; ++k) {
                sum += p.delayShares[k];
                index = static_cast<int>(k);
                if (draw < sum)
                    break;
            }
            const std::string to = std::to_string(index);
            if (to == t.ritardo)
                break;
            said("ritardo " + (t.ritardo.empty() ? std::string("0") : t.ritardo) + " → " + to);
            t.ritardo = to;
            break;
        }
        }
    }
    return changes;
}

} // namespace zeb
