// The benchmark program: load and save of a 2001-train scenario beside bare reads and writes of
// the same bytes, and one tick of the periodic refresh, with heap allocations counted.
#include "allocation_counter.h"
#include "bench_days.h"
#include "child_jobs.h"
#include "csv_exchange/trains_csv.h"
#include "layout/occupancy_chart.h"
#include "model/track_slots.h"
#include "model/value_tables.h"
#include "paper/chart_painter.h"
#include "paper/paper_files.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/line_source.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "timetable/checker.h"
#include "variants/day_comparison.h"
#include "views/editor/editor_window.h"
#include "views/editor/recovery_writer.h"
#include "views/timetable/occupancy_window.h"
#include "views/timetable/timetable_watch.h"
#include "views/timetable/train_table_window.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace zeb::bench {
namespace {

const char* const kDestinations[] = {"Milano Centrale", "Torino Porta Nuova",  "Genova Brignole",
                                     "Bologna",         "Venezia Santa Lucia", "Roma Termini"};

} // namespace

// A full table of ordinary trains: every kind of end, every category, short stops and notes,
// 87 trains a day on each of 23 tracks, 16 minutes apart, so that few of them conflict.
Scenario fullScenario() {
    Scenario s;
    s.nome_stazione = "Valmora";
    s.ora_inizio = "05";
    s.min_inizio = "30";
    for (int slot = 0; slot < kMaxChosenTracks; ++slot)
        s.binari_scelti[slot] = true;
    rebuildTrackTable(s);
    for (int i = 0; i < kMaxTrains; ++i) {
        Treno& t = s.treni[i];
        const int categoria = i % 16;
        const int base = (i / kMaxChosenTracks) * 16 + (i % kMaxChosenTracks) % 16;
        t.numero = std::to_string(2000 + i);
        t.categoria = kCategorie[categoria];
        t.indice_categoria = std::to_string(categoria);
        t.ritardo = std::to_string(i % 5);
        if (i % 3 != 0) {
            t.provenienza = kDestinations[i % 6];
            t.ora_arrivo = std::to_string(base / 60);
            t.min_arrivo = std::to_string(base % 60);
        }
        if (i % 3 != 1) {
            const int departure = base + (i % 3 == 0 ? 10 : 2);
            t.destinazione = kDestinations[(i + 3) % 6];
            t.ora_partenza = std::to_string(departure / 60);
            t.min_partenza = std::to_string(departure % 60);
            t.fermate = "Pavia,Voghera,Tortona,.";
        } else {
            t.fermate = std::string(kTerminaQui) + std::string(kFineFermate);
        }
        t.binario = s.tabella_binari[i % kMaxChosenTracks].nome;
        t.codice_sussidiaria = std::to_string(i % 11);
        t.sussidiaria = kSussidiarie[i % 11];
        t.note = i % 4 == 0 ? "Ferma a richiesta" : "";
    }
    s.totale_treni = kMaxTrains;
    return s;
}

// The worst day for the checker: 2001 trains on track 1 within one hour, all in conflict.
Scenario oneTrackOneHour() {
    Scenario s = fullScenario();
    for (int i = 0; i < kMaxTrains; ++i) {
        Treno& t = s.treni[static_cast<std::size_t>(i)];
        t.categoria = "Regionale";
        t.indice_categoria = "13";
        t.binario = "1";
        t.provenienza = "Milano Centrale";
        t.destinazione = "Roma Termini";
        t.ora_arrivo = t.ora_partenza = "7";
        t.min_arrivo = std::to_string(i % 58);
        t.min_partenza = std::to_string(i % 58 + 1);
        t.fermate = "Bologna,.";
    }
    return s;
}

BenchFiles::BenchFiles() {
    char pattern[] = "/tmp/zebrano-bench-XXXXXX";
    folder = mkdtemp(pattern);
    scenarioPath = folder + "/full.zeb";
    Scenario s = fullScenario();
    s.nome_file = scenarioPath;
    Funzione_Salva_Con_Nome(s);
    bytes = readScenarioFile(scenarioPath);
    oneTrackPath = folder + "/one_track.zeb";
    Scenario crowded = oneTrackOneHour();
    crowded.nome_file = oneTrackPath;
    Funzione_Salva_Con_Nome(crowded);
}

