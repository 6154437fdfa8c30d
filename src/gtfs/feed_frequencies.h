#pragma once

#include "gtfs/feed.h"

#include <cstdint>

namespace zeb {

// frequencies.txt into `feed.frequencies`, each trip's rows sorted and none twice.
void readFrequencies(const FeedSource& source, GtfsFeed& feed);

// The runs of `trip`: one, or those its frequencies give.
std::int64_t runsOf(const GtfsFeed& feed, int trip);

} // namespace zeb
