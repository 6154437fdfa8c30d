#pragma once

#include "model/scenario.h"
#include "variants/day_comparison.h"

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// Writes the notice of a day's differences to a file, with the day's name where given; returns
// why it could not, "" when written.
using NoticeWriter = std::function<std::string(
    const std::string& path, const Scenario& base, const Scenario& variant,
    const std::vector<TrainDifference>& differences, const std::string& day)>;

// A variant of a day against its base: one line a changed field, removed or added train ("2231
// 07:45 Binario: 3 → 5"), then a summary; with `csvPath`, the same as CSV through a safe
// replacement; with `noticePath`, the notice for the passengers through `writeNotice`, titled
// with `day` ("AAAA-MM-GG") where given. Exit 0 when the days are equal, 1 when they differ, 2
// when a file cannot be read or written or the day is no date.
struct CompareRequest {
    std::string base;
    std::string variant;
    std::optional<std::string> csv{};
    std::optional<std::string> notice{};
    std::optional<std::string> day{};
};
int confrontaCommand(const CompareRequest& request, const NoticeWriter& writeNotice,
                     std::ostream& out, std::ostream& err);

} // namespace zeb
