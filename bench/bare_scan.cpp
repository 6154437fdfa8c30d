#include "bare_scan.h"

#include <benchmark/benchmark.h>
#include <zip.h>

#include <algorithm>
#include <chrono>

namespace zeb::bench {

double inflateAndCountSeconds(const std::string& path, const std::vector<std::string>& files) {
    const auto start = std::chrono::steady_clock::now();
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_RDONLY, &error);
    if (!archive)
        return 0;
    std::vector<char> buffer(1 << 20);
    long lines = 0;
    for (const std::string& name : files) {
        zip_file_t* file = zip_fopen(archive, name.c_str(), 0);
        if (!file)
            continue;
        zip_int64_t got = 0;
        while ((got = zip_fread(file, buffer.data(), buffer.size())) > 0)
            lines += std::count(buffer.data(), buffer.data() + got, '\n');
        zip_fclose(file);
    }
    zip_discard(archive);
    benchmark::DoNotOptimize(lines);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace zeb::bench
