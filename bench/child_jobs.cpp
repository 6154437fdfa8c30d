#include "child_jobs.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace zeb::bench {

namespace {

// The process's own peak of resident memory, in kB. The system's count for a child would start
// from the parent's peak, which exec carries over.
long ownPeakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    }
    return -1;
}

} // namespace

double peakMegabytesOf(const char* job) {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return -1.0;
    self[length] = '\0';
    const std::string command =
        "'" + std::string(self) + "' " + std::string(kChildArgument) + " '" + job + "'";
    FILE* child = popen(command.c_str(), "r");
    if (!child)
        return -1.0;
    long kilobytes = -1;
    if (std::fscanf(child, "%ld", &kilobytes) != 1)
        kilobytes = -1;
    const int status = pclose(child);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && kilobytes > 0
               ? static_cast<double>(kilobytes) / 1024.0
               : -1.0;
}

int runChildJob(std::string_view name) {
    int status = 2;
    if (name == "gtfs-import")
        status = gtfsImportJob();
    else if (name == "csv-blank-lines")
        status = csvBlankLinesJob();
    else if (name.starts_with("gtfs-bomb:"))
        status = gtfsBombJob(name.substr(name.find(':') + 1));
    std::printf("%ld\n", ownPeakKilobytes());
    return status;
}

} // namespace zeb::bench
