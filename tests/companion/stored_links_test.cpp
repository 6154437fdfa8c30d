#include "companion/stored_links.h"

#include "timetable/test_trains.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// The links of a file are found by the trains' numbers, times and places, wherever the trains
// now stand in the table; what cannot be found, or is found twice, is left out and counted.
TEST(StoredLinks, AreFoundByTheTrainsNotByTheirPlaces) {
    const Scenario day = test::stationWith({{"2001", "Nordia", "10:00", "", "", "1"},
                                            {"2002", "", "", "Nordia", "10:20", "1"},
                                            {"2001", "Ovest", "18:00", "", "", "2"},
                                            {"2002", "", "", "Ovest", "18:30", "2"},
                                            {"5", "Est", "12:00", "Ovest", "12:05", "1"}});
    const TrainLinks links{{0, 1}, {2, 3}};
    const std::vector<StoredLink> stored = storedLinks(day, links);
    EXPECT_EQ(stored[1].arriving, (StoredTrain{"2001", "Ovest", "18:00"}));
    EXPECT_EQ(findLinks(day, stored).links, links);

    // The same day with its trains in another order: the links follow the trains.
    Scenario shuffled = day;
    std::swap(shuffled.treni[0], shuffled.treni[3]);
    std::swap(shuffled.treni[1], shuffled.treni[2]);
    EXPECT_EQ(findLinks(shuffled, stored).links, (TrainLinks{{1, 0}, {3, 2}}));

    const struct {
        StoredLink link;
        int found; // 1: found, 0: ignored
    } cases[] = {
        {{{"2001", "Nordia", "10:00"}, {"2002", "Nordia", "10:20"}}, 1},
        {{{"2001", "", "18:00"}, {"2002", "", "18:30"}}, 1}, // the times decide
        {{{"2001", "Ovest", ""}, {"2002", "Ovest", ""}}, 1}, // else the places
        {{{"2001", "", ""}, {"2002", "", ""}}, 0},           // nothing tells them apart
        {{{"9999", "", ""}, {"2002", "Nordia", "10:20"}}, 0},
        {{{"5", "Est", "12:00"}, {"2002", "Nordia", "10:20"}}, 0}, // 5 does not end here
    };
    for (const auto& c : cases)
        EXPECT_EQ(findLinks(day, {c.link}).ignored, 1 - c.found) << c.link.arriving.number;
    const FoundLinks twice = findLinks(day, {stored[0], stored[0], stored[1]});
    EXPECT_EQ(twice.links, links);
    EXPECT_EQ(twice.ignored, 1);
}

} // namespace
} // namespace zeb
