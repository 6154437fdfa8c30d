#pragma once

#include "model/counted.h"
#include "model/scenario.h"
#include "model/train_links.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace zeb {

// The scenario at `path`, or null with its "number description" on `err`.
std::unique_ptr<Scenario> loadScenario(const std::string& path, std::ostream& err);
// The links that the editor's data beside the scenario at `path` give among the trains of `s`;
// none where there are no such data. What cannot be read is said where the data are read first.
TrainLinks linksBeside(const Scenario& s, const std::string& path);
// Saves `s` as `path` with the editor's `data` beside it, its links being `links` among the
// trains of `s`, as one (neither is written where either fails); false with the "number
// description" of what failed on `err`. A new scenario so replaces the old one's data too.
struct EditorData;
bool saveWithEditorData(Scenario& s, const std::string& path, EditorData data,
                        const TrainLinks& links, std::ostream& err);

} // namespace zeb
