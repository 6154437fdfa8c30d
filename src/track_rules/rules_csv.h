#pragma once

#include "model/track_rule.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zeb {

// A rule's parts, as the CSV's columns and the rules' dialog have them.
enum class RuleColumn {
    Categoria,
    Provenienza,
    Destinazione,
    Tipo,
    Dalle,
    Alle,
    Preferiti,
    Ammessi
};
inline constexpr int kRuleColumnCount = 8;
inline constexpr const char* kRuleColumns[kRuleColumnCount] = {
    "categoria", "provenienza", "destinazione", "tipo", "dalle", "alle", "preferiti", "ammessi"};

// A part of a rule as text: "" for any, "passa", "7:40", "4 5".
std::string ruleCell(const TrackRule& rule, RuleColumn column);

// Sets a part of `rule` from `text` (trimmed), checked against the station's `tracks`: nullopt
// when it is taken, else why not, in Italian, naming what would do ("«Treno» non è una categoria:
// vanno bene Autobus, Cisalpino, …"). The rule is left as it was when the text is refused.
std::optional<std::string> setRuleCell(TrackRule& rule, RuleColumn column, std::string_view text,
                                       const std::vector<std::string>& tracks);

// What makes a whole rule unusable: a window with one end only, no track at all, a track both
// preferred and allowed. nullopt for a rule that can stand.
std::optional<std::string> ruleFault(const TrackRule& rule);

// The rules as a spreadsheet opens them, as the trains' CSV is written: UTF-8 with a byte-order
// mark, ";" between fields, CR LF after each row, the header row first.
std::string rulesCsv(const TrackRules& rules);

// The rules of a CSV file, all or nothing: the `rules`, or the `errors` with their row and
// column (at most 20 described, then how many more).
struct RulesImport {
    TrackRules rules;
    std::vector<std::string> errors;
};
RulesImport importRulesCsv(std::string_view bytes, const std::vector<std::string>& tracks);

} // namespace zeb
