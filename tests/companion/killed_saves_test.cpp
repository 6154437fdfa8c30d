#include "companion/kill_harness.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

// A save killed anywhere leaves the old pair, the new one, or a pair that says it is split.
TEST(KilledSaves, NeverSplitThePairSilently) {
    test::TempFolder folder;
    const std::string day = folder.file("day.zeb");
    writeScenarioPair(day, test::roundBytes(0), test::roundData(0));
    const int broken = test::killWhileWriting(
        1000,
        [&](long round) {
            writeScenarioPair(day, test::roundBytes(round), test::roundData(round));
        },
        [&] { return test::roundPairHolds(day); });
    EXPECT_EQ(broken, 0);
}

} // namespace
} // namespace zeb
