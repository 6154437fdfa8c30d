#pragma once

#include "timetable/posters.h"

#include <vector>

class QPagedPaintDevice;

namespace zeb {

enum class PosterPaper { A4, A3, A2 };

// Prints the posters one after the other on landscape pages of `paper` of `device` (a PDF writer
// or a printer), the A4 layout scaled to the sheet: the departures on a yellow ground, the
// arrivals on white, the station's name in the title and the column heads repeated on every
// page. Returns the pages painted: none when the device cannot be painted.
int paintPosters(QPagedPaintDevice& device, const std::vector<Poster>& posters,
                 PosterPaper paper = PosterPaper::A4);

} // namespace zeb
