#pragma once

#include "layout/boards_layout.h"

class QPainter;

namespace zeb {

class PaperFonts;

// The boards' page as laid out, in the colours of a station's board.
void paintBoards(QPainter& painter, PaperFonts& fonts, const BoardsPicture& picture);

} // namespace zeb
