#pragma once

#include <iosfwd>
#include <optional>
#include <string>

namespace zeb {

// A variant of a day against its base: one line a changed field, removed or added train ("2231
// 07:45 Binario: 3 → 5"), then a summary; with `csvPath`, the same as CSV through a safe
// replacement. Exit 0 when the days are equal, 1 when they differ, 2 when a file cannot be read or
// written.
int confrontaCommand(const std::string& basePath, const std::string& variantPath,
                     const std::optional<std::string>& csvPath, std::ostream& out,
                     std::ostream& err);

} // namespace zeb
