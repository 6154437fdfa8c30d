// The CSV import of a file of 64 MiB: a header and blank lines, which once took gigabytes.
#include "bench_days.h"
#include "child_jobs.h"

#include "csv_exchange/trains_csv.h"
#include "model/track_slots.h"
#include "scenario_file/line_source.h"

#include <benchmark/benchmark.h>

#include <fstream>

namespace zeb::bench {
namespace {

// The trains of the full day as CSV, and back into a station without any.
void ExportCsv(benchmark::State& state) {
    const Scenario s = fullScenario();
    for (auto _ : state)
        benchmark::DoNotOptimize(trainsCsv(s));
}

// 2001 trains into a station without any.
void ImportCsv(benchmark::State& state) {
    const std::string csv = trainsCsv(fullScenario());
    Scenario station = fullScenario();
    station.totale_treni = 0;
    for (auto _ : state) {
        const CsvImport result = importTrainsCsv(station, csv);
        if (result.trains.size() != static_cast<std::size_t>(kMaxTrains))
            state.SkipWithError("the import failed");
    }
}

const std::string& blankLinesFile() {
    static const std::string path = [] {
        const std::string file = "/tmp/zebrano-bench-blank-lines.csv";
        std::ofstream out(file, std::ios::binary);
        const std::string header = "Numero;Categoria\n";
        out << header << std::string((64u << 20) - header.size(), '\n');
        return file;
    }();
    return path;
}

Scenario station() {
    Scenario s;
    s.binari_scelti[0] = true;
    rebuildTrackTable(s);
    return s;
}

std::size_t importBlankLines() {
    const CsvImport result = importTrainsCsv(station(), readScenarioFile(blankLinesFile()));
    return result.ok() ? result.trains.size() + 1 : 0;
}

} // namespace

int csvBlankLinesJob() {
    return importBlankLines() == 1 ? 0 : 1;
}

namespace {

void ImportCsvBlankLines64MiB(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(importBlankLines());
    state.counters["peak_MB"] = peakMegabytesOf("csv-blank-lines");
}

BENCHMARK(ImportCsvBlankLines64MiB)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportCsv)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportCsv)->Unit(benchmark::kMillisecond);

} // namespace

} // namespace zeb::bench
