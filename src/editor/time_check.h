#pragma once

#include <string_view>

namespace zeb {

// The periodic checks of hour and minute boxes: true when `text` must be emptied, that is when
// it is a number above `highest`, or not empty and not a whole number at all. "-1" stays: only
// the upper bound is checked.
bool isTimeOutOfRange(std::string_view text, int highest);

} // namespace zeb
