#pragma once

#include "gtfs/feed.h"
#include "model/quoted_text.h"
#include "variants/day_names.h"

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

// Why `text` is no day of the command line: not in the form, or in it but no day of the calendar
// ("2024-02-30"); quoted for the message.
inline std::string isoDateFault(std::string_view text) {
    const bool inForm = text.size() == 10 && text[4] == '-' && text[7] == '-' &&
                        wholeNumber(text.substr(0, 4)) && wholeNumber(text.substr(5, 2)) &&
                        wholeNumber(text.substr(8, 2));
    return "la data " + quotedBriefly(text) +
           (inForm ? " non esiste nel calendario" : " non è nella forma AAAA-MM-GG");
}

inline std::string isoText(date::sys_days day) {
    return date::format("%Y-%m-%d", day);
}

// "mercoledì 2024-03-06".
inline std::string dayText(date::sys_days day) {
    return weekdayName(day) + " " + isoText(day);
}

// Where `day` lies outside the feed's days, what they are: "il feed vale dal 2026-04-21 al
// 2026-12-12".
inline std::optional<std::string> outsideFeed(const GtfsFeed& feed, date::sys_days day) {
    if (day >= feed.firstDay && day <= feed.lastDay)
        return std::nullopt;
    return "il feed vale dal " + isoText(feed.firstDay) + " al " + isoText(feed.lastDay);
}

} // namespace zeb
