#include "text/typed_date.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace zeb {
namespace {

constexpr CalendarDay kShown{2024, 3, 6};

// Whatever day of the calendar, each way of writing it reads back as that day, and only the
// ways that leave nothing to add are whole.
TEST(TypedDate, EveryDayReadsBackInEachWriting) {
    using namespace std::chrono;
    for (sys_days d = sys_days{2000y / January / 1}; d < sys_days{2031y / January / 1};
         d += days{3}) {
        const year_month_day ymd{d};
        const CalendarDay day{static_cast<int>(ymd.year()), static_cast<int>(unsigned(ymd.month())),
                              static_cast<int>(unsigned(ymd.day()))};
        char text[5][16];
        std::snprintf(text[0], 16, "%02d/%02d/%04d", day.day, day.month, day.year);
        std::snprintf(text[1], 16, "%d.%d.%02d", day.day, day.month, day.year % 100);
        std::snprintf(text[2], 16, "%02d%02d%04d", day.day, day.month, day.year);
        std::snprintf(text[3], 16, "%04d-%d-%02d", day.year, day.month, day.day);
        std::snprintf(text[4], 16, " %d-%d-%04d ", day.day, day.month, day.year);
        for (const char* writing : text)
            ASSERT_EQ(typedDate(writing, kShown), day) << writing;
        EXPECT_TRUE(isWholeDate(text[0]));
        EXPECT_TRUE(isWholeDate(text[2]));
        EXPECT_FALSE(isWholeDate(text[1])) << "a year of two digits may go on";
    }
}

TEST(TypedDate, APartKeepsTheRestOfTheShownDayAndNonsenseIsRefused) {
    const struct {
        const char* typed;
        std::optional<CalendarDay> day;
    } cases[] = {
        {"13", CalendarDay{2024, 3, 13}},
        {"7", CalendarDay{2024, 3, 7}},
        {"13/4", CalendarDay{2024, 4, 13}},
        {"1304", CalendarDay{2024, 4, 13}},
        {"130416", CalendarDay{2016, 4, 13}},
        {"29/2", CalendarDay{2024, 2, 29}},
        {"29/2/2023", std::nullopt},
        {"32", std::nullopt},
        {"0", std::nullopt},
        {"13/13/2016", std::nullopt},
        {"13/4/201", std::nullopt},
        {"13//2016", std::nullopt},
        {"", std::nullopt},
        {"13/4/2016/1", std::nullopt},
        {"aa/bb/cccc", std::nullopt},
        {"123/4/2016", std::nullopt},
        {"99999999999999999999", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(typedDate(c.typed, kShown), c.day) << c.typed;
}

} // namespace
} // namespace zeb
