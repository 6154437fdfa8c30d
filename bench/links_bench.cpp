// Linked units on a terminus day: what the links cost the checker, the chart, the assignment and
// the files beside the scenario, and how well the rule of turnarounds finds the units a vehicle
// schedule (blocks) says.
#include "companion/editor_data.h"
#include "layout/occupancy_chart.h"
#include "model/track_slots.h"
#include "scenario_file/scenario_reader.h"
#include "scenario_file/scenario_writer.h"
#include "timetable/checker.h"
#include "timetable/train_times.h"
#include "timetable/turnaround_pairs.h"
#include "track_assignment/track_assignment.h"
#include "views/editor/editor_window.h"

#include <QDialog>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <random>
#include <set>
#include <unistd.h>

namespace zeb::bench {
namespace {

void setTime(std::string& ora, std::string& minuti, int minute) {
    ora = (minute / 60 % 24 < 10 ? "0" : "") + std::to_string(minute / 60 % 24);
    minuti = (minute % 60 < 10 ? "0" : "") + std::to_string(minute % 60);
}

// A terminus day of `links` turnarounds on 23 tracks, each vehicle running a block: it arrives
// from a line, turns round in 8 to 20 minutes and leaves again, most often back the way it came,
// then comes back later, until the day is over; trains passing fill the table up to 2001. The
// blocks are the truth the rule is measured against.
struct TerminusDay {
    Scenario s;
    TrainLinks blocks;
};
TerminusDay terminusDay(int links, std::mt19937& random) {
    TerminusDay day;
    Scenario& s = day.s;
    s.nome_stazione = "Capolinea";
    s.ora_inizio = "05";
    s.min_inizio = "00";
    for (int slot = 0; slot < kMaxChosenTracks; ++slot)
        s.binari_scelti[static_cast<std::size_t>(slot)] = true;
    rebuildTrackTable(s);
    auto add = [&](const std::string& from, int arrival, const std::string& to, int departure,
                   const std::string& track) {
        Treno& t = s.treni[static_cast<std::size_t>(s.totale_treni)];
        t.numero = std::to_string(10000 + s.totale_treni++);
        t.categoria = "Regionale";
        t.indice_categoria = "13";
        t.ritardo = "0";
        t.codice_sussidiaria = "0";
        t.sussidiaria = "Nessuna";
        t.binario = track;
        t.provenienza = from;
        t.destinazione = to;
        if (!from.empty())
            setTime(t.ora_arrivo, t.min_arrivo, arrival);
        if (!to.empty()) {
            setTime(t.ora_partenza, t.min_partenza, departure);
            t.fermate = "Pieve,.";
        } else {
            t.fermate = "Il treno termina nella stazione simulata,.";
        }
        return s.totale_treni - 1;
    };
    const int vehicles = links / 5 + 1;
    for (int v = 0; v < vehicles && static_cast<int>(day.blocks.size()) < links; ++v) {
        const std::string track = trackName(v % kMaxChosenTracks);
        int at = 5 * 60 + static_cast<int>(random() % 120);
        std::string line = "Linea " + std::to_string(random() % 12);
        while (at < 22 * 60 && static_cast<int>(day.blocks.size()) < links) {
            const int stand = 8 + static_cast<int>(random() % 13);
            const std::string back =
                random() % 5 == 0 ? "Linea " + std::to_string(random() % 12) : line;
            const int ending = add(line, at, "", 0, track);
            const int leaving = add("", 0, back, at + stand, track);
            day.blocks.push_back({ending, leaving});
            at += stand + 60 + static_cast<int>(random() % 120); // out and back again
            line = back;
        }
    }
    while (s.totale_treni < kMaxTrains) {
        const int at = 5 * 60 + static_cast<int>(random() % (18 * 60));
        add("Nord", at, "Sud", at + 2, trackName(static_cast<int>(random() % kMaxChosenTracks)));
    }
    return day;
}

const TerminusDay& day800() {
    static const TerminusDay day = [] {
        std::mt19937 random(800);
        return terminusDay(800, random);
    }();
    return day;
}

// Arg 0: without the links, 1: with the 800.
const TrainLinks& linksOf(const benchmark::State& state) {
    static const TrainLinks none;
    return state.range(0) != 0 ? day800().blocks : none;
}

void CheckTerminus(benchmark::State& state) {
    std::size_t findings = 0;
    for (auto _ : state)
        findings = checkScenario(day800().s, {}, linksOf(state)).size();
    state.counters["findings"] = static_cast<double>(findings);
    state.counters["links"] = static_cast<double>(linksOf(state).size());
}

void ChartTerminus(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(chartContent(day800().s, {}, linksOf(state)));
}

void AssignTerminus(benchmark::State& state) {
    AssignmentOptions options;
    options.which = TrainsToAssign::All;
    options.links = linksOf(state);
    int conflicts = 0;
    for (auto _ : state)
        conflicts = assignTracks(day800().s, options).conflictsAfter;
    state.counters["conflicts_after"] = conflicts;
}

// The rule against the blocks: the share of its links that are the blocks' (precision) and of
// the blocks' it finds (recall), on ten generated days with the tracks as the blocks gave them.
void TurnaroundRuleAgainstBlocks(benchmark::State& state) {
    long found = 0, right = 0, truth = 0;
    for (auto _ : state) {
        for (unsigned seed = 1; seed <= 10; ++seed) {
            std::mt19937 random(seed);
            const TerminusDay day = terminusDay(800, random);
            const TrainLinks proposed = pairTurnarounds(day.s, {}).links;
            const std::set<TrainLink> blocks(day.blocks.begin(), day.blocks.end());
            found += static_cast<long>(proposed.size());
            truth += static_cast<long>(blocks.size());
            for (const TrainLink& link : proposed)
                right += blocks.contains(link);
        }
    }
    state.counters["precision_pct"] = 100.0 * static_cast<double>(right) / found;
    state.counters["recall_pct"] = 100.0 * static_cast<double>(right) / truth;
}

// Opening and saving the day, with its 800 links beside it (Arg 1) or without (Arg 0).
std::string savedDay(bool withLinks) {
    const std::string path = std::filesystem::temp_directory_path().string() +
                             "/zebrano-bench-links-" + std::to_string(getpid()) +
                             (withLinks ? "-linked.zeb" : ".zeb");
    Scenario s = day800().s;
    s.nome_file = path;
    EditorData data;
    if (withLinks)
        data.links = storedLinks(s, day800().blocks);
    saveScenarioPair(s, path, data);
    return path;
}

// An editor window whose questions answer themselves: yes, and every file dialog `path`.
struct QuietEditor {
    Scenario scenario;
    EditorWindow window{scenario};

