#pragma once

#include "model/scenario.h"
#include "model/track_rule.h"
#include "model/track_slots.h"
#include "timetable/train_times.h"

#include <random>
#include <string>

namespace zeb::test {

// A day with its track rules.
struct DayWithRules {
    Scenario s;
    TrackRules rules;
};

// A commuter station of our own, Valmora: 10 tracks, five lines, each direction with its one or
// two platforms and an overflow track, a train each way every 30 to 40 minutes from 5:30 to
// 23:30, stands of 1 to 6 minutes; the trains to and from Borgo end and start here. 242 trains,
// all on track 1 to begin with.

inline DayWithRules commuterDay() {
    struct Direction {
        const char* from;
        const char* to;
        const char* preferred;
        const char* overflow;
        int every;
        int offset;
    };
    static constexpr Direction kDirections[] = {
        {"Aeroporto", "Città Alta", "4 5", "6", 30, 2},
        {"Città Alta", "Aeroporto", "5 4", "6", 30, 17},
        {"Nordo", "Lido", "1", "2", 40, 5},
        {"Lido", "Nordo", "2", "1", 40, 25},
        {"Pieve", "Rivalta", "7", "8", 40, 11},
        {"Rivalta", "Pieve", "8", "7", 40, 31},
        {"Borgo", "", "9 10", "3", 35, 8},
        {"", "Borgo", "10 9", "3", 35, 20},
    };
    DayWithRules day;
    Scenario& s = day.s;
    s.nome_stazione = "Valmora";
    for (int slot = 0; slot < 10; ++slot)
        s.binari_scelti[static_cast<std::size_t>(slot)] = true;
    rebuildTrackTable(s);
    const std::vector<std::string> tracks = stationTrackNames(s);
    int number = 2001;
    for (const Direction& d : kDirections) {
        TrackRule rule;
        rule.provenienza = d.from;
        rule.destinazione = d.to;
        rule.tipo = *d.from == 0 ? RulePassage::Starts
                                 : (*d.to == 0 ? RulePassage::Ends : RulePassage::Passes);
        auto split = [](const char* text) {
            std::vector<std::string> out;
            std::string word;
            for (const char* c = text;; ++c) {
                if (*c == ' ' || *c == 0) {
                    if (!word.empty())
                        out.push_back(word);
                    word.clear();
                    if (*c == 0)
                        break;
                } else {
                    word += *c;
                }
            }
            return out;
        };
        rule.preferiti = split(d.preferred);
        rule.ammessi = split(d.overflow);
        day.rules.push_back(rule);
        for (int at = 5 * 60 + 30 + d.offset; at < 23 * 60 + 30; at += d.every) {
            Treno& t = s.treni[static_cast<std::size_t>(s.totale_treni++)];
            t.numero = std::to_string(number++);
            t.categoria = "Suburbano";
            t.indice_categoria = "14";
            t.provenienza = d.from;
            t.destinazione = d.to;
            const int stand = 1 + (at / 7) % 6;
            if (*d.from != 0) {
                t.ora_arrivo = std::to_string(at / 60);
                t.min_arrivo = std::to_string(at % 60);
            }
            if (*d.to != 0) {
                const int leave = (at + (*d.from != 0 ? stand : 0)) % kMinutesPerDay;
                t.ora_partenza = std::to_string(leave / 60);
                t.min_partenza = std::to_string(leave % 60);
            }
            t.binario = tracks.front(); // every train on track 1 to start with
        }
    }
    return day;
}

// A day of about `count` trains on `tracks` tracks, none assigned: a direction for each pair of
// tracks, its two preferred, the next pair's first allowed when they are full. Each direction
// runs from 5:00 to midnight at headways of 4 minutes or more, its trains standing 1 to 4: never
// three of them on the station at once, so the rules can be met.
inline DayWithRules ruledDay(int count, int tracks, std::mt19937& random) {
    DayWithRules day;
    for (int slot = 0; slot < tracks; ++slot)
        day.s.binari_scelti[static_cast<std::size_t>(slot)] = true;
    rebuildTrackTable(day.s);
    const std::vector<std::string> names = stationTrackNames(day.s);
    const int directions = tracks / 2;
    const int headway = std::max(4, directions * 1140 / count - 2); // 2 minutes more on average
    for (int d = 0; d < directions; ++d) {
        const std::size_t first = static_cast<std::size_t>(2 * d);
        const std::string from = "Linea " + std::to_string(d / 2) + (d % 2 ? " Nord" : " Sud");
        day.rules.push_back({"",
                             from,
                             "",
                             RulePassage::Any,
                             -1,
                             -1,
                             {names[first], names[first + 1]},
                             {names[(first + 2) % names.size()]}});
        for (int at = 300 + static_cast<int>(random() % 10);
             at < 1440 && day.s.totale_treni < kMaxTrains;
             at += headway + static_cast<int>(random() % 5)) {
            Treno& t = day.s.treni[static_cast<std::size_t>(day.s.totale_treni++)];
            t.numero = std::to_string(day.s.totale_treni);
            t.categoria = "Regionale";
            t.indice_categoria = "13";
            t.provenienza = from;
            t.destinazione = "Capolinea " + std::to_string(d);
            const int leave = (at + 1 + static_cast<int>(random() % 4)) % kMinutesPerDay;
            t.ora_arrivo = std::to_string(at / 60 % 24);
            t.min_arrivo = std::to_string(at % 60);
            t.ora_partenza = std::to_string(leave / 60);
            t.min_partenza = std::to_string(leave % 60);
        }
    }
    return day;
}

} // namespace zeb::test
