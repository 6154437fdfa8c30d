#include "views/paper_commands.h"

#include "timetable/occupancy_chart.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"
#include "views/paper_files.h"

#include <ostream>

namespace zeb {

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
    const QString path = QString::fromStdString(outputPath);
    const bool written =
        png ? writeChartPng(path, *s, content, {content.firstMinute, content.lastMinute}, 2.0)
            : writeChartPdf(path, *s, content, hours, format == "A3");
    if (!written) {
        err << outputPath << ": il file non si può scrivere\n";
        return kExitUnreadable;
    }
    if (!png)
        out << counted(static_cast<long>(chartPages(content, hours).size()), "pagina", "pagine")
            << " in " << outputPath << "\n";
    return kExitOk;
}

int manifestiCommand(const std::string& scenarioPath, bool departures,
                     const std::string& outputPath, std::ostream& out, std::ostream& err) {
    const auto s = loadScenario(scenarioPath, err);
    if (!s)
        return kExitUnreadable;
    const Poster poster = departures ? departuresPoster(*s) : arrivalsPoster(*s);
    if (!writePostersPdf(QString::fromStdString(outputPath), *s, {poster})) {
        err << outputPath << ": il file non si può scrivere\n";
        return kExitUnreadable;
    }
    out << counted(static_cast<long>(poster.rows.size()), "treno", "treni") << " in " << outputPath
        << "\n";
    return kExitOk;
}

} // namespace zeb
