#pragma once

#include "model/scenario.h"
#include "model/track_slots.h"

#include <string>
#include <vector>

namespace zeb::test {

// A train as the editor stores it: "" for an end it lacks, times as "H:M".
struct Train {
    std::string numero{};
    std::string provenienza{};
    std::string arrivo{};
    std::string destinazione{};
    std::string partenza{};
    std::string binario = "1";
    std::string categoria = "Regionale";
    std::string fermate = "Pieve,.";
    std::string codice_sussidiaria = "0"; // "1": cancelled
};

// "H:M" into hour and minute; "" into two empty texts.
inline void splitTime(const std::string& time, std::string& ora, std::string& minuti) {
    const auto colon = time.find(':');
    ora = time.substr(0, colon);
    minuti = colon == std::string::npos ? "" : time.substr(colon + 1);
}

inline Scenario stationWith(const std::vector<Train>& trains) {
    Scenario s;
    s.binari_scelti[0] = s.binari_scelti[1] = true; // tracks 1 and 2
    rebuildTrackTable(s);
    for (const Train& in : trains) {
        Treno& t = s.treni[s.totale_treni++];
        t.numero = in.numero;
        t.categoria = in.categoria;
        t.provenienza = in.provenienza;
        t.destinazione = in.destinazione;
        splitTime(in.arrivo, t.ora_arrivo, t.min_arrivo);
        splitTime(in.partenza, t.ora_partenza, t.min_partenza);
        t.binario = in.binario;
        t.codice_sussidiaria = in.codice_sussidiaria;
        t.fermate =
            in.destinazione.empty() ? "Il treno termina nella stazione simulata,." : in.fermate;
    }
    return s;
}

} // namespace zeb::test
