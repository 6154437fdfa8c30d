#include "track_rules/rule_matching.h"

#include "model/counted.h"
#include "model/track_slots.h"
#include "text/latin_letters.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace zeb {

namespace {

// Where `piece` first stands in `text` from `from` on, or npos: Knuth-Morris-Pratt, so that a
// pattern's pieces are looked for in time linear in the text.
std::size_t findPiece(std::string_view text, std::string_view piece, std::size_t from) {
    if (piece.empty())
        return from;
    std::vector<std::size_t> border(piece.size(), 0);
    for (std::size_t i = 1, k = 0; i < piece.size(); ++i) {
        while (k > 0 && piece[i] != piece[k])
            k = border[k - 1];
        if (piece[i] == piece[k])
            ++k;
        border[i] = k;
    }
    for (std::size_t t = from, k = 0; t < text.size(); ++t) {
        while (k > 0 && text[t] != piece[k])
            k = border[k - 1];
        if (text[t] == piece[k] && ++k == piece.size())
            return t + 1 - piece.size();
    }
    return std::string_view::npos;
}

// `text` against `pattern`, both folded: "*" takes any run, the rest is compared letter by letter.
// The pieces between stars are found in turn, each at its first place after the one before
// (the earliest place leaves the most room to the rest), the first piece at the start and the
// last at the end: linear in the text and the pattern, whatever their stars.
bool globMatches(std::string_view pattern, std::string_view text) {
    const std::size_t firstStar = pattern.find('*');
    if (firstStar == std::string_view::npos)
        return pattern == text;
    const std::size_t lastStar = pattern.rfind('*');
    const std::string_view head = pattern.substr(0, firstStar);
    const std::string_view tail = pattern.substr(lastStar + 1);
    if (head.size() + tail.size() > text.size() || !text.starts_with(head) || !text.ends_with(tail))
        return false;
    std::size_t at = head.size();
    const std::size_t end = text.size() - tail.size();
    for (std::size_t p = firstStar + 1; p < lastStar;) {
        const std::size_t star = pattern.find('*', p);
        const std::string_view piece = pattern.substr(p, star - p);
        at = findPiece(text.substr(0, end), piece, at);
        if (at == std::string_view::npos)
            return false;
        at += piece.size();
        p = star + 1;
    }
    return true;
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
