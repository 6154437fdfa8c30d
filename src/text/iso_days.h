#pragma once

#include <chrono>
#include <string_view>

namespace zeb {

// Whether `text` is a day written "AAAA-MM-GG" that the calendar has ("2024-02-30" is not).
inline bool isIsoDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    int parts[3] = {0, 0, 0};
    for (std::size_t at = 0, part = 0; at < text.size(); ++at) {
        if (at == 4 || at == 7) {
            ++part;
            continue;
        }
        if (text[at] < '0' || text[at] > '9')
            return false;
        parts[part] = parts[part] * 10 + (text[at] - '0');
    }
    return std::chrono::year_month_day{std::chrono::year{parts[0]},
                                       std::chrono::month{static_cast<unsigned>(parts[1])},
                                       std::chrono::day{static_cast<unsigned>(parts[2])}}
        .ok();
}

} // namespace zeb
