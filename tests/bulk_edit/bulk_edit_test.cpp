#include "bulk_edit/bulk_edit.h"

#include "timetable/test_trains.h"

#include <gtest/gtest.h>

namespace zeb {
namespace {

using test::stationWith;

// Number, arrival and departure of every train.
std::string timetable(const Scenario& s) {
    std::string out;
    for (int i = 0; i < s.totale_treni; ++i) {
        const Treno& t = s.treni[i];
        out += (out.empty() ? "" : " ") + t.numero + "@" + t.ora_arrivo + ":" + t.min_arrivo + "-" +
               t.ora_partenza + ":" + t.min_partenza;
    }
    return out;
}

TEST(RepeatTrain, CopiesRoundTheClockWithANumberStep) {
    Scenario s = stationWith({{"2231", "A", "22:30", "B", "22:35"}, {"IC 5", "", "", "C", "7:5"}});
    EXPECT_EQ(repeatTrain(s, 0, 60, 2, 2), 2);
    EXPECT_EQ(repeatTrain(s, 1, 90, 1, 2), 1) << "a number that is not whole is kept";
    EXPECT_EQ(timetable(s), "2231@22:30-22:35 IC 5@:-7:5 2233@23:30-23:35 2235@00:30-00:35 "
                            "IC 5@:-08:35");
}

TEST(RepeatTrain, NoMoreThanTheTableHoldsAndNothingFromNowhere) {
    Scenario s = stationWith({{"1", "A", "1:00", "B", "1:05"}});
    s.totale_treni = kMaxTrains - 3;
    EXPECT_EQ(repeatTrain(s, 0, 10, 10, 1), 3);
    EXPECT_EQ(std::to_string(s.totale_treni) + " " + s.treni[kMaxTrains - 1].numero, "2001 4");
    EXPECT_EQ(repeatTrain(s, 0, 10, 1, 1), 0);
    EXPECT_EQ(repeatTrain(s, kMaxTrains, 10, 1, 1), 0);
}

TEST(ShiftTimes, EarlierOrLaterAndInvalidTimesStay) {
    Scenario s = stationWith({{"1", "A", "0:10", "B", "0:20"},
                              {"2", "A", "25:00", "B", "9:00"},
                              {"3", "", "", "B", "23:50"}});
    EXPECT_EQ(shiftTimes(s, {0, 1}, -15), std::vector<int>{1});
    EXPECT_EQ(shiftTimes(s, {2}, 20), std::vector<int>{});
    EXPECT_EQ(timetable(s), "1@23:55-00:05 2@25:00-08:45 3@:-00:10");
}

// Before a shift is made, the trains it would bring into conflict and those they would meet.
TEST(ShiftTimes, ThePreviewNamesTheClashes) {
    const Scenario s = stationWith({{"10", "A", "7:00", "B", "7:10"},
                                    {"20", "A", "8:00", "B", "8:10"},
                                    {"30", "A", "9:00", "B", "9:10"}});
    EXPECT_EQ(clashText(clashesOfShift(s, {}, {0}, 60), 1), "1 treno su 1 in conflitto, con 20.");
    EXPECT_EQ(clashText(clashesOfShift(s, {}, {0, 1}, 60), 2),
              "1 treno su 2 in conflitto, con 30.");
    EXPECT_EQ(clashText(clashesOfShift(s, {}, {0}, 30), 1), "Nessun conflitto.");
}

TEST(RemoveTrains, ClosesTheGapsWhateverTheOrder) {
    Scenario s = stationWith({{"1"}, {"2"}, {"3"}, {"4"}, {"5"}});
    s.treni[3].note.assign(1000, 'x');
    removeTrains(s, {3, 0, 3, 1});
    EXPECT_EQ(timetable(s), "3@:-: 5@:-:");
    for (int i = s.totale_treni; i < kMaxTrains; ++i)
        ASSERT_LE(s.treni[i].note.capacity(), 15u) << "a freed place keeps a text's memory";
}

} // namespace
} // namespace zeb
