#pragma once

#include "model/scenario.h"
#include "model/track_rule.h"
#include "model/train_links.h"
#include "timetable/occupancy.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// Which trains a perturbation takes: those at the station at some minute of the window, from
// their arrival to their departure (both ends included, across midnight where `from` is after
// `to`), of the categories listed, of an origin or destination holding `place` (letter case
// aside), on `track`; of those, the share, rounded, that `seed` draws, the same trains for the
// same seed on every run.
struct TrainFilter {
    std::optional<int> from{};
    std::optional<int> to{};
    std::vector<std::string> categories{}; // none: any
    std::string place{};
    std::string track{};
    int sharePercent = 100;
    std::uint64_t seed = 1;
};
std::vector<int> filteredTrains(const Scenario& s, const TrainFilter& filter);

// What happens to the trains: cancelled ("Soppresso"), ending here, starting here, on another
// track (given, or the first of the station's that takes the train without a clash: its rule's
// preferred tracks first, then those it allows, never one it forbids), or delayed (by one index,
// or drawn by the seed from shares of the indices "0" to "4").
struct Perturbation {
    enum class Action { Cancel, EndHere, StartHere, ChangeTrack, Delay };
    Action action = Action::Cancel;
    std::string track{};            // ChangeTrack; empty: the first free one
    std::vector<int> delayShares{}; // Delay: percent for "0", "1", … in order
    std::uint64_t seed = 1;
};

// A change made, as the preview and the tool say it: "2231 07:45: binario 3 → 5".
struct PerturbationChange {
    int train;
    std::string text;
};

// Applies `perturbation` to `trains` of `s`, as the editor window would: a cancelled train is not
// cut, moved or delayed, a train of a category without a track gets none, a train that already
// ends (starts) here is not cut (started) again, a unit of `links` changes track whole. Returns
// the changes, in the order of `trains`, a unit's other train after its own.
std::vector<PerturbationChange> perturb(Scenario& s, const std::vector<int>& trains,
                                        const Perturbation& perturbation,
                                        const CheckSettings& settings, const TrainLinks& links = {},
                                        const TrackRules& rules = {});

} // namespace zeb
