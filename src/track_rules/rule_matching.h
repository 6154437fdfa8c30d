#pragma once

#include "model/scenario.h"
#include "model/track_rule.h"
#include "timetable/checker.h"

#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// How a rule sees a track: its first preferred, another preferred, one allowed when those are
// full, or one it forbids; every track is Free to a train no rule takes.
enum class TrackStanding { FirstPreferred, Preferred, Allowed, Free, Forbidden };

TrackStanding trackStanding(const TrackRule& rule, std::string_view track);

// The rule (0-based) that takes each train of a scenario, the first that matches, by table
// position; -1 for a train no rule takes, and for those without a track to keep (a category
// without one, a cancelled train). Names are folded once per train, so many rules cost little.
std::vector<int> rulesOfTrains(const Scenario& s, const TrackRules& rules);

// Whether `text` matches a rule's `pattern`, letter case and accents aside, "*" standing for any
// run of letters; an empty pattern matches any text.
bool namePatternMatches(std::string_view pattern, std::string_view text);

// How many trains each rule takes; a line for the rules' dialog: "regola 1: 12 treni, regola 2:
// nessuno; 40 treni senza regola".
std::vector<int> trainsPerRule(const Scenario& s, const TrackRules& rules);
std::string trainsPerRuleText(const Scenario& s, const TrackRules& rules);

// The trains on a track their rule forbids, as the checker's warnings: "2231 sul binario 7, che
// la regola 3 non ammette".
std::vector<Finding> ruleFindings(const Scenario& s, const TrackRules& rules);

} // namespace zeb
