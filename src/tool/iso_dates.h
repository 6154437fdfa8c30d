#pragma once

#include "gtfs/feed.h"

#include <date/date.h>

#include <optional>
#include <string>
#include <string_view>

namespace zeb {

// "2016-04-06" as a day, or nullopt: the dates of the tool's command line.
inline std::optional<date::sys_days> isoDate(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    return gtfsDate(std::string(text.substr(0, 4)) + std::string(text.substr(5, 2)) +
                    std::string(text.substr(8, 2)));
}

inline std::string isoText(date::sys_days day) {
    return date::format("%Y-%m-%d", day);
}

} // namespace zeb
