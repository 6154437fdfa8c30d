#pragma once

#include "model/scenario.h"

#include <cstdint>
#include <string>

namespace zeb {

// The most minutes the simulator may make `t` late by, from its delay index; 0 for an index it
// does not know.
int mostDelayOf(const Treno& t);

// The minutes a train of number `number`, due at `scheduled` (a minute of the day), is late when
// drawn with `seed` up to `most`: the same on every run and machine, whatever other trains the
// day holds.
int drawnDelay(std::uint64_t seed, const std::string& number, int scheduled, int most);

} // namespace zeb
