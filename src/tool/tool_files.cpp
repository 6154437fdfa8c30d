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

TrainLinks linksBeside(const Scenario& s, const std::string& path) {
    return findLinks(s, loadEditorData(path).data.links).links;
}

bool saveWithEditorData(Scenario& s, const std::string& path, EditorData data,
                        const TrainLinks& links, std::ostream& err) {
    s.nome_file = path;
    data.links = storedLinks(s, links);
    try {
        saveScenarioPair(s, path, data);
    } catch (const ScenarioFileError& error) {
        err << path << ": " << error.message() << "\n";
        return false;
    }
    return true;
}

} // namespace zeb
