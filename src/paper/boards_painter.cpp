#include "paper/boards_painter.h"

#include "paper/paper_fonts.h"

#include <QPainter>

namespace zeb {

namespace {

QColor colourOf(BoardInk ink) {
    switch (ink) {
    case BoardInk::Ground:
        return {8, 12, 18};
    case BoardInk::Panel:
        return {15, 23, 32};
    case BoardInk::Header:
    case BoardInk::Title:
        return {255, 191, 60};
    case BoardInk::Cancelled:
        return {255, 110, 100};
    case BoardInk::Late:
        return {255, 214, 90};
    case BoardInk::Moved:
        return {110, 210, 255};
    case BoardInk::Plain:
        break;
    }
    return {242, 239, 228};
}

} // namespace

void paintBoards(QPainter& painter, PaperFonts& fonts, const BoardsPicture& picture) {
    for (const BoardsPicture::Box& box : picture.boxes)
        painter.fillRect(QRectF(box.x, box.y, box.width, box.height), colourOf(box.ink));
    for (const BoardsPicture::Text& text : picture.texts) {
        painter.setPen(colourOf(text.ink));
        painter.setFont(fonts.font(text.size, text.bold));
        painter.drawText(QPointF(text.x, text.y), QString::fromStdString(text.text));
    }
}

} // namespace zeb
