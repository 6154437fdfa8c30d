#include "companion/editor_data.h"

#include "model/counted.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/text_limits.h"
#include "text/iso_days.h"
#include "track_rules/rules_csv.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <vector>

namespace zeb {

namespace {

constexpr const char* kFormat = "zebrano-editor";
constexpr int kMostMinutes = 1440;
constexpr const char* kBaseDay = "giornoBase";
constexpr const char* kServiceDay = "giornoDiServizio";
constexpr const char* kLinks = "collegamenti";
constexpr const char* kRules = "regoleBinari";
constexpr const char* kAssignment = "assegnazione";
constexpr const char* kScenario = "scenario";
constexpr const char* kRecoveredFrom = "fileDelloScenario";
constexpr const char* kBoards = "tabelloni";
constexpr const char* kDelayModes[] = {"nessuno", "massimo", "estratto"};

std::string tooManyEntries() {
    return "I dati dell'editor sarebbero più di quanti se ne possano rileggere (al più " +
           std::to_string(kMostTrackRules) + " regole, " + std::to_string(kMostStoredLinks) +
           " collegamenti e " + std::to_string(kMaxFileBytes / (1024 * 1024)) +
           " MB): non sono salvati";
}

// A link as the file has it, one line of six texts: the arriving train's number, origin and
// time, the leaving train's number, destination and time. Arrays, not objects: a day of 800
// links reads and writes in a third of the time.
std::optional<StoredLink> linkOf(const nlohmann::json& entry) {
    if (!entry.is_array() || entry.size() != 6)
        return std::nullopt;
    for (const nlohmann::json& text : entry) {
        if (!text.is_string())
            return std::nullopt;
    }
    auto text = [&](std::size_t k) -> const std::string& {
        return entry[k].get_ref<const std::string&>();
    };
    if (text(0).empty() || text(3).empty())
        return std::nullopt;
    return StoredLink{{text(0), text(1), text(2)}, {text(3), text(4), text(5)}};
}

constexpr const char* kRiskThreshold = "sogliaRischio";

struct MinutesKey {
    const char* key;
    int CheckSettings::*field;
};
constexpr MinutesKey kMinutes[] = {{"separazione", &CheckSettings::separation},
                                   {"sosta", &CheckSettings::turnaround},
                                   {"preparazione", &CheckSettings::preparation},
                                   {"inversione", &CheckSettings::leastTurnaround}};

void readMinutes(const nlohmann::json& json, CheckSettings& settings,
                 std::vector<std::string>& ignored) {
    const auto given = json.find("impostazioni");
    if (given == json.end() || !given->is_object())
        return;
    std::string wrong;
    for (const MinutesKey& minutes : kMinutes) {
        const auto value = given->find(minutes.key);
        if (value == given->end())
            continue;
        if (value->is_number_integer() && *value >= 0 && *value <= kMostMinutes)
            settings.*minutes.field = value->get<int>();
        else
            wrong += std::string(wrong.empty() ? "" : ", ") + minutes.key;
    }
    if (!wrong.empty())
        ignored.push_back("i minuti di " + wrong + " non sono un numero intero da 0 a " +
                          std::to_string(kMostMinutes) + ": valgono quelli predefiniti");
    // The threshold of the delays' warnings, a percent, written only where it is not 50.
    if (const auto threshold = given->find(kRiskThreshold); threshold != given->end()) {
        if (threshold->is_number_integer() && *threshold >= 1 && *threshold <= 100)
            settings.riskThreshold = threshold->get<int>();
        else
            ignored.push_back("la soglia di rischio non è un numero intero da 1 a 100: vale 50");
    }
}

// The file named under `key`; where the value is no file's name, `what` is said not to be one.
void readPath(const nlohmann::json& json, const char* key, const char* what, std::string& path,
              std::vector<std::string>& ignored) {
    const auto given = json.find(key);
    if (given == json.end())
        return;
    if (given->is_string() && !given->get_ref<const std::string&>().empty())
        path = given->get<std::string>();
    else
        ignored.push_back(std::string(what) + " non è il nome di un file");
}

// The day of service, "AAAA-MM-GG", a day of the calendar.
void readDay(const nlohmann::json& json, std::string& day, std::vector<std::string>& ignored) {
    const auto given = json.find(kServiceDay);
    if (given == json.end())
        return;
    if (given->is_string() && isIsoDay(given->get_ref<const std::string&>()))
        day = given->get<std::string>();
    else
        ignored.push_back("il giorno di servizio non è una data");
}

// How the notes on a list name it: not a list, one entry unreadable, several.
struct ListWords {
    const char* notAList;
    const char* oneUnreadable;
    const char* manyUnreadable;
};

// The list under `key`: the entries `entryOf` reads go to `entries`, the others are counted in
// one note; a value that is no list is said so.
template <typename Entry, typename EntryOf>
void readList(const nlohmann::json& json, const char* key, EntryOf entryOf, std::size_t most,
              std::vector<Entry>& entries, const ListWords& words,
              std::vector<std::string>& ignored) {
    const auto given = json.find(key);
    if (given == json.end())
        return;
    if (!given->is_array()) {
        ignored.push_back(words.notAList);
        return;
    }
    long unreadable = 0;
    for (const nlohmann::json& entry : *given) {
        const auto read = entries.size() < most ? entryOf(entry) : std::nullopt;
        if (read)
            entries.push_back(*read);
        else
            ++unreadable;
    }
    if (unreadable > 0)
        ignored.push_back(counted(unreadable, words.oneUnreadable, words.manyUnreadable));
}

// A rule as the file has it: the CSV's columns as keys, the tracks as lists.
nlohmann::ordered_json ruleJson(const TrackRule& rule) {
    nlohmann::ordered_json json;
    for (int k = 0; k < kRuleColumnCount; ++k) {
        const auto column = static_cast<RuleColumn>(k);
        if (column == RuleColumn::Preferiti || column == RuleColumn::Ammessi)
            json[kRuleColumns[k]] = column == RuleColumn::Preferiti ? rule.preferiti : rule.ammessi;
        else
            json[kRuleColumns[k]] = ruleCell(rule, column);
    }
    return json;
}

std::optional<TrackRule> ruleOf(const nlohmann::json& entry) {
    if (!entry.is_object())
        return std::nullopt;
    TrackRule rule;
    for (int k = 0; k < kRuleColumnCount; ++k) {
        const auto column = static_cast<RuleColumn>(k);
        const auto value = entry.find(kRuleColumns[k]);
        if (value == entry.end())
            continue;
        if (column == RuleColumn::Preferiti || column == RuleColumn::Ammessi) {
            if (!value->is_array())
                return std::nullopt;
            auto& tracks = column == RuleColumn::Preferiti ? rule.preferiti : rule.ammessi;
            for (const nlohmann::json& track : *value) {
                if (!track.is_string())
                    return std::nullopt;
                tracks.push_back(track.get<std::string>());
            }
        } else if (!value->is_string() ||
                   setRuleCell(rule, column, value->get_ref<const std::string&>(), {})) {
            return std::nullopt;
        }
    }
    if (ruleFault(rule))
        return std::nullopt;
    return rule;
}

// The assignment's buffer and time limit, each where it is a whole number in its range.
void readAssignment(const nlohmann::json& json, EditorData& data) {
    const auto given = json.find(kAssignment);
    if (given == json.end() || !given->is_object())
        return;
    auto read = [&](const char* key, int most, int& value) {
        const auto found = given->find(key);
        if (found != given->end() && found->is_number_integer() && *found >= 0 && *found <= most)
            value = found->get<int>();
    };
    read("margine", 120, data.buffer);
    read("tempoMassimo", 600, data.timeLimit);
}

// The choices of "Tabelloni", each where it is one the window offers.
void readBoards(const nlohmann::json& json, BoardChoices& boards) {
    const auto given = json.find(kBoards);
    if (given == json.end() || !given->is_object())
        return;
    auto read = [&](const char* key, int least, int most, int& value) {
        const auto found = given->find(key);
        if (found != given->end() && found->is_number_integer() && *found >= least &&
            *found <= most)
            value = found->get<int>();
    };
    read("seme", 1, 1'000'000, boards.seed);
    read("orizzonte", 10, 240, boards.horizon);
    int rows = boards.rows;
    read("righe", 5, 40, rows);
    if (rows == 5 || rows == 10 || rows == 20 || rows == 40)
        boards.rows = rows;
    if (const auto mode = given->find("ritardi"); mode != given->end() && mode->is_string()) {
        for (int k = 0; k < 3; ++k) {
            if (*mode == kDelayModes[k])
                boards.delays = k;
        }
    }
}

// Where the text is no JSON: the line and what is wrong there, in the user's words; the parsed
// text goes to `json` otherwise.
std::optional<std::string> parseFault(std::string_view text, nlohmann::json& json) {
    auto lineOf = [&](std::size_t byte) {
        const std::size_t end = std::min(byte, text.size());
        return "riga " + std::to_string(std::count(text.begin(), text.begin() + end, '\n') + 1);
    };
    try {
        json = nlohmann::json::parse(text);
        return std::nullopt;
    } catch (const nlohmann::json::parse_error& error) {
        const std::string what = error.what();
        const std::size_t at = error.byte > 0 ? error.byte - 1 : 0;
        const bool highByte = at < text.size() && static_cast<unsigned char>(text[at]) >= 0x80;
        if (what.find("UTF-8") != std::string::npos || highByte)
            return lineOf(at) + ": un byte che non è UTF-8";
        if (what.find("end of input") != std::string::npos || error.byte >= text.size())
            return lineOf(at) + ": il file finisce a metà";
        return lineOf(at) + ": testo che non è JSON";
    } catch (const nlohmann::json::out_of_range& error) {
        // A number past a double's range; the message quotes it, so its line can be found.
        const std::string what = error.what();
        const auto open = what.find('\'');
        const auto close = what.rfind('\'');
        std::size_t at = std::string_view::npos;
        if (open != std::string::npos && close > open)
            at = text.find(std::string_view(what).substr(open + 1, close - open - 1));
        return (at == std::string_view::npos ? std::string("un valore") : lineOf(at)) +
               ": numero troppo grande";
    } catch (const nlohmann::json::exception&) {
        return std::string("testo che non è JSON");
    }
}

std::optional<ScenarioIdentity> identityIn(const nlohmann::json& json) {
    const auto given = json.find(kScenario);
    if (given == json.end() || !given->is_object())
        return std::nullopt;
    const auto bytes = given->find("byte");
    const auto digest = given->find("impronta");
    if (bytes == given->end() || !bytes->is_number_unsigned() || digest == given->end() ||
        !digest->is_string())
        return std::nullopt;
    return ScenarioIdentity{bytes->get<std::size_t>(), digest->get<std::string>()};
}

} // namespace

std::string companionPathOf(const std::string& scenarioPath) {
    return scenarioPath + "-editor";
}

std::string editorDataText(const EditorData& data,
                           const std::optional<ScenarioIdentity>& belongsTo) {
    if (data.links.size() > kMostStoredLinks || data.trackRules.size() > kMostTrackRules)
        throw ScenarioFileError(FormatError::FileTooLarge, tooManyEntries());
    nlohmann::ordered_json json;
    json["formato"] = kFormat;
    json["versione"] = kEditorDataVersion;
    if (belongsTo)
        json[kScenario] = {{"byte", belongsTo->bytes}, {"impronta", belongsTo->digest}};
    for (const MinutesKey& minutes : kMinutes)
        json["impostazioni"][minutes.key] = data.settings.*minutes.field;
    if (data.settings.riskThreshold != CheckSettings{}.riskThreshold)
        json["impostazioni"][kRiskThreshold] = data.settings.riskThreshold;
    if (!data.baseDay.empty())
        json[kBaseDay] = data.baseDay;
    if (!data.serviceDay.empty())
        json[kServiceDay] = data.serviceDay;
    if (!data.recoveredFrom.empty())
        json[kRecoveredFrom] = data.recoveredFrom;
    if (data.buffer != EditorData{}.buffer || data.timeLimit != EditorData{}.timeLimit)
        json[kAssignment] = {{"margine", data.buffer}, {"tempoMassimo", data.timeLimit}};
    if (data.boards != BoardChoices{})
        json[kBoards] = {{"ritardi", kDelayModes[std::clamp(data.boards.delays, 0, 2)]},
                         {"seme", data.boards.seed},
                         {"righe", data.boards.rows},
                         {"orizzonte", data.boards.horizon}};
    if (!data.trackRules.empty()) {
        json[kRules] = nlohmann::ordered_json::array();
        for (const TrackRule& rule : data.trackRules)
            json[kRules].push_back(ruleJson(rule));
    }
    // A name that is no UTF-8 (a folder named in another encoding) is written with its faults
    // replaced rather than failing the save.
    constexpr auto kReplace = nlohmann::json::error_handler_t::replace;
    std::string text = json.dump(2, ' ', false, kReplace);
    if (!data.links.empty()) {
        // A link a line, each as compact as the rest is readable.
        text.erase(text.size() - 2); // the line of the closing brace
        text += ",\n  \"" + std::string(kLinks) + "\": [";
        for (std::size_t k = 0; k < data.links.size(); ++k) {
            const StoredLink& link = data.links[k];
            const nlohmann::json line = {link.arriving.number, link.arriving.place,
                                         link.arriving.time,   link.leaving.number,
                                         link.leaving.place,   link.leaving.time};
            text += (k == 0 ? "\n    " : ",\n    ") + line.dump(-1, ' ', false, kReplace);
        }
        text += "\n  ]\n}";
    }
    if (text.size() >= kMaxFileBytes)
        throw ScenarioFileError(FormatError::FileTooLarge, tooManyEntries());
    return text + "\n";
}

EditorDataRead readEditorData(std::string_view text) {
    // Nothing read, and why.
    auto refused = [](std::string why) { return EditorDataRead{{}, std::move(why), true, {}}; };
    nlohmann::json json;
    if (auto fault = parseFault(text, json))
        return refused(std::move(*fault));
    const auto format = json.is_object() ? json.find("formato") : json.end();
    if (format == json.end() || !format->is_string() || *format != kFormat)
        return refused("non è un file di dati dell'editor");
    const auto version = json.find("versione");
    if (version == json.end() || !version->is_number_integer() || *version < 1)
        return refused("manca il numero di versione");
    if (*version > kEditorDataVersion)
        return refused("è di una versione più recente dell'editor (" +
                       std::to_string(version->get<long long>()) + "), che questa non sa leggere");
    EditorDataRead read;
    std::vector<std::string> ignored;
    readMinutes(json, read.data.settings, ignored);
    readPath(json, kBaseDay, "il giorno base", read.data.baseDay, ignored);
    readPath(json, kRecoveredFrom, "il file dello scenario", read.data.recoveredFrom, ignored);
    readDay(json, read.data.serviceDay, ignored);
    readList(json, kLinks, linkOf, kMostStoredLinks, read.data.links,
             {"i collegamenti non sono un elenco", "collegamento non si legge",
              "collegamenti non si leggono"},
             ignored);
    readList(json, kRules, ruleOf, kMostTrackRules, read.data.trackRules,
             {"le regole dei binari non sono un elenco", "regola dei binari non si legge",
              "regole dei binari non si leggono"},
             ignored);
    readAssignment(json, read.data);
    readBoards(json, read.data.boards);
    read.belongsTo = identityIn(json);
    if (!ignored.empty()) {
        read.note = ignored.front();
        for (std::size_t k = 1; k < ignored.size(); ++k)
            *read.note += "; " + ignored[k];
        read.unread = true;
    }
    return read;
}

} // namespace zeb
