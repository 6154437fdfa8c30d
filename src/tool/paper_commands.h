#pragma once

#include "tool/tool_command_line.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zeb {

// The paper of zebrano-tool, drawn as the windows draw it. Exit 0 when written, 2 when a file
// cannot be read or written or an argument is wrong.

// `occupazione FILE.zeb -o GRAFICO.pdf|.png [--ore 4] [--formato A4|A3]`: the chart's pages as a
// PDF, or the whole chart as a picture.
int occupazioneCommand(const std::string& scenarioPath, const std::string& outputPath, int hours,
                       const std::string& format, std::ostream& out, std::ostream& err);

// `manifesti FILE.zeb --partenze|--arrivi -o MANIFESTO.pdf [--formato A4|A3|A2]
// [--valido-dal AAAA-MM-GG --valido-al AAAA-MM-GG]`: a poster as a PDF.
struct PosterRequest {
    bool departures = true;
    std::string output;
    std::string format = "A4";
    std::optional<std::string> validFrom, validTo;
};
int manifestiCommand(const std::string& scenarioPath, const PosterRequest& request,
                     std::ostream& out, std::ostream& err);

// The two as commands of the tool's table.
std::vector<ToolCommand> paperCommands();

// The notice of `confronta` as a PDF file.
NoticeWriter pdfNoticeWriter();
// The boards of `tabellone` as a PNG picture or a PDF page.
BoardsWriter boardsPictureWriter();

} // namespace zeb
