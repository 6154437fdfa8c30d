#include "companion/editor_data.h"

#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"

#include <nlohmann/json.hpp>

#include <filesystem>

namespace zeb {

namespace {

constexpr const char* kFormat = "zebrano-editor";
constexpr int kMostMinutes = 1440;

struct MinutesKey {
    const char* key;
    int CheckSettings::*field;
};
constexpr MinutesKey kMinutes[] = {{"separazione", &CheckSettings::separation},
                                   {"sosta", &CheckSettings::turnaround},
                                   {"preparazione", &CheckSettings::preparation}};

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
    return json.dump(2) + "\n";
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
    const auto settings = json.find("impostazioni");
    if (settings == json.end() || !settings->is_object())
        return read;
    std::string ignored;
    for (const MinutesKey& minutes : kMinutes) {
        const auto value = settings->find(minutes.key);
        if (value == settings->end())
            continue;
        if (value->is_number_integer() && *value >= 0 && *value <= kMostMinutes)
            read.data.settings.*minutes.field = value->get<int>();
        else
            ignored += std::string(ignored.empty() ? "" : ", ") + minutes.key;
    }
    if (!ignored.empty())
        read.note = "i minuti di " + ignored + " non sono un numero intero da 0 a " +
                    std::to_string(kMostMinutes) + ": valgono quelli predefiniti";
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
    if (read.note)
        read.note =
            "Il file " + std::filesystem::path(path).filename().string() + " accanto allo " +
            "scenario " + *read.note + ". Lo scenario è aperto con le impostazioni " +
            "predefinite per ciò che non si è letto; il file resta com'è finché non si " + "salva.";
    return read;
}

void saveEditorData(const std::string& scenarioPath, const EditorData& data) {
    replaceFileContents(companionPathOf(scenarioPath), editorDataText(data));
}

} // namespace zeb
