#include "companion/editor_data.h"

#include "model/counted.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "track_rules/rules_csv.h"

#include <nlohmann/json.hpp>

#include <filesystem>
#include <optional>
#include <vector>

namespace zeb {

namespace {

constexpr const char* kFormat = "zebrano-editor";
constexpr int kMostMinutes = 1440;
constexpr const char* kBaseDay = "giornoBase";
constexpr const char* kLinks = "collegamenti";
constexpr const char* kRules = "regoleBinari";
constexpr const char* kAssignment = "assegnazione";

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
}

void readBaseDay(const nlohmann::json& json, std::string& baseDay,
                 std::vector<std::string>& ignored) {
    const auto given = json.find(kBaseDay);
    if (given == json.end())
        return;
    if (given->is_string() && !given->get_ref<const std::string&>().empty())
        baseDay = given->get<std::string>();
    else
        ignored.push_back("il giorno base non è il nome di un file");
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
void readList(const nlohmann::json& json, const char* key, EntryOf entryOf,
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
        if (const auto read = entryOf(entry))
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

} // namespace

std::string companionPathOf(const std::string& scenarioPath) {
    return scenarioPath + "-editor";
}

std::string editorDataText(const EditorData& data) {
    nlohmann::ordered_json json;
    json["formato"] = kFormat;
    json["versione"] = kEditorDataVersion;
    for (const MinutesKey& minutes : kMinutes)
        json["impostazioni"][minutes.key] = data.settings.*minutes.field;
    if (!data.baseDay.empty())
        json[kBaseDay] = data.baseDay;
    if (data.buffer != EditorData{}.buffer || data.timeLimit != EditorData{}.timeLimit)
        json[kAssignment] = {{"margine", data.buffer}, {"tempoMassimo", data.timeLimit}};
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
    return text + "\n";
}

EditorDataRead readEditorData(std::string_view text) {
    EditorDataRead read;
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object() || json.value("formato", "") != kFormat) {
        read.note = "non è un file di dati dell'editor";
        return read;
    }
    const auto version = json.find("versione");
    if (version == json.end() || !version->is_number_integer() || *version < 1) {
        read.note = "manca il numero di versione";
        return read;
    }
    if (*version > kEditorDataVersion) {
        read.note = "è di una versione più recente dell'editor (" +
                    std::to_string(version->get<long long>()) + "), che questa non sa leggere";
        return read;
    }
    std::vector<std::string> ignored;
    readMinutes(json, read.data.settings, ignored);
    readBaseDay(json, read.data.baseDay, ignored);
    readList(json, kLinks, linkOf, read.data.links,
             {"i collegamenti non sono un elenco", "collegamento non si legge",
              "collegamenti non si leggono"},
             ignored);
    readList(json, kRules, ruleOf, read.data.trackRules,
             {"le regole dei binari non sono un elenco", "regola dei binari non si legge",
              "regole dei binari non si leggono"},
             ignored);
    readAssignment(json, read.data);
    if (!ignored.empty()) {
        read.note = ignored.front();
        for (std::size_t k = 1; k < ignored.size(); ++k)
            *read.note += "; " + ignored[k];
    }
    return read;
}

EditorDataRead loadEditorData(const std::string& scenarioPath) {
    const std::string path = companionPathOf(scenarioPath);
    std::error_code absent;
    if (!std::filesystem::exists(path, absent))
        return {};
    EditorDataRead read;
    try {
        read = readEditorData(readScenarioFile(path));
    } catch (const ScenarioFileError& error) {
        read.note = error.message();
    }
    if (!read.data.baseDay.empty()) {
        const std::filesystem::path base(read.data.baseDay);
        if (base.is_relative())
            read.data.baseDay =
                (std::filesystem::path(scenarioPath).parent_path() / base).lexically_normal();
    }
    if (read.note)
        read.note =
            "Il file " + std::filesystem::path(path).filename().string() + " accanto allo " +
            "scenario " + *read.note + ". Lo scenario è aperto con le impostazioni " +
            "predefinite per ciò che non si è letto; il file resta com'è finché non si " + "salva.";
    return read;
}

void saveEditorData(const std::string& scenarioPath, const EditorData& data) {
    EditorData written = data;
    if (!data.baseDay.empty()) {
        // Beside the scenario, or in a folder near it: named from the scenario's folder.
        std::error_code unknown;
        const auto folder = std::filesystem::absolute(scenarioPath, unknown).parent_path();
        const auto base = std::filesystem::absolute(data.baseDay, unknown);
        const auto relative = base.lexically_relative(folder);
        if (!unknown && !relative.empty())
            written.baseDay = relative.generic_string();
    }
    replaceFileContents(companionPathOf(scenarioPath), editorDataText(written));
}

} // namespace zeb
