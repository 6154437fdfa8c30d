#include "tool/tool_files.h"

#include "companion/editor_data.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"

#include <ostream>

namespace zeb {

std::unique_ptr<Scenario> loadScenario(const std::string& path, std::ostream& err) {
    auto s = std::make_unique<Scenario>();
    s->nome_file_carica = path;
    try {
        Funzione_Carica(*s);
    } catch (const ScenarioFileError& error) {
        err << path << ": " << error.message() << "\n";
        return nullptr;
    }
    return s;
}

bool saveScenarioAs(Scenario& s, const std::string& path, std::ostream& err) {
    s.nome_file = path;
    try {
        Funzione_Salva_Con_Nome(s);
    } catch (const ScenarioFileError& error) {
        err << path << ": " << error.message() << "\n";
        return false;
    }
    return true;
}

TrainLinks linksBeside(const Scenario& s, const std::string& path) {
    return findLinks(s, loadEditorData(path).data.links).links;
}

bool saveWithEditorData(Scenario& s, const std::string& path, EditorData data,
                        const TrainLinks& links, std::ostream& err) {
    if (!saveScenarioAs(s, path, err))
        return false;
    data.links = storedLinks(s, links);
    try {
        saveEditorData(path, data);
    } catch (const ScenarioFileError& error) {
        err << companionPathOf(path) << ": " << error.message() << "\n";
        return false;
    }
    return true;
}

} // namespace zeb
