#include "track_rules/rules_csv.h"

#include "model/quoted_text.h"
#include "model/value_tables.h"
#include "scenario_file/windows1252.h"
#include "text/csv_text.h"
#include "timetable/train_times.h"

#include <algorithm>
#include <array>

namespace zeb {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

constexpr std::array<std::pair<RulePassage, std::string_view>, 4> kPassages = {
    {{RulePassage::Any, ""},
     {RulePassage::Passes, "passa"},
     {RulePassage::Ends, "termina"},
     {RulePassage::Starts, "parte"}}};

std::string tracksText(const std::vector<std::string>& tracks) {
    std::string text;
    for (const std::string& track : tracks)
        text += (text.empty() ? "" : " ") + track;
    return text;
}

std::string tracksList(const std::vector<std::string>& tracks) {
    std::string text;
    for (const std::string& track : tracks)
        text += (text.empty() ? "" : ", ") + track;
    return text;
}

// The station's track names of a list separated by blanks, or why not.
std::optional<std::string> readTracks(std::string_view text,
                                      const std::vector<std::string>& station,
                                      std::vector<std::string>& out) {
    std::vector<std::string> tracks;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t start = text.find_first_not_of(" \t,", at);
        if (start == std::string_view::npos)
            break;
        at = std::min(text.find_first_of(" \t,", start), text.size());
        const std::string name = lowered(text.substr(start, at - start));
        const auto known = std::find_if(station.begin(), station.end(),
                                        [&](const std::string& t) { return lowered(t) == name; });
        if (known == station.end())
            return quotedBriefly(text.substr(start, at - start)) +
                   " non è un binario della stazione: " +
                   (station.empty() ? std::string("la stazione non ne ha")
                                    : "ci sono " + tracksList(station));
        if (std::find(tracks.begin(), tracks.end(), *known) != tracks.end())
            return "il binario " + *known + " compare due volte";
        tracks.push_back(*known);
    }
    out = std::move(tracks);
    return std::nullopt;
}

std::optional<std::string> readMinute(std::string_view text, int& out) {
    if (text.empty()) {
        out = -1;
        return std::nullopt;
    }
    const auto minute = clockMinute(text);
    if (!minute)
        return quotedBriefly(text) + " non è un'ora: si scrive come 7:40";
    out = *minute;
    return std::nullopt;
}

} // namespace

std::string ruleCell(const TrackRule& rule, RuleColumn column) {
    switch (column) {
    case RuleColumn::Categoria:
        return rule.categoria;
    case RuleColumn::Provenienza:
        return rule.provenienza;
    case RuleColumn::Destinazione:
        return rule.destinazione;
    case RuleColumn::Tipo:
        for (const auto& [passage, name] : kPassages) {
            if (passage == rule.tipo)
                return std::string(name);
        }
        return {};
    case RuleColumn::Dalle:
        return rule.dalle < 0 ? std::string() : clockText(rule.dalle);
    case RuleColumn::Alle:
        return rule.alle < 0 ? std::string() : clockText(rule.alle);
    case RuleColumn::Preferiti:
        return tracksText(rule.preferiti);
    case RuleColumn::Ammessi:
        return tracksText(rule.ammessi);
    }
    return {};
}

std::optional<std::string> setRuleCell(TrackRule& rule, RuleColumn column, std::string_view raw,
                                       const std::vector<std::string>& tracks) {
    const std::string_view text = trimmedOf(raw, " \t");
    if (text.find_first_of("\r\n") != std::string_view::npos)
        return "va a capo, ma sta su una riga sola";
    switch (column) {
    case RuleColumn::Categoria: {
        if (text.empty()) {
            rule.categoria.clear();
            return std::nullopt;
        }
        const auto known =
            std::find_if(kCategorie.begin(), kCategorie.end(),
                         [&](std::string_view c) { return lowered(c) == lowered(text); });
        if (known == kCategorie.end())
            return quotedBriefly(text) + " non è una categoria: vanno bene " + categoryNames() +
                   ", o nulla per tutte";
        rule.categoria = std::string(*known);
        return std::nullopt;
    }
    case RuleColumn::Provenienza:
        rule.provenienza = std::string(text);
        return std::nullopt;
    case RuleColumn::Destinazione:
        rule.destinazione = std::string(text);
        return std::nullopt;
    case RuleColumn::Tipo:
        for (const auto& [passage, name] : kPassages) {
            if (name == lowered(text)) {
                rule.tipo = passage;
                return std::nullopt;
            }
        }
        return quotedBriefly(text) + " non è un tipo: vanno bene passa, termina, parte, o " +
               "nulla per tutti";
    case RuleColumn::Dalle:
        return readMinute(text, rule.dalle);
    case RuleColumn::Alle:
        return readMinute(text, rule.alle);
    case RuleColumn::Preferiti:
        return readTracks(text, tracks, rule.preferiti);
    case RuleColumn::Ammessi:
        return readTracks(text, tracks, rule.ammessi);
    }
    return std::nullopt;
}

