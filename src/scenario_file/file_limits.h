#pragma once

#include <cstddef>

namespace zeb {

// Bounds on what a scenario file may hold. The writer refuses to make a file past them and the
// reader stops at them, so every saved file loads back and no file can exhaust memory.
// A full table of 2001 trains with ordinary values is well under a megabyte.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;
inline constexpr std::size_t kMaxFileBytes = 64 * 1024 * 1024;

} // namespace zeb
