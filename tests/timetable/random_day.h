#pragma once

#include "timetable/test_trains.h"
#include "timetable/train_times.h"

#include <random>

namespace zeb::test {

// A day of `count` trains at random: passing, ending or starting here, on tracks 1 and 2, some
// buses, some cancelled, with random delay indices; the day starts at 06:00.
inline Scenario randomDay(std::mt19937& random, int count) {
    std::vector<test::Train> trains;
    for (int k = 0; k < count; ++k) {
        const int minute = static_cast<int>(random() % (24 * 60 - 10));
        const std::string in = clockText(minute), out = clockText(minute + 3);
        const int kind = static_cast<int>(random() % 3);
        test::Train t{std::to_string(1000 + k),
                      kind != 2 ? "Nordia" : "",
                      kind != 2 ? in : "",
                      kind != 1 ? "Sudia" : "",
                      kind != 1 ? (kind == 2 ? in : out) : "",
                      random() % 2 ? "1" : "2"};
        if (random() % 8 == 0) {
            t.categoria = "Autobus";
            t.binario = "";
        }
        if (random() % 6 == 0)
            t.codice_sussidiaria = "1";
        trains.push_back(t);
    }
    Scenario s = test::stationWith(trains);
    s.ora_inizio = "06";
    s.min_inizio = "00";
    for (int i = 0; i < s.totale_treni; ++i)
        s.treni[i].ritardo = std::to_string(random() % 5);
    return s;
}

} // namespace zeb::test
