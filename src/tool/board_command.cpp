#include "tool/board_command.h"

#include "boards/announcements.h"
#include "companion/editor_data.h"
#include "scenario_file/file_paths.h"
#include "scenario_file/file_replace.h"
#include "scenario_file/scenario_file_error.h"
#include "text/csv_text.h"
#include "timetable/train_times.h"
#include "tool/tool_commands.h"
#include "tool/tool_files.h"

#include <filesystem>
#include <ostream>

namespace zeb {

namespace {

const std::vector<ToolOption> kBoardOptions = withOutput(
    {
        {"ora", "", "Il minuto dei tabelloni.", "HH:MM"},
        {"partenze", "", "Il tabellone delle partenze (predefinito).", ""},
        {"arrivi", "", "Il tabellone degli arrivi.", ""},
        {"indicatori", "", "Gli indicatori dei binari.", ""},
        {"annunci", "", "Gli annunci, del minuto o dalle … alle ….", ""},
        {"ritardi", "", "I ritardi dei treni: nessuno, massimo o estratto.", "ritardi"},
        {"seme", "", "Il seme che estrae i ritardi.", "numero"},
        {"righe", "", "Le righe di un tabellone: 5, 10, 20 o 40 (predefinite 10).", "righe"},
        {"orizzonte", "", "I minuti prima dell'orario da cui un treno compare (60).", "minuti"},
        {"dalle", "", "Gli annunci da quest'ora.", "HH:MM"},
        {"alle", "", "Gli annunci fino a quest'ora.", "HH:MM"},
        {"csv", "", "Il file CSV in cui scrivere anche le righe.", "file"},
    },
    "L'immagine da scrivere: PNG o PDF.");

// A table as the tool writes it: its header, then its rows.
using Table = std::vector<std::vector<std::string>>;

Table boardTable(const Board& board, TrainEnd end) {
    Table table{{"Ora", "Categoria", "Treno",
                 end == TrainEnd::Departure ? "Destinazione" : "Provenienza", "Ritardo", "Binario",
                 "Indicazioni"}};
    for (const BoardRow& row : board.rows)
        table.push_back(
            {row.time, row.category, row.number, row.place, row.delay, row.track, row.indication});
    return table;
}

Table displaysTable(const Scenario& s, const std::vector<TrackDisplay>& displays) {
    Table table{{"Binario", "Treno", "Categoria", "Ora", "Destinazione", "Provenienza", "Ritardo",
                 "Indicazioni"}};
    for (const TrackDisplay& d : displays) {
        if (!d.train) {
            table.push_back({d.track, "", "", "", "", "", "", ""});
            continue;
        }
        const Treno& t = s.treni[d.train->train];
        table.push_back({d.track, d.train->number, d.train->category, d.train->time, t.destinazione,
                         t.provenienza, d.train->delay, d.train->indication});
    }
    return table;
}

Table announcementsTable(const Scenario& s, const PlayedDay& day,
                         const std::vector<Announcement>& said, int from, int to) {
    Table table{{"Minuto", "Treno", "Tipo", "Testo"}};
    for (const Announcement& a : said) {
        if (a.minute >= from && a.minute <= to)
            table.push_back({clockText(clockOfPlay(day, a.minute)), s.treni[a.train].numero,
                             kindName(a.kind), a.text});
    }
    return table;
}

std::string csvText(const Table& table) {
    std::string text = "\xEF\xBB\xBF";
    for (const auto& row : table) {
        for (std::size_t k = 0; k < row.size(); ++k) {
            if (k > 0)
                text += ';';
            text += csvField(row[k], ';');
        }
        text += "\r\n";
    }
    return text;
}

// A row a line, the header first, the empty cells left out.
void printTable(const Table& table, std::ostream& out) {
    for (std::size_t r = 1; r < table.size(); ++r) {
        std::string line;
        for (const std::string& cell : table[r]) {
            if (cell.empty())
                continue;
            if (!line.empty())
                line += " | ";
            line += cell;
        }
        out << line << "\n";
    }
}

// The settings of the command line, or why they are wrong.
std::optional<std::string> readSettings(const ToolArguments& a, PlaySettings& play,
                                        BoardSettings& board) {
    const std::string delays = a.value("ritardi").value_or("nessuno");
    if (delays != "nessuno" && delays != "massimo" && delays != "estratto")
        return "--ritardi vuole nessuno, massimo o estratto";
    play.delays = delays == "massimo"    ? DelayMode::Most
                  : delays == "estratto" ? DelayMode::Drawn
                                         : DelayMode::None;
    const auto seed = wholeOption(a, "seme", 1, 1'000'000'000);
    const auto rows = wholeOption(a, "righe", 10, 40);
    const auto horizon = wholeOption(a, "orizzonte", 60, 24 * 60);
    if (!seed || !rows || !horizon || (*rows != 5 && *rows != 10 && *rows != 20 && *rows != 40))
        return "--seme vuole un numero intero, --righe 5, 10, 20 o 40, --orizzonte i minuti";
    play.seed = static_cast<std::uint64_t>(*seed);
    board.rows = *rows;
    board.horizon = *horizon;
    return std::nullopt;
}

// Why the picture asked with -o cannot be written, before anything is read.
std::optional<std::string> pictureFault(const ToolArguments& a, const BoardsWriter& write) {
    const auto output = a.value("output");
    if (!output)
        return std::nullopt;
    if (!output->ends_with(".png") && !output->ends_with(".pdf"))
        return "tabellone: -o vuole un file .png o .pdf";
    if (!write)
        return "tabellone: l'immagine si scrive solo dove il programma disegna";
    return std::nullopt;
}

int tabellone(const ToolArguments& a, const BoardsWriter& writeBoards, std::ostream& out,
              std::ostream& err) {
    const auto at = clockMinute(a.value("ora").value_or(""));
    const auto from = clockMinute(a.value("dalle").value_or(""));
    const auto to = clockMinute(a.value("alle").value_or(""));
    if (!at && !(a.has("annunci") && from && to))
        return usageError(err, "tabellone vuole --ora HH:MM (o --annunci --dalle --alle)");
    const int views = a.has("partenze") + a.has("arrivi") + a.has("indicatori") + a.has("annunci");
    if (views > 1)
        return usageError(err, "tabellone mostra una cosa alla volta: --partenze, --arrivi, "
                               "--indicatori o --annunci");
    PlaySettings play;
    BoardSettings board;
    if (const auto fault = readSettings(a, play, board))
        return usageError(err, "tabellone: " + *fault);
    if (const auto fault = pictureFault(a, writeBoards))
        return usageError(err, *fault);
    const auto opened = openDocument(a.file, err);
    if (!opened)
        return kExitUnreadable;
    const Scenario* s = &opened->scenario();
    const EditorData& data = opened->data();
    play.check = data.settings;
    std::unique_ptr<ToolDocument> base;
    if (std::error_code unknown;
        !data.baseDay.empty() && std::filesystem::is_regular_file(pathOf(data.baseDay), unknown)) {
        std::ostringstream ignored;
        base = openDocument(data.baseDay, ignored);
    }
    const PlayedDay day = playDay(*s, opened->links(), base ? &base->scenario() : nullptr, play);
    const int minute = at ? minuteOfPlay(day, *at) : 0;
    Table table;
    if (a.has("annunci"))
        table = announcementsTable(*s, day, announcements(*s, day, board),
                                   from ? minuteOfPlay(day, *from) : minute,
                                   to ? minuteOfPlay(day, *to) : minute);
    else if (a.has("indicatori"))
        table = displaysTable(*s, trackDisplays(*s, day, minute, board));
    else
        table = boardTable(a.has("arrivi") ? arrivalsBoard(*s, day, minute, board)
                                           : departuresBoard(*s, day, minute, board),
                           a.has("arrivi") ? TrainEnd::Arrival : TrainEnd::Departure);
    if (const auto csv = a.value("csv")) {
        try {
            replaceFileContents(*csv, csvText(table));
        } catch (const ScenarioFileError& error) {
            err << *csv << ": " << error.message() << "\n";
            return kExitUnreadable;
        }
    }
    printTable(table, out);
    if (const auto output = a.value("output")) {
        if (const std::string fault = writeBoards(*output, *s, day, minute, board);
            !fault.empty()) {
            err << *output << ": " << fault << "\n";
            return kExitUnreadable;
        }
    }
    return kExitOk;
}

} // namespace

ToolCommand tabelloneTool(const BoardsWriter& writeBoards) {
    return {"tabellone",
            "  tabellone FILE.zeb --ora HH:MM [--partenze | --arrivi | --indicatori | --annunci]\n"
            "       [--ritardi nessuno|massimo|estratto] [--seme N] [--righe 10] [--orizzonte 60]\n"
            "       [--dalle HH:MM --alle HH:MM] [--csv FILE.csv] [-o IMMAGINE.png|.pdf]\n"
            "                                               quel che i viaggiatori vedono e "
            "sentono a quell'ora\n",
            [writeBoards](const ToolArguments& a, std::ostream& out, std::ostream& err) {
                return tabellone(a, writeBoards, out, err);
            },
            kBoardOptions};
}

} // namespace zeb
