#include "text/typed_date.h"

#include <chrono>
#include <string>
#include <vector>

namespace zeb {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isSeparator(char c) {
    return c == '/' || c == '.' || c == '-';
}

// The runs of digits between separators; nullopt where another character, an empty run or a
// run past eight digits shows up.
std::optional<std::vector<std::string>> digitRuns(std::string_view text) {
    std::vector<std::string> runs(1);
    for (char c : text) {
        if (isSeparator(c))
            runs.emplace_back();
        else if (isDigit(c) && runs.back().size() < 8)
            runs.back() += c;
        else
            return std::nullopt;
    }
    for (const std::string& run : runs) {
        if (run.empty())
            return std::nullopt;
    }
    return runs;
}

int number(const std::string& digits) {
    int value = 0;
    for (char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// A year of two digits is this century's.
int fullYear(const std::string& digits) {
    return digits.size() <= 2 ? 2000 + number(digits) : number(digits);
}

std::optional<CalendarDay> checked(CalendarDay day) {
    const std::chrono::year_month_day date{std::chrono::year(day.year),
                                           std::chrono::month(static_cast<unsigned>(day.month)),
                                           std::chrono::day(static_cast<unsigned>(day.day))};
    if (!date.ok() || day.year < 1000 || day.year > 9999)
        return std::nullopt;
    return day;
}

// 13042016, 130416, 1304, 13: digits without separators.
std::optional<CalendarDay> fromDigits(const std::string& digits, CalendarDay shown) {
    switch (digits.size()) {
    case 1:
    case 2:
        return checked({shown.year, shown.month, number(digits)});
    case 4:
        return checked({shown.year, number(digits.substr(2)), number(digits.substr(0, 2))});
    case 6:
    case 8:
        return checked(
            {fullYear(digits.substr(4)), number(digits.substr(2, 2)), number(digits.substr(0, 2))});
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<CalendarDay> typedDate(std::string_view text, CalendarDay shown) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    const auto runs = digitRuns(text);
    if (!runs)
        return std::nullopt;
    const std::vector<std::string>& r = *runs;
    if (r.size() == 1)
        return fromDigits(r[0], shown);
    if (r.size() == 3 && r[0].size() == 4) // 2016-04-13
        return checked({number(r[0]), number(r[1]), number(r[2])});
    // Day and month of one or two digits, a year of two or four.
    if (r.size() > 3 || r[0].size() > 2 || r[1].size() > 2)
        return std::nullopt;
    if (r.size() == 2)
        return checked({shown.year, number(r[1]), number(r[0])});
    if (r[2].size() != 2 && r[2].size() != 4)
        return std::nullopt;
    return checked({fullYear(r[2]), number(r[1]), number(r[0])});
}

bool isWholeDate(std::string_view text) {
    const auto runs = digitRuns(text);
    return runs && ((runs->size() == 1 && runs->front().size() == 8) ||
                    (runs->size() == 3 && (*runs)[2].size() == 4 && (*runs)[0].size() <= 2));
}

} // namespace zeb
