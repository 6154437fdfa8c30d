#include "companion/stored_links.h"
#include "document/scenario_document.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/scenario_reader.h"

#include <filesystem>

namespace zeb {

void ScenarioDocument::readScenario(const std::string& path) {
    // Read into a copy, kept only when the whole file was read: after an error the scenario is
    // as it was.
    Scenario loaded = s_;
    loaded.nome_file_carica = path;
    Funzione_Carica(loaded);
    s_ = std::move(loaded);
}

std::string ScenarioDocument::readBeside(const std::string& path) {
    replaced();
    const EditorDataRead companion = loadEditorData(path);
    data_ = companion.data;
    settleData();
    const FoundLinks found = findLinks(s_, data_.links);
    history_.setLinks(found.links);
    rememberFileOnDisk();
    std::string note = companion.note.value_or("");
    if (found.ignored > 0)
        note += std::string(note.empty() ? "" : "\r\n") + "Del file " +
                utf8Of(pathOf(companionPathOf(path)).filename()) + " " +
                (found.ignored == 1 ? "un collegamento nomina"
                                    : std::to_string(found.ignored) + " collegamenti nominano") +
                " treni che lo scenario non ha, o li nomina due volte: " +
                (found.ignored == 1 ? "è ignorato" : "sono ignorati") +
                ". Il file resta com'è finché non si salva.";
    return note;
}

std::string ScenarioDocument::open(const std::string& path) {
    readScenario(path);
    return readBeside(path);
}

void ScenarioDocument::save(const std::string& path) {
    const std::string name = s_.nome_file;
    s_.nome_file = path;
    data_.links = storedLinks(s_, history_.links());
    try {
        onDisk_ = offered_ = saveScenarioPair(s_, path, data_);
    } catch (...) {
        s_.nome_file = name;
        throw;
    }
    history_.resync(s_); // the save wrote the type codes, which are no change of the user's
    settleData();        // nor is the base day a variant's save names
    unsaved_ = false;
}

std::optional<std::string> ScenarioDocument::file() const {
    const std::string& path = !s_.nome_file.empty() ? s_.nome_file : s_.nome_file_carica;
    if (!isOpen() || path.empty() || path == recoveredCopy_)
        return std::nullopt;
    return path;
}

void ScenarioDocument::rememberFileOnDisk() {
    const auto path = file();
    onDisk_ = offered_ = path ? pairOnDisk(*path) : PairOnDisk{};
}

bool ScenarioDocument::changedOnDisk() const {
    const auto path = file();
    return path && pairOnDisk(*path) != onDisk_;
}

bool ScenarioDocument::changeToOffer() {
    const auto path = file();
    if (!path)
        return false;
    const PairOnDisk now = pairOnDisk(*path);
    if (now == onDisk_ || now == offered_)
        return false;
    offered_ = now; // asked once for each change made elsewhere
    return true;
}

} // namespace zeb
