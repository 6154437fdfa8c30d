#pragma once

#include "model/scenario.h"

#include <string_view>

namespace zeb {

// Reads the scenario file s.nome_file_carica into `s`: the station header, the track table
// (then turned into slot flags by Controlla_Binari_2) and the train records from index 0.
// Records are written over what the table held; fields a record does not set keep their value.
//
// Throws ScenarioFileError at the first error, with the 1-based line number in the
// description; `s` is then partly read, so callers read into a copy and keep it only when the
// whole file was read. An empty file reads nothing and is not an error.
void Funzione_Carica(Scenario& s);

// The same for a file's bytes already in memory.
void readScenario(Scenario& s, std::string_view bytes);

} // namespace zeb
