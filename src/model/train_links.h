#pragma once

#include <compare>
#include <vector>

namespace zeb {

// Which way a link is asked from a train: the train it goes on as, or the one it comes from.
enum class LinkSide { Onward, Back };

// A unit that ends here as train `arriving` and leaves again as train `leaving` (a turnaround):
// indices in the table. It holds one track from the first's arrival to the second's departure.
struct TrainLink {
    int arriving;
    int leaving;

    auto operator<=>(const TrainLink&) const = default;
};

// A scenario's links, in the order of their arriving trains.
using TrainLinks = std::vector<TrainLink>;

} // namespace zeb
