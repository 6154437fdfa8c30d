#include "tool/paper_commands.h"

#include "companion/editor_data.h"
#include "layout/occupancy_chart.h"
#include "model/counted.h"
#include "paper/paper_files.h"
#include "text/numbers.h"
#include "tool/iso_dates.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"

#include <map>
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
    return manifestiCommand(arguments.file,
                            {arguments.has("partenze"), *output,
                             arguments.value("formato").value_or("A4"),
                             arguments.value("valido-dal"), arguments.value("valido-al")},
                            out, err);
}

// The poster's validity from the two dates of the command line, or why not on `err`.
std::optional<std::string> validityOf(const PosterRequest& request, std::ostream& err) {
    if (!request.validFrom && !request.validTo)
        return std::string();
    const auto from = isoDate(request.validFrom.value_or(""));
    const auto to = isoDate(request.validTo.value_or(""));
    if (!from || !to || *to < *from) {
        err << "zebrano-tool manifesti: --valido-dal e --valido-al vogliono due date "
               "AAAA-MM-GG, la seconda non prima della prima\n";
        return std::nullopt;
    }
    auto calendar = [](date::sys_days day) {
        const date::year_month_day ymd(day);
        return CalendarDate{static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                            static_cast<int>(unsigned(ymd.day()))};
    };
    return posterValidity(calendar(*from), calendar(*to));
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
    const auto opened = openDocument(scenarioPath, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario* s = &opened->scenario();
    const ChartContent content = chartContent(*s, opened->data().settings, opened->links());
    const PaperFile file =
        png ? writeChartPng(outputPath, *s, content, {content.firstMinute, content.lastMinute}, 2.0)
            : writeChartPdf(outputPath, *s, content, hours, format == "A3");
    if (written(file, outputPath, err) != kExitOk)
        return kExitUnreadable;
    if (!png)
        out << counted(file.pages, "pagina", "pagine") << " in " << outputPath << "\n";
    return kExitOk;
}

int manifestiCommand(const std::string& scenarioPath, const PosterRequest& request,
                     std::ostream& out, std::ostream& err) {
    const std::map<std::string, PosterPaper> papers = {
        {"A4", PosterPaper::A4}, {"A3", PosterPaper::A3}, {"A2", PosterPaper::A2}};
    const auto paper = papers.find(request.format);
    if (paper == papers.end()) {
        err << "zebrano-tool manifesti: --formato vuole A4, A3 o A2\n";
        return kExitUnreadable;
    }
    const auto validity = validityOf(request, err);
    if (!validity)
        return kExitUnreadable;
    const auto opened = openDocument(scenarioPath, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario* s = &opened->scenario();
    Poster poster = request.departures ? departuresPoster(*s) : arrivalsPoster(*s);
    poster.validity = *validity;
    if (written(writePostersPdf(request.output, *s, {poster}, paper->second), request.output,
                err) != kExitOk)
        return kExitUnreadable;
    out << counted(static_cast<long>(poster.rows.size()), "treno", "treni") << " in "
        << request.output << "\n";
    return kExitOk;
}

std::vector<ToolCommand> paperCommands() {
    return {
        {"occupazione",
         "  occupazione FILE.zeb -o GRAFICO.pdf|.png [--ore 4] [--formato A4|A3]\n"
         "                                               il grafico di occupazione dei binari\n",
         occupazione,
         withOutput(
             {{"ore", "", "Le ore del giorno in ogni pagina (predefinite 4).", "ore"},
              {"formato", "", "Il formato della carta: A4 o A3 (predefinito A4).", "formato"}},
             "Il grafico da scrivere: PDF o PNG.")},
        {"manifesti",
         "  manifesti FILE.zeb --partenze|--arrivi -o MANIFESTO.pdf [--formato A4|A3|A2]\n"
         "       [--valido-dal AAAA-MM-GG --valido-al AAAA-MM-GG]\n"
         "                                               il manifesto delle partenze o degli "
         "arrivi\n",
         manifesti,
         withOutput(
             {{"partenze", "", "Il manifesto delle partenze.", ""},
              {"arrivi", "", "Il manifesto degli arrivi.", ""},
              {"formato", "", "Il formato della carta: A4, A3 o A2 (predefinito A4).", "formato"},
              {"valido-dal", "", "Il primo giorno di validità scritto sul manifesto.",
               "AAAA-MM-GG"},
              {"valido-al", "", "L'ultimo giorno di validità scritto sul manifesto.",
               "AAAA-MM-GG"}},
             "Il manifesto da scrivere, in PDF.")},
    };
}

BoardsWriter boardsPictureWriter() {
    return [](const std::string& path, const Scenario& s, const PlayedDay& day, int minute,
              const BoardSettings& settings) {
        const PaperFile file = (path.ends_with(".pdf") ? writeBoardsPdf : writeBoardsPng)(
            path, s, day, minute, settings);
        return file.written() ? std::string() : "il file non si può scrivere (" + file.error + ")";
    };
}

NoticeWriter pdfNoticeWriter() {
    return [](const std::string& path, const Scenario& base, const Scenario& variant,
              const std::vector<TrainDifference>& differences, const std::string& day) {
        const PaperFile file = writeNoticePdf(path, variant.nome_stazione, day,
                                              noticeSections(base, variant, differences));
        return file.written() ? std::string() : "il file non si può scrivere (" + file.error + ")";
    };
}

} // namespace zeb