BenchFiles::~BenchFiles() {
    std::system(("rm -rf '" + folder + "'").c_str());
}

BenchFiles& files() {
    static BenchFiles instance;
    return instance;
}

namespace {

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos)
            end = bytes.size();
        lines.emplace_back(bytes, start, end - start - (end > start && bytes[end - 1] == '\r'));
        start = end + 1;
    }
    return lines;
}

void perTrain(benchmark::State& state, std::size_t allocations) {
    state.counters["allocs_per_train"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations()) / kMaxTrains;
}

void Load(benchmark::State& state) {
    std::size_t allocations = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto s = std::make_unique<Scenario>();
        s->nome_file_carica = files().scenarioPath;
        const std::size_t before = allocationCount();
        state.ResumeTiming();
        Funzione_Carica(*s);
        allocations += allocationCount() - before;
        benchmark::DoNotOptimize(s->totale_treni);
    }
    perTrain(state, allocations);
}

void ReadBare(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(readScenarioFile(files().scenarioPath));
}

void ReadAndSplit(benchmark::State& state) {
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = allocationCount();
        benchmark::DoNotOptimize(splitLines(readScenarioFile(files().scenarioPath)));
        allocations += allocationCount() - before;
    }
    perTrain(state, allocations);
}

void Save(benchmark::State& state) {
    Scenario s = fullScenario();
    s.nome_file = files().folder + "/saved.zeb";
    for (auto _ : state)
        Funzione_Salva_Con_Nome(s);
}

void Serialise(benchmark::State& state) {
    Scenario s = fullScenario();
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = allocationCount();
        benchmark::DoNotOptimize(scenarioFileBytes(s));
        allocations += allocationCount() - before;
    }
    perTrain(state, allocations);
}

// The same lines joined with their line ends, nothing checked or encoded.
void Concatenate(benchmark::State& state) {
    const std::vector<std::string> lines = splitLines(files().bytes);
    for (auto _ : state) {
        std::string out;
        out.reserve(files().bytes.size());
        for (const auto& line : lines)
            out.append(line).append("\r\n");
        benchmark::DoNotOptimize(out);
    }
}

void WriteBare(benchmark::State& state) {
    const bool sync = state.range(0) != 0;
    const std::string path = files().folder + "/bare.zeb";
    for (auto _ : state) {
        const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        benchmark::DoNotOptimize(write(fd, files().bytes.data(), files().bytes.size()));
        if (sync)
            fsync(fd);
        close(fd);
    }
}

void WriteReplacing(benchmark::State& state) {
    const std::string path = files().folder + "/replaced.zeb";
    for (auto _ : state)
        replaceFileContents(path, files().bytes);
}

void checkOf(benchmark::State& state, const Scenario& s) {
    std::size_t findings = 0;
    for (auto _ : state)
        findings = checkScenario(s).size();
    state.counters["findings"] = static_cast<double>(findings);
}

// The checker over the full table: every train on one of seven tracks, many of them in conflict.
void Check(benchmark::State& state) {
    checkOf(state, fullScenario());
}

} // namespace

OpenEditor::OpenEditor(const std::string& path) {
    window.prompts().onMessage = [](const DialogPrompts::Message&) { return Answer::Yes; };
    window.prompts().onDialog = [](QDialog& dialog) { dialog.close(); };
    window.openScenarioFile(path);
    window.logic().tprecedente_Click();
    window.tick();
    window.tick();
}

