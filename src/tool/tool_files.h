#pragma once

#include "model/counted.h"
#include "model/scenario.h"

#include <iosfwd>
#include <memory>
#include <string>

namespace zeb {

// The scenario at `path`, or null with its "number description" on `err`.
std::unique_ptr<Scenario> loadScenario(const std::string& path, std::ostream& err);
// Saves `s` as `path`; false with its "number description" on `err`.
bool saveScenarioAs(Scenario& s, const std::string& path, std::ostream& err);

} // namespace zeb
