// libFuzzer target: arbitrary bytes as a CSV file of trains, imported into a station. The import
// is all or nothing; every text it accepts is one line of Windows-1252; what it accepts saves and
// reloads; exported and imported again, it gives the same file. The same bytes as a file of track
// rules: what is accepted exports and imports again the same, and so through the editor's data.
#include "companion/editor_data.h"
#include "csv_exchange/trains_csv.h"
#include "fuzz/imported_texts.h"
#include "model/track_slots.h"
#include "scenario_file/scenario_file_error.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "track_rules/rules_csv.h"

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace {

[[noreturn]] void fault(const char* what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what, detail.c_str());
    std::abort();
}

zeb::Scenario station() {
    zeb::Scenario s;
    s.nome_stazione = "Valmora";
    s.ora_inizio = "6";
    s.min_inizio = "30";
    s.binari_scelti[0] = s.binari_scelti[1] = s.binari_scelti[23] = true;
    zeb::rebuildTrackTable(s);
    return s;
}

// The file `s` saves to, or an abort naming `what`.
std::string saved(const zeb::Scenario& s, const char* what) {
    try {
        return zeb::scenarioFileBytes(s);
    } catch (const zeb::ScenarioFileError& error) {
        fault(what, error.message());
    }
}

void checkRules(std::string_view bytes, const std::vector<std::string>& tracks) {
    const zeb::RulesImport read = zeb::importRulesCsv(bytes, tracks);
    if (!read.errors.empty()) {
        if (!read.rules.empty())
            fault("a refused rules file kept rules", "");
        return;
    }
    const zeb::RulesImport again = zeb::importRulesCsv(zeb::rulesCsv(read.rules), tracks);
    if (!again.errors.empty())
        fault("the export of imported rules is refused", again.errors.front());
    if (again.rules != read.rules)
        fault("rules exported and imported again differ", "");
    zeb::EditorData data;
    data.trackRules = read.rules;
    const zeb::EditorDataRead kept = zeb::readEditorData(zeb::editorDataText(data));
    if (kept.note || kept.data.trackRules != read.rules)
        fault("rules kept beside the scenario read back otherwise", kept.note.value_or(""));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    zeb::Scenario s = station();
    checkRules(bytes, zeb::stationTrackNames(s));
    zeb::CsvImport result = zeb::importTrainsCsv(s, bytes);
    if (!result.ok()) {
        if (!result.trains.empty())
            fault("a refused import kept trains", "");
        return 0;
    }
    for (const zeb::Treno& t : result.trains) {
        if (const std::string field = zeb::test::textNotClean(t); !field.empty())
            fault("an imported text is not one line of Windows-1252", field);
    }
    const std::size_t count = result.trains.size();
    zeb::appendImportedTrains(s, result);
    const std::string first = saved(s, "the writer refuses what the import accepted");
    zeb::Scenario reloaded;
    try {
        zeb::readScenario(reloaded, first);
    } catch (const zeb::ScenarioFileError& error) {
        fault("an imported scenario does not load", error.message());
    }
    if (static_cast<std::size_t>(reloaded.totale_treni) != count)
        fault("the reloaded scenario has other trains", "");

    zeb::Scenario again = station();
    zeb::CsvImport second = zeb::importTrainsCsv(again, zeb::trainsCsv(reloaded));
    if (!second.ok())
        fault("the export of an import is refused", second.errors.front());
    zeb::appendImportedTrains(again, second);
    if (saved(again, "the writer refuses a second import") != first)
        fault("export and import again give another file", "");
    return 0;
}