namespace {

void perTick(benchmark::State& state, std::size_t allocations) {
    state.counters["allocs_per_tick"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
}

void TickLogic(benchmark::State& state) {
    OpenEditor editor;
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = allocationCount();
        editor.window.logic().Timer1_Timer();
        allocations += allocationCount() - before;
    }
    perTick(state, allocations);
}

void TickWithView(benchmark::State& state) {
    OpenEditor editor;
    std::size_t allocations = 0;
    for (auto _ : state) {
        const std::size_t before = allocationCount();
        editor.window.tick();
        allocations += allocationCount() - before;
    }
    perTick(state, allocations);
}

BENCHMARK(Load)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadBare)->Unit(benchmark::kMillisecond);
BENCHMARK(ReadAndSplit)->Unit(benchmark::kMillisecond);
BENCHMARK(Save)->Unit(benchmark::kMillisecond);
BENCHMARK(Serialise)->Unit(benchmark::kMillisecond);
BENCHMARK(Concatenate)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteBare)->Arg(0)->Arg(1)->ArgName("fsync")->Unit(benchmark::kMillisecond);
BENCHMARK(WriteReplacing)->Unit(benchmark::kMillisecond);
// A variant of the full day against it: every tenth train cancelled, every seventh on another
// track, every hundredth gone.
void CompareTwoDays(benchmark::State& state) {
    const Scenario base = fullScenario();
    Scenario variant = base;
    for (int i = 0; i < kMaxTrains; ++i) {
        Treno& t = variant.treni[static_cast<std::size_t>(i)];
        if (i % 10 == 0)
            t.codice_sussidiaria = "1";
        if (i % 7 == 0)
            t.binario = t.binario == "1" ? "2" : "1";
        if (i % 100 == 0)
            t.numero += "x";
    }
    std::size_t found = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(found = compareDays(base, variant).size());
    state.counters["differences"] = static_cast<double>(found);
}
BENCHMARK(CompareTwoDays)->Unit(benchmark::kMillisecond);

// The checker over 2001 trains on one track within one hour.
void CheckOneTrackOneHour(benchmark::State& state) {
    checkOf(state, oneTrackOneHour());
}

// One train changed after another, each departure moved within its hour, the train table
// open and, where asked, the chart: what the windows do after a command.
void followChanges(benchmark::State& state, const std::string& path, bool withChart) {
    OpenEditor editor(path);
    editor.window.trainTable().show();
    if (withChart)
        editor.window.occupancy().show();
    int train = 0;
    for (auto _ : state) {
        editor.scenario.treni[static_cast<std::size_t>(train)].min_partenza =
            std::to_string(train % 58 + 1);
        editor.window.timetable().scenarioChanged({.runs = {{train, 1, 1}}});
        train = (train + 7) % kMaxTrains;
    }
}

// One train changed on the crowded day, with the train table open.
void FollowAChangeOneTrack(benchmark::State& state) {
    followChanges(state, files().oneTrackPath, false);
}

// One train changed with the train table and the chart open: the checker, the table's rows and
// the chart's bars are brought up to date (the table's repaint is left to the next frame).
void FollowAChange(benchmark::State& state) {
    followChanges(state, files().scenarioPath, true);
}

// The recovery copy of 2001 trains made and written, as after a change.
void WriteRecoveryCopy(benchmark::State& state) {
    OpenEditor editor;
    RecoveryWriter& recovery = editor.window.recovery();
    for (auto _ : state) {
        recovery.changed();
        recovery.flush();
    }
    recovery.discard();
}

BENCHMARK(Check)->Unit(benchmark::kMillisecond);
BENCHMARK(CheckOneTrackOneHour)->Unit(benchmark::kMillisecond);
BENCHMARK(FollowAChangeOneTrack)->Unit(benchmark::kMillisecond);
BENCHMARK(WriteRecoveryCopy)->Unit(benchmark::kMillisecond);
BENCHMARK(FollowAChange)->Unit(benchmark::kMillisecond);
BENCHMARK(TickLogic);
BENCHMARK(TickWithView);

} // namespace
} // namespace zeb::bench

int main(int argc, char** argv) {
    if (argc == 3 && argv[1] == zeb::bench::kChildArgument)
        return zeb::bench::runChildJob(argv[2]);
    // Recovery copies go to a folder of the benchmark's own.
    setenv("XDG_STATE_HOME", (zeb::bench::files().folder + "/state").c_str(), 1);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