std::optional<std::string> ruleFault(const TrackRule& rule) {
    if ((rule.dalle < 0) != (rule.alle < 0))
        return std::string("dalle e alle vanno date insieme, o nessuna delle due");
    if (rule.preferiti.empty() && rule.ammessi.empty())
        return std::string("la regola non dà nessun binario: ne vieterebbe tutti");
    for (const std::string& track : rule.ammessi) {
        if (std::find(rule.preferiti.begin(), rule.preferiti.end(), track) != rule.preferiti.end())
            return "il binario " + track + " è sia preferito sia ammesso";
    }
    return std::nullopt;
}

std::string rulesCsv(const TrackRules& rules) {
    std::string out(kBom);
    auto row = [&out](auto cellOf) {
        for (int k = 0; k < kRuleColumnCount; ++k)
            out.append(k == 0 ? "" : ";").append(csvField(cellOf(k), ';'));
        out.append("\r\n");
    };
    row([](int k) { return std::string(kRuleColumns[k]); });
    for (const TrackRule& rule : rules)
        row([&](int k) { return ruleCell(rule, static_cast<RuleColumn>(k)); });
    return out;
}

namespace {

// The header row, its names in any case and with blanks around.
bool isRulesHeader(const std::vector<std::string>& row) {
    std::vector<std::string> header;
    for (const std::string& name : row)
        header.push_back(lowered(trimmedOf(name, " \t")));
    return std::equal(header.begin(), header.end(), std::begin(kRuleColumns),
                      std::end(kRuleColumns));
}

} // namespace

RulesImport importRulesCsv(std::string_view bytes, const std::vector<std::string>& tracks) {
    RulesImport result;
    int hidden = 0;
    auto fail = [&](int line, std::string_view column, const std::string& what) {
        addCsvError(result.errors, hidden, line, column, what);
    };
    const bool marked = bytes.starts_with(kBom);
    const std::string_view body = marked ? bytes.substr(kBom.size()) : bytes;
    const std::string text = isValidUtf8(body) ? std::string(body) : windows1252ToUtf8(body);
    CsvRows rows(text, ';');
    std::vector<std::string> row;
    if (!rows.next(row)) {
        result.errors.push_back("Il file è vuoto: manca anche la riga delle intestazioni");
        return result;
    }
    if (!isRulesHeader(row)) {
        result.errors.push_back("Riga " + std::to_string(rows.line()) +
                                ": le intestazioni devono essere " +
                                "categoria;provenienza;destinazione;tipo;dalle;alle;preferiti;"
                                "ammessi");
        return result;
    }
    while (rows.next(row)) {
        if (row.size() == 1 && trimmedOf(row[0], " \t").empty())
            continue;
        if (row.size() != kRuleColumnCount) {
            fail(rows.line(), "",
                 "ha " + std::to_string(row.size()) + " campi, ne servono " +
                     std::to_string(kRuleColumnCount));
            continue;
        }
        TrackRule rule;
        bool good = true;
        for (int k = 0; k < kRuleColumnCount; ++k) {
            if (auto why = setRuleCell(rule, static_cast<RuleColumn>(k), row[k], tracks)) {
                fail(rows.line(), kRuleColumns[k], *why);
                good = false;
            }
        }
        if (!good)
            continue;
        if (auto why = ruleFault(rule)) {
            fail(rows.line(), "", *why);
        } else if (result.rules.size() == kMostTrackRules) {
            // More than the editor's data could keep: refused here rather than lost at a save.
            result.errors.insert(result.errors.begin(),
                                 "Il file ha più di " + std::to_string(kMostTrackRules) +
                                     " regole, più di quante l'editor ne possa conservare");
            break;
        } else {
            result.rules.push_back(std::move(rule));
        }
    }
    endCsvErrors(result.errors, hidden);
    if (!result.errors.empty())
        result.rules.clear();
    return result;
}

} // namespace zeb
