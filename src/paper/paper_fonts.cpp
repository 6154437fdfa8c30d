#include "paper/paper_fonts.h"

#include <QPaintDevice>
#include <QPainter>

namespace zeb {

QFont pointFont(const QPainter& painter, double points, bool bold) {
    QFont font("DejaVu Sans");
    font.setPointSizeF(points * 72.0 / painter.device()->logicalDpiY());
    font.setBold(bold);
    // Fonts of the paper's own: a strategy the windows' fonts never have keeps their glyphs
    // apart in Qt's shared cache. Sharing it, a notice's tiny point sizes on a fine device left
    // the menus of the running editor drawing their entries as dots.
    font.setStyleStrategy(QFont::PreferOutline);
    return font;
}

double PaperFonts::width(std::string_view text, double size, bool bold) {
    return entry(size, bold)
        .second.horizontalAdvance(
            QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

std::pair<QFont, QFontMetricsF>& PaperFonts::entry(double size, bool bold) {
    const auto key = std::pair(size, bold);
    auto found = fonts_.find(key);
    if (found == fonts_.end()) {
        QFont font = pointFont(painter_, size, bold);
        found = fonts_.emplace(key, std::pair(font, QFontMetricsF(font, painter_.device()))).first;
    }
    return found->second;
}

} // namespace zeb