    explicit QuietEditor(const std::string& path) {
        window.prompts().onMessage = [](const DialogPrompts::Message&) { return Answer::Yes; };
        window.prompts().onDialog = [](QDialog& dialog) { dialog.close(); };
        window.prompts().onFileDialog = [path](const FileFilter&) {
            return std::optional<std::string>(path);
        };
    }
};

// The editor opening the day, and closing it again for the next round: the file, the editor's
// data beside it and everything the windows show.
void OpenTerminus(benchmark::State& state) {
    const bool withLinks = state.range(0) != 0;
    const std::string path = savedDay(withLinks);
    QuietEditor editor(path);
    EditorWindow& window = editor.window;
    std::size_t links = 0;
    for (auto _ : state) {
        window.openScenarioFile(path);
        links = window.logic().document().links().size();
        state.PauseTiming();
        window.logic().chiudi_Click();
        state.ResumeTiming();
    }
    state.counters["links"] = static_cast<double>(links);
    std::filesystem::remove(path);
    std::filesystem::remove(companionPathOf(path));
}

// SALVA in the editor: the scenario, and the editor's data beside it.
void SaveTerminus(benchmark::State& state) {
    const bool withLinks = state.range(0) != 0;
    const std::string path = savedDay(withLinks);
    QuietEditor editor(path);
    EditorWindow& window = editor.window;
    window.openScenarioFile(path);
    for (auto _ : state)
        window.logic().salva_Click();
    state.counters["links"] = static_cast<double>(window.logic().document().links().size());
    std::filesystem::remove(path);
    std::filesystem::remove(companionPathOf(path));
}

BENCHMARK(CheckTerminus)->Arg(0)->Arg(1)->ArgName("links")->Unit(benchmark::kMillisecond);
BENCHMARK(ChartTerminus)->Arg(0)->Arg(1)->ArgName("links")->Unit(benchmark::kMillisecond);
BENCHMARK(AssignTerminus)->Arg(0)->Arg(1)->ArgName("links")->Unit(benchmark::kMillisecond);
BENCHMARK(TurnaroundRuleAgainstBlocks)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenTerminus)->Arg(0)->Arg(1)->ArgName("links")->Unit(benchmark::kMillisecond);
BENCHMARK(SaveTerminus)->Arg(0)->Arg(1)->ArgName("links")->Unit(benchmark::kMillisecond);

} // namespace
} // namespace zeb::bench
