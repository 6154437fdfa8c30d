#pragma once

#include <compare>
#include <optional>
#include <string_view>

namespace zeb {

struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;
    auto operator<=>(const CalendarDay&) const = default;
};

// The day a person typed into a date field showing `shown`: a whole date written 13/04/2016,
// 13.4.16, 13-04-2016, 2016-04-13, 13042016 or 130416 (years of two digits in this century), or
// a part that keeps the rest of `shown`: "13" that day of its month, "13/4" or "1304" that day and
// month of its year. Nullopt where the text names no day of the calendar.
std::optional<CalendarDay> typedDate(std::string_view text, CalendarDay shown);

// True where nothing more can follow `text` in a date: a day, month and a year of four digits, or
// eight digits together.
bool isWholeDate(std::string_view text);

} // namespace zeb
