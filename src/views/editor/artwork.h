#pragma once

#include <QIcon>
#include <QPixmap>

namespace zeb {

// The program's own pictures, drawn at start-up.

// The 32 x 32 window icon of all three windows.
QIcon windowIcon();
// The 243 x 61 logo banner with the product name "Zebrano".
QPixmap logoBanner();
// The faded 400 x 276 picture of a train behind the contribution window's text.
QPixmap contributionBackground();

} // namespace zeb
