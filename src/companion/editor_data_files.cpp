#include "companion/editor_data.h"

#include "scenario_file/file_paths.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_writer.h"

#include <cerrno>
#include <ctime>
#include <filesystem>

namespace zeb {

namespace {

constexpr const char* kAsideMark = ".non-letto-";

// The identity of the file at `path`; none for a file that cannot be read.
std::optional<ScenarioIdentity> identityOfFile(const std::string& path) {
    try {
        return identityOf(readScenarioFile(path));
    } catch (const ScenarioFileError&) {
        return std::nullopt;
    }
}

std::string lowerFirst(std::string text) {
    if (text.starts_with("È"))
        return "è" + text.substr(std::string("È").size());
    if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z')
        text[0] = static_cast<char>(text[0] - 'A' + 'a');
    return text;
}

// A file name the system takes: 255 bytes on every system the editor runs on.
constexpr std::size_t kLongestFileName = 255;

std::string today() {
    const std::time_t now = std::time(nullptr);
    char day[16];
    std::strftime(day, sizeof day, "%Y-%m-%d", std::localtime(&now));
    return day;
}

// A companion file that was not read whole goes aside before a save writes over it, so that what
// this editor could not read (a newer editor's file, a file cut short) is never lost.
void keepUnreadAside(const std::string& companion) {
    std::error_code absent;
    if (!std::filesystem::is_regular_file(pathOf(companion), absent))
        return;
    bool unread = true;
    try {
        unread = readEditorData(readScenarioFile(companion)).unread;
    } catch (const ScenarioFileError&) {
    }
    if (!unread)
        return;
    std::error_code failed;
    std::filesystem::rename(pathOf(companion), pathOf(asideNameFor(companion, today())), failed);
    if (failed)
        throw ScenarioFileError::fromErrno(failed.value());
}

} // namespace

std::string asideNameFor(const std::string& companionPath, const std::string& day) {
    const std::string first = companionPath + kAsideMark + day;
    std::string name = first;
    std::error_code unknown;
    for (int k = 2; std::filesystem::exists(std::filesystem::symlink_status(pathOf(name), unknown));
         ++k)
        name = first + "-" + std::to_string(k);
    return name;
}

PairOnDisk writeScenarioPair(const std::string& path, const std::string& scenarioBytes,
                             const EditorData& data) {
    const std::string scenario = savedTarget(path);
    const std::string companion = companionPathOf(scenario);
    if (utf8Of(pathOf(companion).filename()).size() > kLongestFileName)
        throw ScenarioFileError(
            ENAMETOOLONG,
            "Il nome dello scenario è troppo lungo per il file dei dati "
            "dell'editor accanto: va accorciato di " +
                std::to_string(utf8Of(pathOf(companion).filename()).size() - kLongestFileName) +
                " byte");
    const std::string companionText = companionTextFor(scenario, scenarioBytes, data);
    PendingReplacement companionFile(companion, companionText);
    PendingReplacement scenarioFile(scenario, scenarioBytes);
    keepUnreadAside(companionFile.target());
    // The old companion file names the old scenario: a kill between the renames leaves a pair
    // that says it is split. Without an old one, the new one goes first and says the same.
    std::error_code unknown;
    if (std::filesystem::exists(pathOf(companionFile.target()), unknown)) {
        scenarioFile.commit();
        companionFile.commit();
    } else {
        companionFile.commit();
        scenarioFile.commit();
    }
    return {identityOf(scenarioBytes), identityOf(companionText)};
}

PairOnDisk saveScenarioPair(Scenario& s, const std::string& path, const EditorData& data) {
    const PairOnDisk written = writeScenarioPair(path, scenarioFileBytes(s), data);
    noteScenarioWritten(s);
    return written;
}

PairOnDisk pairOnDisk(const std::string& scenarioPath) {
    const std::string scenario = savedTarget(scenarioPath);
    return {identityOfFile(scenario), identityOfFile(companionPathOf(scenario))};
}

ScenarioIdentity identityOf(std::string_view scenarioBytes) {
    return {scenarioBytes.size(), digestText(scenarioBytes)};
}

EditorDataRead loadEditorData(const std::string& scenarioPath) {
    const std::string scenario = savedTarget(scenarioPath);
    const std::string path = companionPathOf(scenario);
    const std::string name = utf8Of(pathOf(path).filename());
    std::error_code absent;
    if (!std::filesystem::exists(pathOf(path), absent))
        return {};
    EditorDataRead read;
    try {
        read = readEditorData(readScenarioFile(path));
    } catch (const ScenarioFileError& error) {
        read.note = lowerFirst(error.description());
        read.unread = true;
    }
    if (!read.data.baseDay.empty()) {
        const std::filesystem::path base = pathOf(read.data.baseDay);
        if (base.is_relative())
            read.data.baseDay = utf8Of((pathOf(scenario).parent_path() / base).lexically_normal());
    }
    const std::string kept = " Un salvataggio dello scenario non lo sovrascrive: lo conserva "
                             "accanto, come " +
                             name + kAsideMark + " seguito dalla data.";
    if (read.unread && read.data == EditorData{})
        read.note = "Il file " + name + " accanto allo scenario non si può leggere (" + *read.note +
                    "): valgono le impostazioni predefinite." + kept;
    else if (read.unread)
        read.note = "Del file " + name + " accanto allo scenario non si legge tutto (" +
                    *read.note + "): ciò che non si legge ha i valori predefiniti." + kept;
    if (read.belongsTo && identityOfFile(scenario) != read.belongsTo) {
        const std::string other = "I dati dell'editor del file " + name +
                                  " sono di un'altra versione di questo scenario: i collegamenti "
                                  "si ritrovano, dove si può, per numero e orario dei treni.";
        read.note = read.note ? *read.note + "\r\n" + other : other;
    }
    return read;
}

std::string companionTextFor(const std::string& scenarioPath, std::string_view scenarioBytes,
                             const EditorData& data) {
    EditorData written = data;
    if (!data.baseDay.empty()) {
        // Beside the scenario, or in a folder near it: named from the scenario's folder.
        std::error_code unknown;
        const auto folder =
            std::filesystem::absolute(pathOf(savedTarget(scenarioPath)), unknown).parent_path();
        const auto base = std::filesystem::absolute(pathOf(data.baseDay), unknown);
        const auto relative = base.lexically_relative(folder);
        if (!unknown && !relative.empty())
            written.baseDay = utf8Of(relative.generic_u8string());
    }
    return editorDataText(written, identityOf(scenarioBytes));
}

} // namespace zeb
