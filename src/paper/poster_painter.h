#pragma once

#include "timetable/posters.h"

#include <vector>

class QPagedPaintDevice;

namespace zeb {

// Prints the posters one after the other on A4 landscape pages of `device` (a PDF writer or a
// printer): the departures on a yellow ground, the arrivals on white, the station's name in the
// title and the column heads repeated on every page. Returns the pages painted: none when the
// device cannot be painted.
int paintPosters(QPagedPaintDevice& device, const std::vector<Poster>& posters);

} // namespace zeb
