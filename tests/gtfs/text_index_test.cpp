#include "gtfs/text_index.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>

namespace zeb {
namespace {

// Whatever ids come, in whatever number, the index finds each at the position it was given,
// refuses it a second time, and knows no id it was not given: ids that share their start, the
// empty id, long ones, and enough of them for the table to grow many times.
TEST(GtfsTextIndex, FindsWhatItWasGivenAndNothingElse) {
    std::mt19937 random(7);
    const std::string alphabet = "AB0:_";
    auto idOf = [&](std::size_t length) {
        std::string id;
        for (std::size_t k = 0; k < length; ++k)
            id += alphabet[random() % alphabet.size()];
        return id;
    };
    TextIndex index;
    std::map<std::string, int> given;
    for (int k = 0; k < 60000; ++k) {
        const std::size_t length = k % 1000 == 0 ? 5000 : random() % 12;
        const std::string id = idOf(length);
        const bool fresh = !given.contains(id);
        ASSERT_EQ(index.insert(id, k), fresh) << id;
        if (fresh)
            given[id] = k;
    }
    EXPECT_EQ(index.size(), given.size());
    for (const auto& [id, position] : given)
        ASSERT_EQ(index.find(id), position) << id;
    for (int k = 0; k < 20000; ++k) {
        const std::string id = idOf(12 + random() % 4); // longer than any short id given
        if (!given.contains(id)) {
            ASSERT_EQ(index.find(id), -1) << id;
        }
    }
    EXPECT_EQ(TextIndex().find(""), -1);
}

} // namespace
} // namespace zeb
