#pragma once

#include <string>
#include <vector>

namespace zeb::bench {

// Seconds to inflate `files` of the zip at `path` and count their lines, on one thread and with
// the zip library alone: the least any reading of them costs, the yardstick of the imports.
// Files the zip lacks are passed over.
double inflateAndCountSeconds(const std::string& path, const std::vector<std::string>& files);

} // namespace zeb::bench
