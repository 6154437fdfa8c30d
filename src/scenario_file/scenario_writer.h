#pragma once

#include "model/scenario.h"

#include <string>

namespace zeb {

// The bytes of the scenario file of `s`: the station header and one 14-line block per stored
// train, Windows-1252, CR LF after every line, each train's type code derived from its origin
// and destination.
// A line break inside a value is written as one blank, so the file keeps its 4 + 14 x N lines.
// Throws ScenarioFileError, naming the train and the field, for a value that could not be read
// back: a character outside Windows-1252, a category, delay or subsidiary code outside the
// editor's lists, or a line or file past the limits of file_limits.h.
std::string scenarioFileBytes(const Scenario& s);

// Saves `s` to s.nome_file, replacing an existing file only once the new one is complete, and
// then stores each train's type code as written and leaves treno_attuale at the new-train slot.
// Throws ScenarioFileError; on failure the old file and treno_attuale are left as they were.
void Funzione_Salva_Con_Nome(Scenario& s);

// What writing the scenario's bytes changes in it: each train's type code as written, and the
// new-train slot shown.
void noteScenarioWritten(Scenario& s);

} // namespace zeb
