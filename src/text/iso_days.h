#pragma once

#include "text/typed_date.h"

#include <string_view>

namespace zeb {

// Whether `text` is a day written "AAAA-MM-GG" that the calendar has ("2024-02-30" is not).
inline bool isIsoDay(std::string_view text) {
    return text.size() == 10 && text[4] == '-' && text[7] == '-' && typedDate(text, {}).has_value();
}

} // namespace zeb
