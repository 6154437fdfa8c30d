#pragma once

#include "model/scenario.h"
#include "variants/day_comparison.h"

#include <functional>
#include <string>
#include <vector>

namespace zeb {

// Writes the notice of a day's differences to a file, with the day's name where given; returns
// why it could not, "" when written.
using NoticeWriter = std::function<std::string(
    const std::string& path, const Scenario& base, const Scenario& variant,
    const std::vector<TrainDifference>& differences, const std::string& day)>;

} // namespace zeb
