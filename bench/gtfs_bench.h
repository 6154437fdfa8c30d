#pragma once

namespace zeb::bench {

// Run as `zebrano-bench --gtfs-import-child`, the program imports the generated feed's busy
// station and ends, so that its parent can read the peak memory of an import alone.
inline constexpr const char* kImportChildArgument = "--gtfs-import-child";
int importInChild();

} // namespace zeb::bench
