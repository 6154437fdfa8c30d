#pragma once

#include <string_view>
#include <vector>

namespace zeb::bench {

// Work measured for its memory in a process of its own: `zebrano-bench --child NAME` runs job
// NAME, which may print figures, prints its own peak memory in kB and ends. The peak is read from
// the process itself: the system's count for a child starts from the parent's, as exec keeps it.
inline constexpr std::string_view kChildArgument = "--child";
int gtfsImportJob();
int csvBlankLinesJob();
int gtfsBombJob(std::string_view name); // "gtfs-bomb:NAME"
int historyJob(std::string_view name);  // "history-notes", "history-small-texts"

// The process's resident memory in kB as /proc/self/status gives `field` ("VmRSS:", "VmHWM:").
long ownMemoryKilobytes(std::string_view field);
// Runs `job` in a fresh process; the figures it printed, its peak memory in kB last; empty when
// it failed.
std::vector<double> childFigures(const char* job);

// Runs `job` in a fresh process; its peak memory in MB, or -1 when it failed.
double peakMegabytesOf(const char* job);
// The child's side: runs the job named `name`; its exit status.
int runChildJob(std::string_view name);

} // namespace zeb::bench
