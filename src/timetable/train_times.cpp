#include "timetable/train_times.h"

#include "model/value_tables.h"

#include <cstdio>

namespace zeb {

namespace {

std::optional<int> wholeNumberUpTo(std::string_view text, int highest) {
    if (text.size() > 4 || !isDecimalDigits(text))
        return std::nullopt;
    int value = 0;
    for (char c : text)
        value = value * 10 + (c - '0');
    if (value > highest)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<int> minuteOfDay(std::string_view ora, std::string_view minuti) {
    const auto hour = wholeNumberUpTo(ora, 23);
    const auto minute = wholeNumberUpTo(minuti, 59);
    if (!hour || !minute)
        return std::nullopt;
    return *hour * 60 + *minute;
}

std::optional<int> endMinute(const Treno& t, TrainEnd end) {
    const auto fields = fieldsOf(t, end);
    return minuteOfDay(fields.ora, fields.minuti);
}

std::optional<int> clockMinute(std::string_view text) {
    const auto colon = text.find(':');
    if (colon == std::string_view::npos || text.size() - colon != 3)
        return std::nullopt;
    return minuteOfDay(text.substr(0, colon), text.substr(colon + 1));
}

std::string clockText(int minute) {
    minute = minuteOnClock(minute);
    char text[24]; // room the compiler can see, for any int
    std::snprintf(text, sizeof text, "%02d:%02d", minute / 60, minute % 60);
    return text;
}

std::string trainLabel(int index, const Treno& t) {
    return "Treno " + std::to_string(index + 1) + " (" + t.numero + ")";
}

} // namespace zeb
