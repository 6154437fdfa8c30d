#include "model/train_removal.h"

#include <algorithm>

namespace zeb {

void removeTrain(Scenario& s, int index) {
    // Swapped, not copied: a copy would leave each place holding the largest texts it ever had.
    const int lastMoved = std::min(s.totale_treni, kMaxTrains - 1);
    for (int t = index; t < lastMoved; ++t)
        std::swap(s.treni[t], s.treni[t + 1]);
    clearTrain(s.treni[lastMoved]);
    s.totale_treni -= 1;
}

} // namespace zeb
