#pragma once

#include "model/scenario.h"

namespace zeb {

// Removes stored train `index`: the later trains move down one place and the count drops by
// one. Below a full table the new-train slot comes down with them; a full table has no record
// past its last train, so the freed place is emptied instead.
void removeTrain(Scenario& s, int index);

} // namespace zeb
