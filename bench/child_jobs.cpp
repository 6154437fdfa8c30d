#include "child_jobs.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zeb::bench {

namespace {} // namespace

long ownMemoryKilobytes(std::string_view field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with(field))
            return std::stol(line.substr(field.size()));
    }
    return -1;
}

std::vector<double> childFigures(const char* job) {
    char self[4096];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    if (length <= 0)
        return {};
    self[length] = '\0';
    const std::string command =
        "'" + std::string(self) + "' " + std::string(kChildArgument) + " '" + job + "'";
    FILE* child = popen(command.c_str(), "r");
    if (!child)
        return {};
    std::vector<double> figures;
    for (double figure = 0; std::fscanf(child, "%lf", &figure) == 1;)
        figures.push_back(figure);
    const int status = pclose(child);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return {};
    return figures;
}

double peakMegabytesOf(const char* job) {
    const std::vector<double> figures = childFigures(job);
    return figures.empty() ? -1.0 : figures.back() / 1024.0;
}

int runChildJob(std::string_view name) {
    int status = 2;
    if (name == "gtfs-import")
        status = gtfsImportJob();
    else if (name == "csv-blank-lines")
        status = csvBlankLinesJob();
    else if (name.starts_with("history-"))
        status = historyJob(name);
    else if (name.starts_with("gtfs-bomb:"))
        status = gtfsBombJob(name.substr(name.find(':') + 1));
    std::printf("%ld\n", ownMemoryKilobytes("VmHWM:"));
    return status;
}

} // namespace zeb::bench
