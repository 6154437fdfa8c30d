#include "track_rules/rule_matching.h"

#include "model/counted.h"
#include "model/track_slots.h"
#include "text/latin_letters.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <unordered_map>

namespace zeb {

namespace {

// `text` against `pattern`, both folded: "*" takes any run, the rest is compared letter by letter.
bool globMatches(std::string_view pattern, std::string_view text) {
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t star = std::string_view::npos;
    std::size_t resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] != '*' && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (star != std::string_view::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

bool inWindow(const TrackRule& rule, int minute) {
    if (rule.dalle < 0 || rule.alle < 0)
        return true;
    if (minute < 0)
        return false;
    return rule.dalle <= rule.alle ? minute >= rule.dalle && minute <= rule.alle
                                   : minute >= rule.dalle || minute <= rule.alle;
}

RulePassage passageOf(const Treno& t) {
    if (endsHere(t))
        return RulePassage::Ends;
    return startsHere(t) ? RulePassage::Starts : RulePassage::Passes;
}

// A rule with its names folded once.
struct FoldedRule {
    const TrackRule* rule;
    std::string origin;
    std::string destination;
};

bool matches(const FoldedRule& r, const Treno& t, const std::string& origin,
             const std::string& destination) {
    const TrackRule& rule = *r.rule;
    return (rule.categoria.empty() || rule.categoria == t.categoria) &&
           (rule.tipo == RulePassage::Any || rule.tipo == passageOf(t)) &&
           (r.origin.empty() || globMatches(r.origin, origin)) &&
           (r.destination.empty() || globMatches(r.destination, destination)) &&
           inWindow(rule, firstMinuteOf(t));
}

} // namespace

TrackStanding trackStanding(const TrackRule& rule, std::string_view track) {
    const auto preferred = std::find(rule.preferiti.begin(), rule.preferiti.end(), track);
    if (preferred != rule.preferiti.end())
        return preferred == rule.preferiti.begin() ? TrackStanding::FirstPreferred
                                                   : TrackStanding::Preferred;
    return std::find(rule.ammessi.begin(), rule.ammessi.end(), track) != rule.ammessi.end()
               ? TrackStanding::Allowed
               : TrackStanding::Forbidden;
}

bool namePatternMatches(std::string_view pattern, std::string_view text) {
    return pattern.empty() || globMatches(searchKey(pattern), searchKey(text));
}

std::vector<int> rulesOfTrains(const Scenario& s, const TrackRules& rules) {
    std::vector<FoldedRule> folded;
    for (const TrackRule& rule : rules)
        folded.push_back({&rule, searchKey(rule.provenienza), searchKey(rule.destinazione)});
    std::vector<int> ruleOf(static_cast<std::size_t>(s.totale_treni), -1);
    if (rules.empty())
        return ruleOf;
    // A day has few distinct places: each is folded once.
    std::unordered_map<std::string, std::string> keys;
    auto keyOf = [&](const std::string& name) -> const std::string& {
        auto [at, added] = keys.try_emplace(name);
        if (added)
            at->second = searchKey(name);
        return at->second;
    };
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        if (!holdsATrack(t))
            continue;
        const std::string& origin = keyOf(t.provenienza);
        const std::string& destination = keyOf(t.destinazione);
        const auto first = std::find_if(folded.begin(), folded.end(), [&](const FoldedRule& r) {
            return matches(r, t, origin, destination);
        });
        if (first != folded.end())
            ruleOf[static_cast<std::size_t>(i)] = static_cast<int>(first - folded.begin());
    }
    return ruleOf;
}

std::vector<int> trainsPerRule(const Scenario& s, const TrackRules& rules) {
    std::vector<int> counts(rules.size(), 0);
    for (int rule : rulesOfTrains(s, rules)) {
        if (rule >= 0)
            ++counts[static_cast<std::size_t>(rule)];
    }
    return counts;
}

std::string trainsPerRuleText(const Scenario& s, const TrackRules& rules) {
    const std::vector<int> counts = trainsPerRule(s, rules);
    std::string text;
    int ruled = 0;
    for (std::size_t k = 0; k < counts.size(); ++k) {
        text +=
            (k == 0 ? "" : ", ") + ("regola " + std::to_string(k + 1) + ": ") +
            (counts[k] == 0 ? std::string("nessun treno") : counted(counts[k], "treno", "treni"));
        ruled += counts[k];
    }
    const auto withTrack = std::count_if(s.treni.begin(), s.treni.begin() + s.totale_treni,
                                         [](const Treno& t) { return holdsATrack(t); });
    const long free = withTrack - ruled;
    const std::string rest = free == 0 ? std::string("nessun treno senza regola")
                                       : counted(free, "treno", "treni") + " senza regola";
    return text.empty() ? "Nessuna regola: " + counted(free, "treno usa", "treni usano") +
                              " qualunque binario"
                        : text + "; " + rest;
}

std::vector<Finding> ruleFindings(const Scenario& s, const TrackRules& rules) {
    std::vector<Finding> findings;
    const std::vector<int> ruleOf = rulesOfTrains(s, rules);
    for (int i = 0; i < s.totale_treni; ++i) {
        const int rule = ruleOf[static_cast<std::size_t>(i)];
        const Treno& t = s.treni[i];
        if (rule < 0 || t.binario.empty() || !hasStationTrack(s, t.binario) ||
            trackStanding(rules[static_cast<std::size_t>(rule)], t.binario) !=
                TrackStanding::Forbidden)
            continue;
        findings.push_back({Severity::Warning,
                            {i},
                            t.numero + " sul binario " + t.binario + ", che la regola " +
                                std::to_string(rule + 1) + " non ammette",
                            firstMinuteOf(t)});
    }
    return findings;
}

} // namespace zeb
