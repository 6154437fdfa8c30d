#pragma once

#include <QFont>
#include <QRect>

namespace zeb {

// Window layouts are given in twips: 15 twips to a pixel at 96 dots per inch.
QRect fromTwips(int left, int top, int width, int height);

// Verdana where it is installed, else DejaVu Sans.
QFont verdanaFont(double points = 8.25, bool bold = false);
// The font of every other control: the toolkit's default sans serif at 8.25 points.
QFont defaultControlFont();

} // namespace zeb
