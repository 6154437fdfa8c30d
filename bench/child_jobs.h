#pragma once

#include <string_view>

namespace zeb::bench {

// Work measured for its peak memory in a process of its own: `zebrano-bench --child NAME` runs
// job NAME, prints its own peak memory in kB and ends.
inline constexpr std::string_view kChildArgument = "--child";
int gtfsImportJob();
int csvBlankLinesJob();
int gtfsBombJob(std::string_view name); // "gtfs-bomb:NAME"

// Runs `job` in a fresh process; its peak memory in MB, or -1 when it failed.
double peakMegabytesOf(const char* job);
// The child's side: runs the job named `name`; its exit status.
int runChildJob(std::string_view name);

} // namespace zeb::bench
