#pragma once

#include <date/date.h>

#include <string>

namespace zeb {

// "mercoledì", of a day.
inline std::string weekdayName(date::sys_days day) {
    static constexpr const char* kWeekdays[] = {"lunedì",  "martedì", "mercoledì", "giovedì",
                                                "venerdì", "sabato",  "domenica"};
    return kWeekdays[date::weekday(day).iso_encoding() - 1];
}

// "mercoledì 6 marzo 2024", for a passenger.
inline std::string longDayText(date::sys_days day) {
    static constexpr const char* kMonths[] = {"gennaio",   "febbraio", "marzo",    "aprile",
                                              "maggio",    "giugno",   "luglio",   "agosto",
                                              "settembre", "ottobre",  "novembre", "dicembre"};
    const date::year_month_day ymd(day);
    return weekdayName(day) + " " + std::to_string(unsigned(ymd.day())) + " " +
           kMonths[unsigned(ymd.month()) - 1] + " " + std::to_string(int(ymd.year()));
}

// "Variazioni di mercoledì 6 marzo 2024": the day a notice is about, under its title.
inline std::string noticeDayLine(date::sys_days day) {
    return "Variazioni di " + longDayText(day);
}

} // namespace zeb
