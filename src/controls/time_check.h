#pragma once

#include "controls/controls.h"

#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// What the program writes into a time box that does not apply; the two-character boxes show it
// as kShownTimePlaceholder.
inline constexpr std::string_view kTimePlaceholder = "----";
inline constexpr std::string_view kShownTimePlaceholder = "--";

// The periodic checks of hour and minute boxes: true when `text` must be emptied, that is when
// it is a number above `highest`, or not empty and not a whole number at all. "-1" stays: only
// the upper bound is checked.
bool isTimeOutOfRange(std::string_view text, int highest);

struct TimeTexts {
    std::string ora;
    std::string minuti;
};

// Reads both boxes, then empties an hour out of range (above 23) and a minute out of range
// (above 59), each box by itself. Nothing is checked, not even the minute, while the hour box
// shows the placeholder. Returns the texts it read, or nullopt when it checked nothing.
std::optional<TimeTexts> emptyOutOfRangeTime(TextBox& ora, TextBox& minuti);

} // namespace zeb
