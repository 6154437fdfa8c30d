#pragma once

#include "boards/boards.h"
#include "layout/measure_text.h"

#include <string>
#include <vector>

namespace zeb {

// The boards at a minute as a page of A4 landscape, in points: the departures and arrivals side
// by side, the track indicators below in two columns, on a board's dark ground.
inline constexpr double kBoardsPageWidth = 842;
inline constexpr double kBoardsPageHeight = 595;

// What each piece is drawn in; the painter gives the colours.
enum class BoardInk { Ground, Panel, Header, Plain, Cancelled, Late, Moved, Title };

struct BoardsPicture {
    struct Box {
        double x, y, width, height;
        BoardInk ink;
    };
    struct Text {
        std::string text;
        double x, y; // the baseline's start
        double size;
        bool bold;
        BoardInk ink;
    };
    std::vector<Box> boxes;
    std::vector<Text> texts;
};

// The page of `s` played as `day` at `minute`, texts too wide for their column shortened with
// "…" by `measure`.
BoardsPicture boardsPicture(const MeasureText& measure, const Scenario& s, const PlayedDay& day,
                            int minute, const BoardSettings& settings);

} // namespace zeb
