#pragma once

#include "model/scenario.h"

#include <utility>

namespace zeb {

// Empties record `t` and frees its texts: assigning an empty record would keep their memory, as
// a string given shorter text keeps its buffer.
inline void clearTrain(Treno& t) {
    Treno empty;
    std::swap(empty, t);
}

// Removes stored train `index`: the later trains move down one place and the count drops by
// one. Below a full table the new-train slot comes down with them; the place it leaves, or in a
// full table the freed last place, is emptied.
void removeTrain(Scenario& s, int index);

} // namespace zeb
