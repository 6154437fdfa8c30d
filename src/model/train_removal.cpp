#include "model/train_removal.h"

#include <algorithm>

namespace zeb {

void removeTrain(Scenario& s, int index) {
    const int lastCopied = std::min(s.totale_treni, kMaxTrains - 1);
    for (int t = index; t < lastCopied; ++t)
        s.treni[t] = s.treni[t + 1];
    if (s.isFull())
        s.treni[kMaxTrains - 1] = Treno{};
    s.totale_treni -= 1;
}

} // namespace zeb
