// The history's bound against the memory the process really takes: 64 MB of notes imported and
// deleted 30 times, and 2001 trains whose short texts (just past a string's own buffer) all
// change at every step. Each runs in a process of its own, which prints what the history counts
// and how much the process grew over the scenario alone.
#include "bench_days.h"
#include "child_jobs.h"

#include "bulk_edit/bulk_edit.h"
#include "csv_exchange/trains_csv.h"
#include "history/history.h"
#include "model/scenario.h"
#include "model/train_append.h"
#include "scenario_file/text_limits.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <numeric>
#include <string>

namespace zeb::bench {
namespace {

constexpr int kNoteTrains = 1000; // of a 64 KB note each: 64 MB

Treno shortTextsTrain(int index, int step) {
    Treno t;
    const std::string text =
        "testo " + std::to_string(step) + " del treno " + std::to_string(index);
    for (std::string* field :
         {&t.tipologia, &t.numero, &t.destinazione, &t.provenienza, &t.categoria,
          &t.indice_categoria, &t.ritardo, &t.ora_partenza, &t.ora_arrivo, &t.min_partenza,
          &t.min_arrivo, &t.binario, &t.indice_binario, &t.fermate, &t.sussidiaria,
          &t.codice_sussidiaria, &t.note})
        *field = text;
    return t;
}

// Runs the steps; prints the history's count and the process's growth, in MB.
template <typename Step> int measureHistory(int steps, Step step) {
    Scenario s;
    History history;
    history.reset(s);
    const long before = ownMemoryKilobytes("VmRSS:");
    for (int k = 0; k < steps; ++k) {
        step(s, k);
        history.record(s, "passo");
    }
    const long after = ownMemoryKilobytes("VmRSS:");
    std::printf("%f %f\n", static_cast<double>(history.memoryBytes()) / (1 << 20),
                static_cast<double>(after - before) / 1024);
    return 0;
}

void HistoryMemory(benchmark::State& state, const char* job) {
    std::vector<double> figures;
    for (auto _ : state)
        figures = childFigures(job);
    if (figures.size() != 3) {
        state.SkipWithError("the job failed");
        return;
    }
    state.counters["counted_MB"] = figures[0];
    state.counters["growth_MB"] = figures[1];
    state.counters["bound_MB"] = static_cast<double>(History::kDefaultByteLimit >> 20);
}

BENCHMARK_CAPTURE(HistoryMemory, notes_64MB_30_times, "history-notes")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(HistoryMemory, short_texts_2001_trains, "history-small-texts")
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int historyJob(std::string_view name) {
    if (name == "history-notes") {
        // As the editor does: even steps import the notes, odd steps delete every train.
        return measureHistory(60, [](Scenario& s, int k) {
            if (k % 2 == 1) {
                std::vector<int> all(static_cast<std::size_t>(s.totale_treni));
                std::iota(all.begin(), all.end(), 0);
                removeTrains(s, all);
                return;
            }
            std::vector<Treno> trains(kNoteTrains);
            for (int i = 0; i < kNoteTrains; ++i) {
                trains[static_cast<std::size_t>(i)].numero = std::to_string(i);
                trains[static_cast<std::size_t>(i)].note.assign(kMaxTextBytes,
                                                                static_cast<char>('a' + k % 26));
            }
            appendTrains(s, trains);
        });
    }
    if (name == "history-small-texts") {
        return measureHistory(200, [](Scenario& s, int k) {
            s.totale_treni = kMaxTrains;
            for (int i = 0; i < kMaxTrains; ++i)
                s.treni[i] = shortTextsTrain(i, k);
        });
    }
    return 2;
}

namespace {

// A one-train change at 2001 trains taken back and given again; 200 such steps in the history.
void UndoRedoOneTrain(benchmark::State& state) {
    OpenEditor editor;
    EditorLogic& logic = editor.window.logic();
    for (int step = 0; step < 200; ++step) {
        logic.showTrain(step * 10);
        logic.note.setText("nota " + std::to_string(step));
        logic.modificatr_Click();
    }
    for (auto _ : state) {
        editor.window.commands().undo();
        editor.window.commands().redo();
    }
    state.counters["history_bytes_200_steps"] =
        static_cast<double>(logic.document().history().memoryBytes());
}

// An import of 2001 trains taken back and given again.
void UndoRedoImport(benchmark::State& state) {
    OpenEditor editor;
    EditorLogic& logic = editor.window.logic();
    const std::string csv = files().folder + "/all.csv";
    { std::ofstream(csv, std::ios::binary) << trainsCsv(editor.scenario); }
    logic.document().removeTrains([] {
        std::vector<int> all(kMaxTrains);
        for (int i = 0; i < kMaxTrains; ++i)
            all[static_cast<std::size_t>(i)] = i;
        return all;
    }());
    editor.window.prompts().onFileDialog = [csv](const FileFilter&) {
        return std::optional<std::string>(csv);
    };
    editor.window.commands().importCsv();
    if (editor.scenario.totale_treni != kMaxTrains)
        state.SkipWithError("the import failed");
    for (auto _ : state) {
        editor.window.commands().undo();
        editor.window.commands().redo();
    }
}

} // namespace

BENCHMARK(UndoRedoOneTrain)->Unit(benchmark::kMillisecond);
BENCHMARK(UndoRedoImport)->Unit(benchmark::kMillisecond);

} // namespace zeb::bench
