#include "layout/boards_layout.h"

#include "timetable/train_times.h"

#include <algorithm>
#include <array>

namespace zeb {

namespace {

constexpr double kMargin = 24;
constexpr double kType = 8;
constexpr double kLine = 11;
constexpr int kMostRows = 20; // a board's rows on the page; more are counted below it

// `text` cut with "…" until it fits `room`.
std::string fitted(const MeasureText& measure, std::string text, double room, bool bold) {
    if (measure(text, kType, bold) <= room)
        return text;
    while (!text.empty() && measure(text + "…", kType, bold) > room) {
        text.pop_back();
        while (!text.empty() && (static_cast<unsigned char>(text.back()) & 0xC0) == 0x80)
            text.pop_back(); // a whole letter at a time
    }
    return text + "…";
}

BoardInk inkOf(const BoardRow& row, std::size_t column, std::size_t delayColumn,
               std::size_t trackColumn) {
    if (row.cancelled)
        return BoardInk::Cancelled;
    if (row.trackChanged && column == trackColumn)
        return BoardInk::Moved;
    if (row.delayed && column == delayColumn)
        return BoardInk::Late;
    return BoardInk::Plain;
}

// A panel of `columns` (their shares of the width) with its title, header and rows.
struct Panel {
    double x, y, width;
    std::string title;
    std::vector<std::string> header;
    std::vector<double> shares;
};

void addPanel(BoardsPicture& picture, const MeasureText& measure, const Panel& panel,
              const std::vector<std::pair<std::vector<std::string>, const BoardRow*>>& rows,
              std::size_t delayColumn, std::size_t trackColumn, const std::string& foot) {
    const double height = (rows.size() + 2.6) * kLine + (foot.empty() ? 0 : kLine);
    picture.boxes.push_back({panel.x, panel.y, panel.width, height, BoardInk::Panel});
    picture.texts.push_back(
        {panel.title, panel.x + 4, panel.y + kLine, kType + 2, true, BoardInk::Title});
    auto line = [&](const std::vector<std::string>& cells, double y, bool bold,
                    const BoardRow* row) {
        double x = panel.x + 4;
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const double room = panel.shares[k] * (panel.width - 8) - 3;
            const BoardInk ink = !row ? BoardInk::Header : inkOf(*row, k, delayColumn, trackColumn);
            picture.texts.push_back(
                {fitted(measure, cells[k], room, bold), x, y, kType, bold, ink});
            x += panel.shares[k] * (panel.width - 8);
        }
    };
    line(panel.header, panel.y + 2.2 * kLine, true, nullptr);
    double y = panel.y + 3.2 * kLine;
    for (const auto& [cells, row] : rows) {
        line(cells, y, false, row);
        y += kLine;
    }
    if (!foot.empty())
        picture.texts.push_back({foot, panel.x + 4, y, kType, false, BoardInk::Plain});
}

void addBoard(BoardsPicture& picture, const MeasureText& measure, const Board& board, Panel panel) {
    std::vector<std::pair<std::vector<std::string>, const BoardRow*>> rows;
    for (const BoardRow& row : board.rows) {
        if (rows.size() == kMostRows)
            break;
        rows.push_back(
            {{row.time, row.category, row.number, row.place, row.delay, row.track, row.indication},
             &row});
    }
    const int hidden = board.notShown + static_cast<int>(board.rows.size() - rows.size());
    panel.header = {"Ora",     "Categoria", "Treno",      panel.header.front(),
                    "Ritardo", "Binario",   "Indicazioni"};
    panel.shares = {0.08, 0.14, 0.08, 0.29, 0.11, 0.12, 0.18};
    addPanel(picture, measure, panel, rows, 4, 5, notShownText(hidden));
}

} // namespace

BoardsPicture boardsPicture(const MeasureText& measure, const Scenario& s, const PlayedDay& day,
                            int minute, const BoardSettings& settings) {
    BoardsPicture picture;
    picture.boxes.push_back({0, 0, kBoardsPageWidth, kBoardsPageHeight, BoardInk::Ground});
    const std::string clock = clockText(clockOfPlay(day, minute));
    picture.texts.push_back({(s.nome_stazione.empty() ? std::string() : s.nome_stazione + " — ") +
                                 "tabelloni alle " + clock,
                             kMargin, kMargin + 10, 14, true, BoardInk::Title});
    picture.texts.push_back({"Anteprima secondo le regole dell'editor, non del simulatore.",
                             kMargin, kMargin + 24, kType, false, BoardInk::Plain});
    const double half = (kBoardsPageWidth - 2 * kMargin - 12) / 2;
    const double top = kMargin + 34;
    addBoard(picture, measure, departuresBoard(s, day, minute, settings),
             {kMargin, top, half, "Partenze", {"Destinazione"}, {}});
    addBoard(picture, measure, arrivalsBoard(s, day, minute, settings),
             {kMargin + half + 12, top, half, "Arrivi", {"Provenienza"}, {}});
    // The indicators in two columns below the boards.
    const std::vector<TrackDisplay> displays = trackDisplays(s, day, minute, settings);
    const double below = top + (kMostRows + 4) * kLine;
    const std::size_t firstHalf = (displays.size() + 1) / 2;
    for (int column = 0; column < 2; ++column) {
        std::vector<std::pair<std::vector<std::string>, const BoardRow*>> rows;
        const std::size_t from = column == 0 ? 0 : firstHalf;
        const std::size_t to = column == 0 ? firstHalf : displays.size();
        for (std::size_t k = from; k < to; ++k) {
            const TrackDisplay& d = displays[k];
            // An empty track reads as plain, not as a header.
            static const BoardRow kNone;
            rows.push_back(
                d.train
                    ? std::pair{std::vector<std::string>{d.track, d.train->number, d.train->time,
                                                         d.train->place, d.train->delay},
                                &*d.train}
                    : std::pair{std::vector<std::string>{d.track, "", "", "", ""}, &kNone});
        }
        addPanel(picture, measure,
                 {kMargin + column * (half + 12),
                  below,
                  half,
                  column == 0 ? "Indicatori dei binari" : "",
                  {"Binario", "Treno", "Ora", "Per / da", "Ritardo"},
                  {0.14, 0.12, 0.12, 0.50, 0.12}},
                 rows, 4, 99, {});
    }
    return picture;
}

} // namespace zeb
