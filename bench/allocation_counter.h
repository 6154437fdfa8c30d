#pragma once

#include <cstddef>

// Counts the program's heap allocations: every operator new of this program goes through it.
namespace zeb::bench {
std::size_t allocationCount();
}
