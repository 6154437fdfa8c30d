#pragma once

#include "gtfs/feed_source.h"

#include <cstdint>
#include <memory>

namespace zeb {

// Files this large are inflated by a thread of their own, a few pieces ahead of the reading.
inline constexpr std::uint64_t kReadAheadBytes = 1 << 20;

// `stream`, a file of `bytes`, read by a thread of its own a few pieces ahead of the reader when
// it is kReadAheadBytes or more, so that inflating a file and reading its rows take two cores where
// there are two. The bytes and the errors come as `stream` gives them, each error after the bytes
// before it. `stream` itself as it is for a smaller file, or when no thread can be started.
std::unique_ptr<ByteStream> readingAhead(std::unique_ptr<ByteStream> stream, std::uint64_t bytes);

} // namespace zeb
