#include "tool/paper_commands.h"

#include "gtfs/feed.h"
#include "paper/paper_files.h"
#include "timetable/occupancy_chart.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"

#include <ostream>

namespace zeb {

namespace {

// The file's pages, or its reason on `err`.
int written(const PaperFile& file, const std::string& path, std::ostream& err) {
    if (file.written())
        return kExitOk;
    err << path << ": il file non si può scrivere (" << file.error << ")\n";
    return kExitUnreadable;
}

int occupazione(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto output = arguments.value("output");
    if (!output)
        return usageError(err, "occupazione vuole -o GRAFICO.pdf o -o GRAFICO.png");
    // Not a whole number: 0 hours, which the command refuses with its word.
    const auto text = arguments.value("ore");
    const int hours = text ? wholeNumber(*text).value_or(0) : 4;
    return occupazioneCommand(arguments.file, *output, hours,
                              arguments.value("formato").value_or("A4"), out, err);
}

int manifesti(const ToolArguments& arguments, std::ostream& out, std::ostream& err) {
    const auto output = arguments.value("output");
    if (!output || arguments.has("partenze") == arguments.has("arrivi"))
        return usageError(err, "manifesti vuole --partenze o --arrivi, e -o MANIFESTO.pdf");
    return manifestiCommand(arguments.file, arguments.has("partenze"), *output, out, err);
}

} // namespace

int occupazioneCommand(const std::string& scenarioPath, const std::string& outputPath, int hours,
                       const std::string& format, std::ostream& out, std::ostream& err) {
    const bool png = outputPath.ends_with(".png");
    if (!png && !outputPath.ends_with(".pdf")) {
        err << "zebrano-tool occupazione: il file da scrivere deve finire in .pdf o .png\n";
        return kExitUnreadable;
    }
    if (format != "A4" && format != "A3") {
        err << "zebrano-tool occupazione: --formato vuole A4 o A3\n";
        return kExitUnreadable;
    }
    if (hours < 1 || hours > 24) {
        err << "zebrano-tool occupazione: --ore vuole un numero da 1 a 24\n";
        return kExitUnreadable;
    }
    const auto s = loadScenario(scenarioPath, err);
    if (!s)
        return kExitUnreadable;
    const ChartContent content = chartContent(*s, {});
    const PaperFile file =
        png ? writeChartPng(outputPath, *s, content, {content.firstMinute, content.lastMinute}, 2.0)
            : writeChartPdf(outputPath, *s, content, hours, format == "A3");
    if (written(file, outputPath, err) != kExitOk)
        return kExitUnreadable;
    if (!png)
        out << counted(file.pages, "pagina", "pagine") << " in " << outputPath << "\n";
    return kExitOk;
}

int manifestiCommand(const std::string& scenarioPath, bool departures,
                     const std::string& outputPath, std::ostream& out, std::ostream& err) {
    const auto s = loadScenario(scenarioPath, err);
    if (!s)
        return kExitUnreadable;
    const Poster poster = departures ? departuresPoster(*s) : arrivalsPoster(*s);
    if (written(writePostersPdf(outputPath, *s, {poster}), outputPath, err) != kExitOk)
        return kExitUnreadable;
    out << counted(static_cast<long>(poster.rows.size()), "treno", "treni") << " in " << outputPath
        << "\n";
    return kExitOk;
}

std::vector<ToolCommand> paperCommands() {
    return {
        {"occupazione",
         "  occupazione FILE.zeb -o GRAFICO.pdf|.png [--ore 4] [--formato A4|A3]\n"
         "                                               il grafico di occupazione dei binari\n",
         occupazione},
        {"manifesti",
         "  manifesti FILE.zeb --partenze|--arrivi -o MANIFESTO.pdf\n"
         "                                               il manifesto delle partenze o degli "
         "arrivi\n",
         manifesti},
    };
}

} // namespace zeb
