// The paper of 2001 trains: the chart on screen and as PDF pages, the posters, read back with
// pdftoppm and pdftotext.
#include "bench_days.h"
#include "layout/occupancy_chart.h"
#include "layout/poster_layout.h"
#include "paper/chart_painter.h"
#include "paper/paper_files.h"
#include "scenario_file/line_source.h"
#include "timetable/posters.h"
#include "views/timetable/occupancy_chart_view.h"
#include "views/timetable/occupancy_window.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <benchmark/benchmark.h>

namespace zeb::bench {
namespace {

// The chart of the full table drawn once, at the window's zoom.
void PaintChart(benchmark::State& state) {
    OpenEditor editor;
    const OccupancyChartView& chart = editor.window.occupancy().chart();
    QImage image(chart.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        paintOccupancyChart(painter, editor.scenario, chart.content(), chart.mapping(),
                            {.size = QSizeF(chart.size())});
    }
    state.counters["bars"] = static_cast<double>(chart.content().bars.size());
}

// The pages of a PDF file: Qt writes "/Type /Page" for each page and "/Type /Pages" for the tree.
double pdfPages(const std::string& path) {
    const std::string bytes = readScenarioFile(path);
    long pages = 0;
    for (auto at = bytes.find("/Type /Page"); at != std::string::npos;
         at = bytes.find("/Type /Page", at + 1))
        pages += bytes.compare(at, 12, "/Type /Pages") != 0;
    return static_cast<double>(pages);
}

// How a PDF reads back: the milliseconds pdftoppm takes to draw its first page at 150 dpi, and
// how many of the scenario's train numbers pdftotext does not find in it.
void readBack(benchmark::State& state, const std::string& path, const Scenario& s) {
    QElapsedTimer clock;
    clock.start();
    QProcess picture;
    picture.start("pdftoppm", {"-png", "-r", "150", "-f", "1", "-l", "1",
                               QString::fromStdString(path), QString::fromStdString(path)});
    picture.waitForFinished(60000);
    state.counters["pdftoppm_page1_ms"] = static_cast<double>(clock.elapsed());
    QProcess text;
    text.start("pdftotext", {QString::fromStdString(path), "-"});
    text.waitForFinished(60000);
    const QString all = QString::fromUtf8(text.readAllStandardOutput());
    int missing = 0;
    for (int i = 0; i < s.totale_treni; ++i)
        missing += !all.contains(QString::fromStdString(s.treni[i].numero));
    state.counters["numbers_missing"] = missing;
}

// The chart of 2001 trains on A4 pages of four hours, as a PDF file.
void ExportChartPdf(benchmark::State& state) {
    OpenEditor editor;
    const std::string path = files().folder + "/grafico.pdf";
    for (auto _ : state)
        editor.window.occupancy().exportPdf(path);
    state.counters["MB"] = static_cast<double>(readScenarioFile(path).size()) / (1 << 20);
    state.counters["pages"] = pdfPages(path);
    readBack(state, path, editor.scenario);
}

// The departures and arrivals posters of 2001 trains as one PDF file; with Arg 1 each train has
// fifteen stops.
void ExportPostersPdf(benchmark::State& state) {
    Scenario s = fullScenario();
    for (int i = 0; state.range(0) == 1 && i < s.totale_treni; ++i) {
        if (!s.treni[i].destinazione.empty())
            s.treni[i].fermate = "Pavia,Voghera,Tortona,Novi Ligure,Arquata Scrivia,Ronco "
                                 "Scrivia,Isola del Cantone,Busalla,Pontedecimo,Rivarolo,"
                                 "Sampierdarena,Genova Piazza Principe,Genova Brignole,Nervi,"
                                 "Recco,.";
    }
    const std::string path = files().folder + "/manifesti.pdf";
    for (auto _ : state)
        writePostersPdf(path, s, {departuresPoster(s), arrivalsPoster(s)});
    state.counters["MB"] = static_cast<double>(readScenarioFile(path).size()) / (1 << 20);
    state.counters["pages"] = pdfPages(path);
    state.counters["trains/page"] =
        static_cast<double>(departuresPoster(s).rows.size() + arrivalsPoster(s).rows.size()) /
        pdfPages(path);
    readBack(state, path, s);
}

// The chart's rows, bars, lanes and conflicts of 2001 trains on one track within one hour.
void ChartContentOneTrackOneHour(benchmark::State& state) {
    const Scenario s = oneTrackOneHour();
    for (auto _ : state)
        benchmark::DoNotOptimize(chartContent(s, {}));
}

} // namespace

BENCHMARK(PaintChart)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportChartPdf)->Iterations(3)->Unit(benchmark::kMillisecond);
BENCHMARK(ExportPostersPdf)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("fifteen_stops")
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ChartContentOneTrackOneHour)->Unit(benchmark::kMillisecond);

} // namespace zeb::bench
